#include "platform/fonts.h"

#include "model/fontchoice.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <array>
#include <memory>
#include <mutex>

namespace nobrisa {

namespace {

struct WindowsFace {
    const char16_t* face;
    // Installed families that look the same, best first. IPA fonts (fonts-ipafont-*) share the
    // metrics of the Windows faces: fixed-pitch and proportional gothic and mincho.
    std::array<const char*, 2> families;
};

const WindowsFace kGothic{u"ＭＳ ゴシック", {"IPAGothic", "TakaoGothic"}};
const WindowsFace kMincho{u"ＭＳ 明朝", {"IPAMincho", "TakaoMincho"}};
const WindowsFace kPGothic{u"ＭＳ Ｐゴシック", {"IPAPGothic", "TakaoPGothic"}};
const WindowsFace kPMincho{u"ＭＳ Ｐ明朝", {"IPAPMincho", "TakaoPMincho"}};
const WindowsFace kOcrB{u"OCRB", {"OCR B", "OCR-B"}};

const std::array<const WindowsFace*, 5> kWindowsFaces{&kGothic, &kMincho, &kPGothic, &kPMincho,
                                                      &kOcrB};

// The family name as the font database spells it: under a Japanese locale fontconfig reports
// "IPAゴシック" for "IPAGothic", and a substitute is matched against those names.
QString installedFamily(const WindowsFace& face)
{
    for (const char* candidate : face.families) {
        if (candidate == nullptr)
            continue;
        const QString name = QString::fromLatin1(candidate);
        if (QFontDatabase::hasFamily(name))
            return QFontInfo(QFont(name)).family();
    }
    return {};
}

QString substituteFor(const WindowsFace& face)
{
    QString family = installedFamily(face);
    // Without an OCR-B font the digits are drawn in the Japanese gothic, as when no face is set.
    if (family.isEmpty() && &face == &kOcrB)
        family = installedFamily(kGothic);
    return family;
}

} // namespace

void registerFaceSubstitutes()
{
    static std::once_flag once;
    std::call_once(once, [] {
        for (const WindowsFace* face : kWindowsFaces) {
            const QString family = substituteFor(*face);
            if (!family.isEmpty())
                QFont::insertSubstitution(QString::fromUtf16(face->face), family);
        }
    });
}

QString windowsFaceSubstitute(const QString& windowsFace)
{
    for (const WindowsFace* face : kWindowsFaces) {
        if (windowsFace == QString::fromUtf16(face->face))
            return substituteFor(*face);
    }
    return {};
}

QStringList availableFaces()
{
    // One entry per family, whichever foundries supply it: they are not faces of their own.
    QStringList faces;
    for (const QString& family : QFontDatabase::families())
        faces.append(withoutFoundry(family));
    for (const WindowsFace* face : kWindowsFaces) {
        if (!substituteFor(*face).isEmpty())
            faces.append(QString::fromUtf16(face->face));
    }
    std::sort(faces.begin(), faces.end(), [](const QString& a, const QString& b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    faces.erase(std::unique(faces.begin(), faces.end()), faces.end());
    return faces;
}

bool installedFontsHave(char32_t c)
{
    // One set of every installed font's characters: a lookup is then a few table steps, where
    // asking fontconfig for the fonts holding a character scans every font each time. Listing
    // only the character sets lets fontconfig merge the fonts that share one (every face of a
    // collection), so the union is built from a few dozen sets, in about 10 ms.
    struct CharSetDeleter {
        void operator()(FcCharSet* set) const { FcCharSetDestroy(set); }
    };
    static const std::unique_ptr<FcCharSet, CharSetDeleter> all = [] {
        std::unique_ptr<FcCharSet, CharSetDeleter> set(FcCharSetCreate());
        FcPattern* any = FcPatternCreate();
        FcObjectSet* objects = FcObjectSetBuild(FC_CHARSET, nullptr);
        FcFontSet* fonts = FcFontList(nullptr, any, objects);
        for (int i = 0; fonts != nullptr && i < fonts->nfont; ++i) {
            FcCharSet* chars = nullptr;
            if (FcPatternGetCharSet(fonts->fonts[i], FC_CHARSET, 0, &chars) == FcResultMatch)
                FcCharSetMerge(set.get(), chars, nullptr);
        }
        if (fonts != nullptr)
            FcFontSetDestroy(fonts);
        FcObjectSetDestroy(objects);
        FcPatternDestroy(any);
        return set;
    }();
    return all && FcCharSetHasChar(all.get(), c);
}

} // namespace nobrisa
