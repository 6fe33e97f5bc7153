#pragma once

#include "preview/pagerecording.h"

namespace nobrisa {

struct RowSource;
struct SlipSource;

// The facsimile of a slip: the blank form in blue with the slip's contents where the printer
// puts them, recorded in the printer's device pixels with its font metrics. The picture spans
// from the printable area's top-left corner to the slip's right and bottom edges: mmx(1800) by
// mmy(1140), so a larger whole-print adjustment widens it.
struct Facsimile {
    PageRecording page;
    int width = 0;  // device pixels
    int height = 0; // device pixels
    int pixelsPerInchX = 0;
    int pixelsPerInchY = 0;
};

// Records the form and the slip (DrawSlip), or with `row` the form and that table row
// (DrawSlipRow), on the device of `source`. Like a print, the slip renderer writes back the
// fitted name and address sizes.
Facsimile recordFacsimile(const SlipSource& source, const RowSource* row = nullptr);

} // namespace nobrisa
