#pragma once

#include <QObject>

class QEvent;

namespace nobrisa {

// Enter (also on the keypad, without other modifiers) pressed in `watched` moves the focus on
// as Tab would; gives true when it did, so that the key goes no further. Used in the one-line
// fields, lists and number boxes of the windows; multi-line fields keep Enter as a line break.
bool moveFocusOnEnter(QObject* watched, QEvent* event);

// The same as an event filter, for dialogs that have no filter of their own to call it from.
class EnterMovesFocus final : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace nobrisa
