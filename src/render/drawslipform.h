#pragma once

namespace nobrisa {

class Canvas;
class Coords;

// The blank slip form, for the facsimile: 23 frames and 40 cell dividers in blue outlines, at
// 0.1 mm positions from the slip's top-left corner converted with the adjustment in force. The
// pen (blue, one pixel), the clear brush and the transparent text background stay on the canvas
// for the renderer that draws the slip's contents next. No text is drawn.
void DrawSlipForm(Canvas& canvas, const Coords& coords);

} // namespace nobrisa
