#pragma once

#include "model/devicecaps.h"

#include <QString>
#include <QStringList>

namespace nobrisa {

class Canvas;

// What the program asks of the current printer: device values, names, paper, orientation and
// print jobs. QtPrinterDevice implements it over QPrinter; tests use fakes.
class PrinterDevice : public DeviceQuery {
public:
    // Names of the installed printers, and the index of the current one (-1: the PDF output).
    virtual QStringList printerNames() const = 0;
    virtual int printerIndex() const = 0;
    // The current printer's name as the menu bar shows it.
    virtual QString printerName() const = 0;
    // True when the current printer is the PDF output (always so with no printer installed).
    virtual bool isPdfOutput() const = 0;
    // The file the PDF output writes the next job to (asked of the user before each print).
    virtual void setOutputFile(const QString& path) = 0;

    // Paper as the Windows DMPAPER number (9 = A4), and orientation.
    virtual int paperCode() const = 0;
    virtual Orientation orientation() const = 0;
    virtual void setOrientation(Orientation orientation) = 0;

    // The title that names the next job in the spooler; kept from one job to the next.
    virtual QString title() const = 0;
    virtual void setTitle(const QString& title) = 0;

    // A job: beginDoc, then pages separated by newPage, then endDoc. Each returns false on
    // failure with errorString() saying why (in Japanese, naming the printer or file).
    virtual bool beginDoc() = 0;
    virtual bool newPage() = 0;
    virtual bool endDoc() = 0;
    // The page canvas, valid between beginDoc and endDoc.
    virtual Canvas& canvas() = 0;
    virtual QString errorString() const = 0;
};

} // namespace nobrisa
