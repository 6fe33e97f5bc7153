#include "ui/toolbars.h"

#include <QAction>
#include <QIcon>
#include <QToolBar>

namespace nobrisa {

namespace {

constexpr int kToolIconSize = 20;

void setToolHint(QAction* action, const QString& hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    action->setToolTip(bar < 0 ? hint : hint.left(bar));
    action->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
}

} // namespace

void setUpToolBar(QToolBar* tools)
{
    tools->setMovable(false);
    tools->setFloatable(false);
    tools->setIconSize({kToolIconSize, kToolIconSize});
    tools->toggleViewAction()->setEnabled(false);
    tools->setContextMenuPolicy(Qt::PreventContextMenu);
}

QAction* toolButton(QToolBar* tools, const char* name, const char* themeIcon, const char* resource,
                    const QString& hint)
{
    QIcon icon = QIcon::fromTheme(QLatin1String(themeIcon));
    if (icon.isNull())
        icon = QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(resource)));
    QAction* action = tools->addAction(icon, hint.section(QLatin1Char('|'), 0, 0));
    action->setObjectName(QLatin1String(name));
    setToolHint(action, hint);
    return action;
}

} // namespace nobrisa
