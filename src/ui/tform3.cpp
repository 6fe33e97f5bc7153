#include "ui/tform3.h"

#include "model/tsliprecord.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace nobrisa {

TForm3::TForm3(const QString& appIniPath, Prompts& prompts, QWidget& slipWindow, QWidget* parent)
    : RegisteredDialog(RegisteredList::Kind::Payers, appIniPath, prompts, slipWindow, parent)
{
    const QString halfWidth = QStringLiteral("半角");
    QGridLayout* grid = fieldGrid();
    // Created in reading order: that is the tab order Enter follows.
    QLineEdit* zip = lineField("Ezip", kMaxEzip, halfWidth);
    auto* zipRow = new QHBoxLayout;
    zipRow->addWidget(zip);
    zipRow->addWidget(new QLabel(QStringLiteral("例) 123-4567"), this));
    zipRow->addStretch(1);
    grid->addWidget(new QLabel(QStringLiteral("郵便番号"), this), 0, 0);
    grid->addLayout(zipRow, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("住所・氏名"), this), 1, 0, Qt::AlignTop);
    grid->addWidget(linesField("Maddres", QString(), 5), 1, 1);
    auto* telRow = new QHBoxLayout;
    telRow->addWidget(lineField("Etele1", kMaxEtele1, halfWidth));
    telRow->addWidget(new QLabel(QStringLiteral("－"), this));
    telRow->addWidget(lineField("Etele2", kMaxEtele2, halfWidth));
    telRow->addWidget(new QLabel(QStringLiteral("－"), this));
    telRow->addWidget(lineField("Etele3", kMaxEtele3, halfWidth));
    telRow->addStretch(1);
    grid->addWidget(new QLabel(QStringLiteral("電話番号"), this), 2, 0);
    grid->addLayout(telRow, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("氏名－右"), this), 3, 0, Qt::AlignTop);
    grid->addWidget(linesField("MaddresR", QString(), 3), 3, 1);
    finishSetUp();
}

} // namespace nobrisa
