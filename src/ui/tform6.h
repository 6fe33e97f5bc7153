#pragma once

#include "ui/tform5.h"

namespace nobrisa {

struct ContinuousTable;

// The paper preview of a row of the continuous-print table: the slip the continuous print
// draws for the table's current row, read whenever the page is drawn. The title says which row
// it is.
class TForm6 final : public PaperPreview {
    Q_OBJECT
public:
    TForm6(const SlipSource& source, const ContinuousTable& rows, std::function<int()> currentRow,
           PrinterDevice& printer, Prompts& prompts, std::function<void()> printerSetup,
           QWidget* parent = nullptr);

protected:
    void drawPage(Canvas& canvas) override;

private:
    SlipSource mSource;
    const ContinuousTable& mRows;
    std::function<int()> mCurrentRow;
};

} // namespace nobrisa
