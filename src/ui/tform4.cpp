#include "ui/tform4.h"

#include "model/tsliprecord.h"
#include "text/lines.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace nobrisa {

TForm4::TForm4(const QString& appIniPath, Prompts& prompts, QWidget& slipWindow, QWidget* parent)
    : RegisteredDialog(RegisteredList::Kind::Subscribers, appIniPath, prompts, slipWindow, parent)
{
    const QString digits = QStringLiteral("半角数字で入力して下さい。");
    QGridLayout* grid = fieldGrid();
    auto* accountRow = new QHBoxLayout;
    accountRow->addWidget(lineField("Ekouza1", kMaxEkouza1, digits));
    accountRow->addWidget(new QLabel(QStringLiteral("－"), this));
    accountRow->addWidget(lineField("Ekouza2", kMaxEkouza2, digits));
    accountRow->addWidget(new QLabel(QStringLiteral("－"), this));
    accountRow->addWidget(lineField("Ekouza3", kMaxEkouza3, digits));
    accountRow->addStretch(1);
    grid->addWidget(new QLabel(QStringLiteral("口座番号"), this), 0, 0);
    grid->addLayout(accountRow, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("加入者名"), this), 1, 0, Qt::AlignTop);
    grid->addWidget(linesField("Ekanyu", QStringLiteral("加入者名を入力して下さい。"), 4), 1, 1);
    finishSetUp();
}

QString TForm4::proposedName() const
{
    const auto* name = findChild<QPlainTextEdit*>(QStringLiteral("Ekanyu"));
    return lineAt(name->toPlainText(), 0);
}

} // namespace nobrisa
