#pragma once

#include "preview/pagerecording.h"
#include "preview/tprevxstate.h"
#include "render/printjob.h"

#include <QWidget>

#include <memory>
#include <vector>

namespace nobrisa {

class MetricsCanvas;
class PageRecorder;
class PrinterDevice;

// The page preview: records pages drawn in the current printer's pixels, shows one of them on a
// drawing of the whole sheet at a chosen zoom, and prints them. The arithmetic is TPrevXState's;
// this widget keeps the recorded pages and paints.
//
// A caller opens a document with BeginDoc, draws on canvas() exactly as it would draw on the
// printer's page (origin at the printable area's top-left corner), starts further pages with
// NewPage and closes the document with EndDoc, which shows the page. Texts are laid out at
// recording time with the printer's font metrics, so the page shown and the page printed carry
// the same runs at the same places.
//
// Nothing is thrown: an operation the printer keeps from happening returns the error and
// changes nothing; the caller shows prevErrorMessage() through its prompts.
class TPrevX final : public QWidget {
    Q_OBJECT
public:
    explicit TPrevX(PrinterDevice& printer, QWidget* parent = nullptr);
    ~TPrevX() override;

    PrevError BeginDoc();
    PrevError NewPage();
    void EndDoc();
    // The page being recorded, between BeginDoc and EndDoc; nullptr otherwise.
    Canvas* canvas() noexcept;

    // Sends pages FromPage..ToPage to the current printer in one job titled Title. A FromPage
    // that was never recorded starts no job: the outcome says why. With the PDF output the
    // caller chooses the file first.
    PrintOutcome Print();

    // Writes the page shown to `fileName`: a placeable Windows metafile when the name ends in
    // ".wmf" (in any case), an enhanced metafile otherwise. With no page recorded nothing is
    // written and the result is true; false with a Japanese message in `error` when the file
    // cannot be written.
    bool SaveToFile(const QString& fileName, QString* error) const;

    // The setters of the zoom and the shown page repaint when they take the value.
    bool setZoomScale(int zoom);
    bool setPageNumber(int page);
    bool setFromPage(int page) noexcept { return mState.setFromPage(page); }
    bool setToPage(int page) noexcept { return mState.setToPage(page); }
    void setTitle(const QString& title) { mState.setTitle(title); }

    // The unit operations, margins and unit through the state; its drawing operations take
    // canvas().
    TPrevXState& state() noexcept { return mState; }
    const TPrevXState& state() const noexcept { return mState; }

    // The recorded pages, page 1 first, in printer pixels.
    struct Page {
        PageRecording recording;
        int width = 0;         // the printable width when it was recorded
        int height = 0;        // the printable height
        int pixelsPerInch = 0; // the printer's vertical resolution when it was recorded
    };
    const std::vector<Page>& pages() const noexcept { return mPages; }

    // Selects a paper (Windows DMPAPER code) and orientation on the current printer and
    // repaints. Only the system's printers have paper settings to change: another device, or a
    // code for which no size is known, keeps its paper and takes the orientation.
    PrevError SetPrinterMode(int paperCode, Orientation orientation);

    // Reads the printer afresh (after a printer setup) and takes the size of its zoomed sheet.
    PrevError refresh();

    // Measures the recorded texts on `metrics` instead of the printer's fonts: for a printer
    // whose canvas measures otherwise (a test's), so that recorded and printed pages agree.
    // Not owned; null goes back to the printer's fonts.
    void setTextMetrics(Canvas* metrics) noexcept { mTextMetrics = metrics; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PrevError startPage();
    void takeControlSize();
    int screenPpi() const;

    PrinterDevice& mPrinter;
    TPrevXState mState;
    std::vector<Page> mPages;
    Canvas* mTextMetrics = nullptr;
    std::unique_ptr<MetricsCanvas> mMetrics;
    std::unique_ptr<PageRecorder> mRecorder;
};

} // namespace nobrisa
