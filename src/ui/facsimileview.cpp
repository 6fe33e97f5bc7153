#include "ui/facsimileview.h"

#include "model/coords.h"
#include "platform/qtcanvas.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QSplitter>

#include <algorithm>
#include <cstdint>

namespace nobrisa {

namespace {

constexpr int kAreaBorder = 2;

// Watches a splitter handle for the mouse letting go after a press.
class MoveEndWatcher final : public QObject {
public:
    MoveEndWatcher(QObject* handle, std::function<void()> moved)
        : QObject(handle)
        , mMoved(std::move(moved))
    {
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonPress &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            mPressed = true;
        else if (event->type() == QEvent::MouseButtonRelease && mPressed &&
                 static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            mPressed = false;
            mMoved();
        }
        return false;
    }

private:
    std::function<void()> mMoved;
    bool mPressed = false;
};

} // namespace

FacsimileView::FacsimileView(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Image1"));
    setStatusTip(QStringLiteral("ダブルクリックで表示します。"));
}

void FacsimileView::setFacsimile(Facsimile facsimile)
{
    mFacsimile = std::move(facsimile);
    update();
}

void FacsimileView::clear()
{
    mFacsimile.reset();
    update();
}

void FacsimileView::paintEvent(QPaintEvent*)
{
    if (!mFacsimile || mFacsimile->width <= 0 || mFacsimile->height <= 0)
        return;
    const qreal scaleX = static_cast<qreal>(width()) / mFacsimile->width;
    const qreal scaleY = static_cast<qreal>(height()) / mFacsimile->height;
    // A pen no wider than a screen pixel is drawn one screen pixel wide (width 0, as GDI draws
    // it): Qt fades a line thinner than a pixel by its width, and a form line one printer pixel
    // wide, a tenth of a screen pixel here, would come out as a faint trace instead of blue.
    PageRecording page = mFacsimile->page;
    const qreal scale = std::max(scaleX, scaleY);
    for (DrawCall& call : page.calls) {
        if (call.kind == DrawCall::Kind::Pen && call.width * scale <= 1)
            call.width = 0;
    }
    QPainter painter(this);
    painter.scale(scaleX, scaleY);
    QtCanvas canvas(&painter);
    page.replay(canvas);
    canvas.flush();
}

void FacsimileView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
}

FacsimilePanel::FacsimilePanel(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Panel1"));
    setMinimumWidth(120);
    mImagePanel = new QWidget(this);
    mImagePanel->setObjectName(QStringLiteral("PanelImage"));
    mImagePanel->setAutoFillBackground(true);
    QPalette white = mImagePanel->palette();
    white.setColor(QPalette::Window, Qt::white);
    mImagePanel->setPalette(white);
    mView = new FacsimileView(mImagePanel);
}

void FacsimilePanel::fitImagePanel()
{
    const int panelWidth = std::max(0, width() - 2 * kAreaBorder);
    std::int64_t height = std::int64_t{width()} * kSlipHeight / kSlipWidth;
    if (const Facsimile* f = mView->facsimile(); f != nullptr && f->width > 0)
        height = std::int64_t{panelWidth} * f->height / f->width;
    // A picture far taller than wide (a large downward adjustment) stays within the widget range.
    const int h = static_cast<int>(std::clamp<std::int64_t>(height, 0, QWIDGETSIZE_MAX));
    mImagePanel->setGeometry(kAreaBorder, kAreaBorder, panelWidth, h);
    mView->setGeometry(0, 0, panelWidth, h);
}

void FacsimilePanel::resizeEvent(QResizeEvent*)
{
    fitImagePanel();
}

void onSplitterMoveEnd(QSplitter* splitter, std::function<void()> moved)
{
    QWidget* handle = splitter->handle(1);
    handle->installEventFilter(new MoveEndWatcher(handle, std::move(moved)));
}

} // namespace nobrisa
