#pragma once

#include "model/devicecaps.h"
#include "render/printerdevice.h"
#include "support/recordingcanvas.h"

#include <QStringList>

#include <vector>

namespace nobrisa::test {

// A 600-dpi A4 printer with 100-pixel hardware margins that records its jobs: the title each
// job carried and the canvas calls of each page. It also stands in for the printer's
// orientation, which the settings save and restore.
class FakePrinter final : public PrinterDevice {
public:
    struct Job {
        QString title;
        std::vector<std::vector<RecordingCanvas::Call>> pages;
        bool ended = false;
    };
    std::vector<Job> jobs;
    FixedDevice caps = a4At600Dpi();
    QStringList names{QStringLiteral("Office")};
    QString current = QStringLiteral("Office");
    Orientation orientationNow = Orientation::Portrait;
    bool pdf = false;          // stands for the PDF output, which asks for a file
    QString outputFile;        // the file the last print was told to write
    bool failBegin = false;    // the spooler refuses the next jobs

    static FixedDevice a4At600Dpi()
    {
        FixedDevice d;
        d.logPixelsX = d.logPixelsY = 600;
        d.offsetX = d.offsetY = 100;
        d.physicalWidth = 4960;
        d.physicalHeight = 7016;
        d.horzRes = 4960 - 200;
        d.vertRes = 7016 - 200;
        return d;
    }

    int deviceCaps(DeviceCap cap) const override { return caps.deviceCaps(cap); }
    QStringList printerNames() const override { return names; }
    int printerIndex() const override { return static_cast<int>(names.indexOf(current)); }
    QString printerName() const override { return current; }
    bool isPdfOutput() const override { return pdf; }
    void setOutputFile(const QString& path) override { outputFile = path; }
    int paperCode() const override { return 9; }
    Orientation orientation() const override { return orientationNow; }
    void setOrientation(Orientation orientation) override { orientationNow = orientation; }
    QString title() const override { return mTitle; }
    void setTitle(const QString& title) override { mTitle = title; }

    // As the real printer does, a job on a printer no longer installed fails at its beginning.
    bool beginDoc() override
    {
        if (failBegin || !names.contains(current))
            return false;
        jobs.push_back({mTitle, {}, false});
        mCanvas.calls.clear();
        return true;
    }
    bool newPage() override
    {
        flushPage();
        return true;
    }
    bool endDoc() override
    {
        flushPage();
        jobs.back().ended = true;
        return true;
    }
    Canvas& canvas() override { return mCanvas; }
    QString errorString() const override
    {
        if (!names.contains(current))
            return QStringLiteral("プリンタ「%1」が見つかりません。").arg(current);
        return failBegin ? QStringLiteral("プリンタ「%1」で印刷を開始できません。").arg(current)
                         : QString();
    }

private:
    void flushPage()
    {
        jobs.back().pages.push_back(mCanvas.calls);
        mCanvas.calls.clear();
    }

    QString mTitle;
    RecordingCanvas mCanvas;
};

} // namespace nobrisa::test
