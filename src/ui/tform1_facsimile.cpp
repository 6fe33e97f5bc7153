// The facsimile left of the pages: the slip preview and the row preview of the continuous table,
// both drawn over the blank form as the printer would print them.

#include "ui/tform1.h"

#include "model/coords.h"
#include "platform/facsimile.h"
#include "preview/metafileexport.h"
#include "render/printerdevice.h"
#include "text/lines.h"
#include "ui/facsimileview.h"
#include "ui/prompts.h"
#include "ui/slipbinding.h"
#include "ui/stringgrid.h"
#include "ui/tform2.h"

#include <exception>

namespace nobrisa {

void TForm1::MpreviewClick()
{
    showFacsimile(nullptr);
}

void TForm1::ToolButton28Click()
{
    // What is typed into a cell shows too.
    mGrid->commitEditing();
    const QModelIndex current = mGrid->currentIndex();
    if (!current.isValid()) {
        mPrompts.error(this,
                       QStringLiteral("プレビューする行がありません。表の行を選んでください。"));
        return;
    }
    // Model rows are the table's data rows, from 1.
    const RowSource row{mContinuous.table, mContinuous.mapping, current.row() + 1};
    if (!showFacsimile(&row))
        return;
    const int nameColumn = mContinuous.mapping.column(MapField::Name);
    const QString name =
        nameColumn > 0 ? lineAt(mContinuous.table.trimmedCell(nameColumn, row.row), 0) : QString();
    const QString shown =
        name.isEmpty() ? QStringLiteral("%1 行目のプレビューです。").arg(row.row)
                       : QStringLiteral("%1 行目（%2）のプレビューです。").arg(row.row).arg(name);
    showResult(shown);
}

bool TForm1::showFacsimile(const RowSource* row)
{
    // A printer that has gone away answers 0 about its page: there are no printer pixels to
    // draw the picture in.
    for (const DeviceCap cap :
         {DeviceCap::LogPixelsX, DeviceCap::LogPixelsY, DeviceCap::PhysicalWidth,
          DeviceCap::PhysicalHeight, DeviceCap::HorzRes, DeviceCap::VertRes}) {
        if (mPrinter.deviceCaps(cap) <= 0) {
            mPrompts.error(this, QStringLiteral("プリンタ「%1」から用紙の情報を取得できないため、"
                                                "プレビューを表示できません。\n"
                                                "プリンタ設定でプリンタを選び直してください。")
                                     .arg(mPrinter.printerName()));
            return false;
        }
    }
    // The picture reaches from the printable area's corner to the slip's right and bottom
    // edges; an adjustment that moves those edges above or left of the corner leaves nothing.
    const Coords coords(mPrinter, mState.slip.ox(), mState.slip.oy());
    if (coords.mmx(kSlipWidth) <= 0 || coords.mmy(kSlipHeight) <= 0) {
        mPrompts.error(this, QStringLiteral("全体印刷位置微調整で払込票が印刷できる範囲の外に"
                                            "出ているため、プレビューを表示できません。"));
        return false;
    }

    const SlipSource source{mState.slip, mForm2->positions(), mPrinter, mCells};
    Facsimile picture;
    QString failure;
    try {
        picture = recordFacsimile(source, row);
    } catch (const std::exception& e) {
        failure = QString::fromLocal8Bit(e.what());
    }
    // Automatic sizing wrote the fitted sizes back into the record, as a print does.
    mBinding->showRecord();
    if (!failure.isNull()) {
        mPrompts.error(this, QStringLiteral("プレビューを作成できませんでした。%1").arg(failure));
        return false;
    }
    // The picture also goes to the metafile named after the executable, for other programs; a
    // file that cannot be written keeps the picture shown before.
    QString error;
    if (!mContext.facsimilePath.isEmpty() &&
        !saveRecording(picture.page,
                       PictureSize{picture.width, picture.height, picture.pixelsPerInchY},
                       mContext.facsimilePath, &error)) {
        mPrompts.error(this, error);
        return false;
    }
    mFacsimile->setFacsimile(std::move(picture));
    mFacsimileArea->fitImagePanel();
    return true;
}

} // namespace nobrisa
