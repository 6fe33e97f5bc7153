#include "ui/tform6.h"

#include "aids/continuoustable.h"
#include "preview/paperpreviewcaption.h"

namespace nobrisa {

TForm6::TForm6(const SlipSource& source, const ContinuousTable& rows,
               std::function<int()> currentRow, PrinterDevice& printer, Prompts& prompts,
               std::function<void()> printerSetup, QWidget* parent)
    : PaperPreview(printer, prompts, std::move(printerSetup), parent)
    , mSource(source)
    , mRows(rows)
    , mCurrentRow(std::move(currentRow))
{
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(paperPreviewCaption(PaperPreviewKind::Row));
    resize(551, 422);
}

void TForm6::drawPage(Canvas& canvas)
{
    const int row = mCurrentRow();
    setWindowTitle(paperPreviewRowCaption(mRows.table, mRows.mapping, row));
    // The continuous print's own renderer, which writes nothing back into the record.
    DrawSlipRow(canvas, mSource, {mRows.table, mRows.mapping, row});
}

} // namespace nobrisa
