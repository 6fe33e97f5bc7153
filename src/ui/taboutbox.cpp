#include "ui/taboutbox.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace nobrisa {
namespace {

constexpr int kIconSize = 48;

} // namespace

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("Nobrisa"));

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);

    // The program's icon as the application carries it, else the one drawn for it.
    QIcon icon = QApplication::windowIcon();
    if (icon.isNull() || icon.availableSizes().isEmpty())
        icon = QIcon(QStringLiteral(":/icons/nobrisa.svg"));
    auto* programIcon = new QLabel(panel);
    programIcon->setObjectName(QStringLiteral("ProgramIcon"));
    programIcon->setPixmap(icon.pixmap(kIconSize, kIconSize));
    programIcon->setFixedSize(kIconSize, kIconSize);

    QFont titleFont = font();
    titleFont.setPointSize(12);
    titleFont.setBold(true);
    auto* product = new QLabel(QStringLiteral("Nobrisa"), panel);
    product->setObjectName(QStringLiteral("ProductName"));
    product->setFont(titleFont);
    mVersion = new QLabel(panel);
    mVersion->setObjectName(QStringLiteral("Version"));
    mVersion->setFont(titleFont);
    auto* comments = new QLabel(QStringLiteral("郵便振替払込取扱票印刷プログラム"), panel);
    comments->setObjectName(QStringLiteral("Comments"));

    auto* panelLayout = new QGridLayout(panel);
    panelLayout->setContentsMargins(12, 12, 16, 12);
    panelLayout->setHorizontalSpacing(14);
    panelLayout->addWidget(programIcon, 0, 0, 2, 1, Qt::AlignTop);
    panelLayout->addWidget(product, 0, 1);
    panelLayout->addWidget(mVersion, 1, 1);
    panelLayout->addWidget(comments, 2, 1);
    panelLayout->setRowMinimumHeight(2, comments->sizeHint().height() + 12);
    panelLayout->setColumnStretch(1, 1);

    auto* close = new QPushButton(QStringLiteral("閉じる(&C)"), this);
    close->setObjectName(QStringLiteral("OKButton"));
    // The default button: Enter closes the dialog wherever the focus is.
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(8);
    layout->addWidget(panel);
    layout->addWidget(close, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TAboutBox::setVersion(const QString& version)
{
    mVersion->setText(version);
}

void TAboutBox::showEvent(QShowEvent* event)
{
    // Centred on the screen, not on the main window.
    if (const QScreen* screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    QDialog::showEvent(event);
}

} // namespace nobrisa
