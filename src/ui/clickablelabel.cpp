#include "ui/clickablelabel.h"

#include <QMouseEvent>

namespace nobrisa {

ClickableLabel::ClickableLabel(const QString& text, QWidget* parent)
    : QLabel(text, parent)
{
    setCursor(Qt::PointingHandCursor);
}

void ClickableLabel::mousePressEvent(QMouseEvent* event)
{
    mPressed = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event)
{
    // As with a button, releasing outside the label takes the click back.
    const bool click = mPressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    mPressed = false;
    QLabel::mouseReleaseEvent(event);
    if (click)
        emit clicked();
}

} // namespace nobrisa
