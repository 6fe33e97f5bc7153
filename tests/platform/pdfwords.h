#pragma once

#include <QString>

#include <vector>

namespace nobrisa::test {

// A word of a PDF page as pdftotext -bbox reports it, in points from the page's top-left corner.
struct PdfWord {
    int page = 0; // 0-based
    QString text;
    double xMin = 0;
    double yMin = 0;
    double xMax = 0;
    double yMax = 0;
};

struct PdfText {
    bool ok = false; // pdftotext ran and its output was read
    QString error;   // why not
    QString title;   // the document's title (the job name Qt gave it)
    int pageCount = 0;
    double pageWidth = 0;  // points, first page
    double pageHeight = 0; // points, first page
    std::vector<PdfWord> words;

    const PdfWord* find(const QString& text, int page = -1) const;
};

// Runs pdftotext -bbox on a PDF file.
PdfText readPdfText(const QString& path);

// Points to device pixels at `dpi`.
inline double pointsToPixels(double points, int dpi)
{
    return points * dpi / 72.0;
}

} // namespace nobrisa::test
