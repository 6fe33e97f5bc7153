#include "preview/metafileexport.h"

#include "preview/emfwriter.h"
#include "preview/wmfwriter.h"

namespace nobrisa {

namespace {

// Plays a recording into a metafile writer. Each pen, brush and font is created, selected in
// place of the one before and the old one deleted, so the object table holds three objects
// however often a page changes its font.
template <typename Writer> class MetafilePlayer final {
public:
    explicit MetafilePlayer(Writer& writer)
        : mWriter(writer)
    {
    }

    void play(const PageRecording& page)
    {
        mWriter.setTextColor(Qt::black); // the canvases draw every text in black
        mWriter.setTextAlign(Writer::TextAlign::TopLeft);
        for (const DrawCall& c : page.calls)
            play(c);
    }

private:
    void play(const DrawCall& c)
    {
        switch (c.kind) {
        case DrawCall::Kind::Font:
            // The face as recorded: a Windows player knows "ＭＳ ゴシック" or "OCRB" by that
            // name, others substitute. SHIFTJIS_CHARSET makes players read the CP932 text as
            // Japanese.
            replace(mFont,
                    mWriter.createFont({c.font.height, 400, false, SHIFTJIS_CHARSET, c.font.face}));
            break;
        case DrawCall::Kind::BkTransparent:
            mWriter.setBkModeTransparent();
            break;
        case DrawCall::Kind::Pen:
            replace(mPen,
                    mWriter.createPen(c.penStyle == Canvas::PenStyle::Dot ? Writer::PenStyle::Dot
                                                                          : Writer::PenStyle::Solid,
                                      c.width, c.color));
            break;
        case DrawCall::Kind::Brush:
            replace(mBrush, mWriter.createBrush(c.color, c.clearBrush));
            break;
        case DrawCall::Kind::Rectangle:
            mWriter.rectangle(c.rect.left, c.rect.top, c.rect.right, c.rect.bottom);
            break;
        case DrawCall::Kind::MoveTo:
            mWriter.moveTo(c.x, c.y);
            break;
        case DrawCall::Kind::LineTo:
            mWriter.lineTo(c.x, c.y);
            break;
        case DrawCall::Kind::TextOut:
            mWriter.extTextOut(c.x, c.y, c.text);
            break;
        case DrawCall::Kind::TextRun:
            mWriter.extTextOut(c.x, c.y, c.text, {}, c.rect);
            break;
        case DrawCall::Kind::Ellipse:
        case DrawCall::Kind::RoundRect:
            break;
        }
    }

    void replace(int& slot, int created)
    {
        mWriter.selectObject(created);
        if (slot >= 0)
            mWriter.deleteObject(slot);
        slot = created;
    }

    Writer& mWriter;
    int mPen = -1;
    int mBrush = -1;
    int mFont = -1;
};

} // namespace

QByteArray wmfFromRecording(const PageRecording& page, const PictureSize& size)
{
    WmfWriter writer(size.width, size.height, size.pixelsPerInch);
    writer.setWindowOrg(0, 0);
    writer.setWindowExt(size.width, size.height);
    MetafilePlayer<WmfWriter>(writer).play(page);
    return writer.bytes();
}

QByteArray emfFromRecording(const PageRecording& page, const PictureSize& size,
                            const QString& creator, const QString& description)
{
    EmfWriter writer(size.width, size.height, size.pixelsPerInch, creator, description);
    MetafilePlayer<EmfWriter>(writer).play(page);
    return writer.bytes();
}

bool saveRecording(const PageRecording& page, const PictureSize& size, const QString& path,
                   QString* error)
{
    const bool wmf = path.endsWith(QStringLiteral(".wmf"), Qt::CaseInsensitive);
    return saveMetafile(path, wmf ? wmfFromRecording(page, size) : emfFromRecording(page, size),
                        error);
}

} // namespace nobrisa
