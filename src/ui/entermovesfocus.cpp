#include "ui/entermovesfocus.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace nobrisa {

bool moveFocusOnEnter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (!enter || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QCoreApplication::sendEvent(watched, &tab);
    return true;
}

bool EnterMovesFocus::eventFilter(QObject* watched, QEvent* event)
{
    return moveFocusOnEnter(watched, event) || QObject::eventFilter(watched, event);
}

} // namespace nobrisa
