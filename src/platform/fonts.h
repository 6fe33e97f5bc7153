#pragma once

#include <QString>
#include <QStringList>

namespace nobrisa {

// Setting files made on Windows name their faces by Windows names ("ＭＳ ゴシック", "OCRB").
// Without help fontconfig resolves those to an unrelated Latin font (DejaVu Sans), so every slip
// would lose its faces; these functions map them onto installed equivalents through Qt's font
// substitution table.

// Registers the substitutions, once per process (later calls do nothing). Needs a
// QGuiApplication. Only faces with an installed equivalent are registered.
void registerFaceSubstitutes();

// The installed family a Windows face is drawn with here, or an empty string when the face is not
// one of the Windows faces or nothing equivalent is installed.
QString windowsFaceSubstitute(const QString& windowsFace);

// The faces a font list offers: the installed families, each once whichever foundries supply it,
// plus the Windows faces that have an installed equivalent, sorted, without duplicates.
QStringList availableFaces();

// Whether some installed font has a glyph for the character. Qt draws a character the chosen
// face lacks with another installed font that has it (fontconfig's fallback list holds every
// font), so only a character that no font has is lost: it prints as a box, the mark of a missing
// glyph. The fonts' characters are gathered from fontconfig once per process, as Qt reads the
// fonts once too.
bool installedFontsHave(char32_t c);

} // namespace nobrisa
