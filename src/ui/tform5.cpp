#include "ui/tform5.h"

#include "preview/paperpreviewcaption.h"
#include "preview/papersizetext.h"
#include "render/printerdevice.h"
#include "ui/prompts.h"
#include "ui/tprevx.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

namespace nobrisa {

namespace {

constexpr int kPrinterButtonWidth = 247;

} // namespace

PaperPreview::PaperPreview(PrinterDevice& printer, Prompts& prompts,
                           std::function<void()> printerSetup, QWidget* parent)
    : QDialog(parent)
    , mPrinter(printer)
    , mPrompts(prompts)
    , mPrinterSetup(std::move(printerSetup))
{
    auto* tools = new QToolBar(this);
    tools->setObjectName(QStringLiteral("ToolBar1"));
    tools->setMovable(false);
    tools->setFloatable(false);

    auto* redraw = new QPushButton(QStringLiteral("表示(&V)"), tools);
    redraw->setObjectName(QStringLiteral("Button1"));
    connect(redraw, &QPushButton::clicked, this, [this] { Button1Click(); });
    tools->addWidget(redraw);

    mZoom = new QComboBox(tools);
    mZoom->setObjectName(QStringLiteral("ComboBox1"));
    mZoom->setEditable(true);
    mZoom->addItems(paperPreviewZoomItems());
    // Enter applies the text as typing does; it must not add the text to the list.
    mZoom->setInsertPolicy(QComboBox::NoInsert);
    tools->addWidget(mZoom);

    auto* close = new QPushButton(QStringLiteral("閉じる(&C)"), tools);
    close->setObjectName(QStringLiteral("BitBtn1"));
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    tools->addWidget(close);

    mPrinterButton = new QPushButton(QStringLiteral("プリンタ設定(&S)"), tools);
    mPrinterButton->setObjectName(QStringLiteral("Button2"));
    mPrinterButton->setFixedWidth(kPrinterButtonWidth);
    connect(mPrinterButton, &QPushButton::clicked, this, [this] { Button2Click(); });
    tools->addWidget(mPrinterButton);

    mPrevX = new TPrevX(printer);
    // The sheet stands in the middle while it is smaller than the window and scrolls when larger.
    mScrollBox = new QScrollArea(this);
    mScrollBox->setObjectName(QStringLiteral("ScrollBox1"));
    mScrollBox->setAlignment(Qt::AlignCenter);
    mScrollBox->setWidget(mPrevX);

    auto* status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setSizeGripEnabled(false);
    mPaperName = new QLabel(status);
    mPaperName->setObjectName(QStringLiteral("Panel0"));
    mPaperSize = new QLabel(status);
    mPaperSize->setObjectName(QStringLiteral("Panel1"));
    status->addWidget(mPaperName);
    status->addWidget(mPaperSize, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tools);
    layout->addWidget(mScrollBox, 1);
    layout->addWidget(status);

    mZoom->setCurrentText(QString::number(kPaperPreviewZoom));
    mPrevX->setZoomScale(kPaperPreviewZoom);
    connect(mZoom, &QComboBox::currentTextChanged, this, &PaperPreview::ComboBox1Change);
    showPrinter();
}

bool PaperPreview::run()
{
    if (!Button1Click())
        return false;
    exec();
    return true;
}

bool PaperPreview::Button1Click()
{
    const PrevError error = mPrevX->BeginDoc();
    if (error != PrevError::None) {
        mPrompts.error(this, prevErrorMessage(error));
        return false;
    }
    drawPage(*mPrevX->canvas());
    mPrevX->EndDoc();
    return true;
}

void PaperPreview::ComboBox1Change(const QString& text)
{
    mPrevX->setZoomScale(paperPreviewZoomFromText(text));
}

void PaperPreview::Button2Click()
{
    if (mPrinterSetup)
        mPrinterSetup();
    Button1Click();
    showPrinter();
}

void PaperPreview::showPrinter()
{
    QString name = mPrinter.printerName();
    // An "&" in a queue's name is a character, not an access key.
    mPrinterButton->setText(name.replace(QLatin1Char('&'), QStringLiteral("&&")));
    const int code = mPrinter.paperCode();
    const QString paper = PaperSizeText(PaperText::Name, mPrinter, code, logicalDpiY());
    mPaperName->setText(paper);
    mPaperName->setFixedWidth(
        mPaperName->fontMetrics().horizontalAdvance(QLatin1Char(' ') + paper + QLatin1Char(' ')));
    mPaperSize->setText(PaperSizeText(PaperText::MeasuredSize, mPrinter, code, logicalDpiY()));
}

TForm5::TForm5(const SlipSource& source, PrinterDevice& printer, Prompts& prompts,
               std::function<void()> printerSetup, QWidget* parent)
    : PaperPreview(printer, prompts, std::move(printerSetup), parent)
    , mSource(source)
{
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(paperPreviewCaption(PaperPreviewKind::Slip));
    resize(542, 412);
}

void TForm5::drawPage(Canvas& canvas)
{
    // The print's own renderer: the preview shows what prints, and writes back into the record
    // only the fitted sizes a print writes back.
    DrawSlip(canvas, mSource);
}

} // namespace nobrisa
