#pragma once

#include "preview/pagerecording.h"

#include <QByteArray>
#include <QString>

namespace nobrisa {

// The size of a recorded page as a picture: `width` × `height` device pixels at `pixelsPerInch`
// (the printer's pixels for the facsimile).
struct PictureSize {
    int width = 0;
    int height = 0;
    int pixelsPerInch = 0;
};

// What the facsimile's enhanced metafile header says made it.
inline const QString kFacsimileCreator = QStringLiteral("Hakuno");
inline const QString kFacsimileDescription = QStringLiteral("ZENTORA.exe");

// A recorded page as a placeable Windows metafile: fonts in the Japanese character set with
// their recorded faces and GDI heights, text in CP932, pens, brushes, rectangles and lines, each
// text run clipped to the box it was laid out in. Texts carry no spacing array: every run starts
// at the printer's pixel and the player sets it with its own font's widths. Ellipses and rounded
// rectangles are left out (no slip drawing uses them).
QByteArray wmfFromRecording(const PageRecording& page, const PictureSize& size);

// The same page as an enhanced metafile (text in UTF-16), with `creator` and `description` in
// its header.
QByteArray emfFromRecording(const PageRecording& page, const PictureSize& size,
                            const QString& creator = kFacsimileCreator,
                            const QString& description = kFacsimileDescription);

// Writes the page to `path`: a placeable Windows metafile when the name ends in ".wmf" (in any
// case), an enhanced metafile otherwise. False, with a Japanese message in `error`, when the
// file cannot be written.
bool saveRecording(const PageRecording& page, const PictureSize& size, const QString& path,
                   QString* error);

} // namespace nobrisa
