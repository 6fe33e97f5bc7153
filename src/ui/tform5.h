#pragma once

#include "render/drawslip.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QLabel;
class QPushButton;
class QScrollArea;

namespace nobrisa {

class Canvas;
class PrinterDevice;
class Prompts;
class TPrevX;

// What both paper preview windows share: the whole sheet of the current printer's paper with
// one slip on it, drawn by the very renderer a print uses (so the window shows what prints and
// changes in the record only what a print changes), a zoom box, a printer button carrying the
// printer's name, and the paper's name and measured size in the status bar.
class PaperPreview : public QDialog {
    Q_OBJECT
public:
    // printerSetup is the main window's printer setup command, run by the printer button.
    PaperPreview(PrinterDevice& printer, Prompts& prompts, std::function<void()> printerSetup,
                 QWidget* parent);

    // Draws the page and shows the window modally. When the page cannot be drawn the user is
    // told why and the window is not shown: false.
    bool run();

    // 表示: records the page afresh; false (after telling the user) when the printer kept it
    // from being drawn.
    bool Button1Click();
    // The zoom box's text: 25 to 200 taken, another number ignored, a text that is no number 50.
    void ComboBox1Change(const QString& text);
    // Printer setup, then the page, the button and the status texts for the printer chosen.
    void Button2Click();

    TPrevX& page() const noexcept { return *mPrevX; }

protected:
    // Draws the slip on the page canvas, in the printer's pixels.
    virtual void drawPage(Canvas& canvas) = 0;

private:
    void showPrinter();

    PrinterDevice& mPrinter;
    Prompts& mPrompts;
    std::function<void()> mPrinterSetup;
    TPrevX* mPrevX = nullptr;
    QComboBox* mZoom = nullptr;
    QPushButton* mPrinterButton = nullptr;
    QScrollArea* mScrollBox = nullptr;
    QLabel* mPaperName = nullptr;
    QLabel* mPaperSize = nullptr;
};

// The paper preview of the main window's slip.
class TForm5 final : public PaperPreview {
    Q_OBJECT
public:
    TForm5(const SlipSource& source, PrinterDevice& printer, Prompts& prompts,
           std::function<void()> printerSetup, QWidget* parent = nullptr);

protected:
    void drawPage(Canvas& canvas) override;

private:
    SlipSource mSource;
};

} // namespace nobrisa
