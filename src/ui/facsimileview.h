#pragma once

#include "platform/facsimile.h"

#include <QWidget>

#include <functional>
#include <optional>

class QSplitter;

namespace nobrisa {

// Image1: the last facsimile of the slip, replayed from its recording and stretched from the
// picture's device pixels to the widget's size. The widget paints nothing of its own, so the
// white panel behind it shows through the picture's empty parts. A double click asks for a new
// picture.
class FacsimileView final : public QWidget {
    Q_OBJECT
public:
    explicit FacsimileView(QWidget* parent = nullptr);

    // Shows `facsimile` in place of the previous picture.
    void setFacsimile(Facsimile facsimile);
    // Back to no picture.
    void clear();
    // The picture shown; nullptr when there is none.
    const Facsimile* facsimile() const noexcept { return mFacsimile ? &*mFacsimile : nullptr; }

signals:
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    std::optional<Facsimile> mFacsimile;
};

// Panel1: the area left of the pages, with a 2-pixel border. Along its top lies PanelImage, a
// white panel holding Image1, whose height keeps the proportions of the picture shown: its width
// ÷ the picture's width × the picture's height, truncated; without a picture the slip's 1140 :
// 1800 (19/30) of the area's width. The rule holds whenever the area changes its width, so the
// picture is never distorted.
class FacsimilePanel final : public QWidget {
public:
    explicit FacsimilePanel(QWidget* parent = nullptr);

    FacsimileView* view() const noexcept { return mView; }
    QWidget* imagePanel() const noexcept { return mImagePanel; }

    // Sets PanelImage's height for the picture now shown.
    void fitImagePanel();

    QSize sizeHint() const override { return {480, 320}; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* mImagePanel;
    FacsimileView* mView;
};

// Calls `moved` whenever the mouse lets go of the handle between the splitter's first two
// widgets: the end of a move of the bar.
void onSplitterMoveEnd(QSplitter* splitter, std::function<void()> moved);

} // namespace nobrisa
