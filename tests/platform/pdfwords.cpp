#include "pdfwords.h"

#include <QProcess>
#include <QXmlStreamReader>

namespace nobrisa::test {

const PdfWord* PdfText::find(const QString& text, int page) const
{
    for (const PdfWord& word : words) {
        if (word.text == text && (page < 0 || word.page == page))
            return &word;
    }
    return nullptr;
}

PdfText readPdfText(const QString& path)
{
    PdfText result;
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-bbox"), path, QStringLiteral("-")});
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        result.error = QStringLiteral("pdftotext failed: ") +
                       QString::fromLocal8Bit(process.readAllStandardError()) +
                       process.errorString();
        return result;
    }
    // The output is XHTML: <page width= height=> elements holding <word xMin= ...>text</word>.
    QXmlStreamReader xml(process.readAllStandardOutput());
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto attrs = xml.attributes();
        if (xml.name() == QLatin1String("title")) {
            result.title = xml.readElementText();
        } else if (xml.name() == QLatin1String("page")) {
            if (result.pageCount == 0) {
                result.pageWidth = attrs.value(QLatin1String("width")).toDouble();
                result.pageHeight = attrs.value(QLatin1String("height")).toDouble();
            }
            ++result.pageCount;
        } else if (xml.name() == QLatin1String("word")) {
            PdfWord word;
            word.page = result.pageCount - 1;
            word.xMin = attrs.value(QLatin1String("xMin")).toDouble();
            word.yMin = attrs.value(QLatin1String("yMin")).toDouble();
            word.xMax = attrs.value(QLatin1String("xMax")).toDouble();
            word.yMax = attrs.value(QLatin1String("yMax")).toDouble();
            word.text = xml.readElementText();
            result.words.push_back(word);
        }
    }
    if (xml.hasError()) {
        result.error = xml.errorString();
        return result;
    }
    result.ok = true;
    return result;
}

} // namespace nobrisa::test
