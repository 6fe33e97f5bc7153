#pragma once

#include <QString>

class QAction;
class QToolBar;

namespace nobrisa {

// The toolbars of the main window and of its pages: fixed in place, 20-pixel pictures, no menu
// to hide them.
void setUpToolBar(QToolBar* tools);

// A toolbar button named `name` showing the desktop's own picture `themeIcon` where it has one,
// else the program's picture `resource`. A hint "short|long" puts its short part in the tooltip
// and its long part in the status bar; a hint without "|" is both.
QAction* toolButton(QToolBar* tools, const char* name, const char* themeIcon, const char* resource,
                    const QString& hint);

} // namespace nobrisa
