#include "platform/fonts.h"

#include "model/fontchoice.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include <utility>

namespace nobrisa {
namespace {

struct FaceCase {
    const char* windowsFace;
    const char* family;
};

class WindowsFaceTest : public ::testing::TestWithParam<FaceCase> {};

// Catches: a face a setting file made on Windows carries being drawn in DejaVu Sans (what
// fontconfig picks for an unknown name), or in a look-alike that is not the equivalent.
TEST_P(WindowsFaceTest, ResolvesToTheInstalledEquivalent)
{
    const FaceCase c = GetParam();
    const QString family = QString::fromUtf8(c.family);
    if (!QFontDatabase::hasFamily(family))
        GTEST_SKIP() << c.family << " is not installed";
    const QString face = QString::fromUtf8(c.windowsFace);
    const QFontInfo resolved{QFont(face)};
    EXPECT_EQ(resolved.family(), QFontInfo(QFont(family)).family()) << c.windowsFace;
    EXPECT_EQ(windowsFaceSubstitute(face), resolved.family());
    EXPECT_TRUE(availableFaces().contains(face));
}

INSTANTIATE_TEST_SUITE_P(Fonts, WindowsFaceTest,
                         ::testing::Values(FaceCase{"ＭＳ ゴシック", "IPAGothic"},
                                           FaceCase{"ＭＳ 明朝", "IPAMincho"},
                                           FaceCase{"ＭＳ Ｐゴシック", "IPAPGothic"},
                                           FaceCase{"ＭＳ Ｐ明朝", "IPAPMincho"},
                                           FaceCase{"OCRB", "OCR B"}));

// Catches: "OCR B" also names the Outline, Inverted and Sharp cuts of fonts-ocr-b; hollow or
// inverted digits on a payment slip cannot be read by the bank's scanner.
TEST(Fonts, OcrBIsTheRegularCut)
{
    if (!QFontDatabase::hasFamily(QStringLiteral("OCR B")))
        GTEST_SKIP() << "OCR B is not installed";
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("OCRB"))).styleName(), QStringLiteral("Regular"));
}

// Catches: a list that is unsorted, repeats a face, or offers a Windows face that nothing
// installed stands for.
TEST(Fonts, AvailableFacesAreSortedAndUnique)
{
    const QStringList faces = availableFaces();
    ASSERT_FALSE(faces.isEmpty());
    for (qsizetype i = 1; i < faces.size(); ++i) {
        EXPECT_LE(faces[i - 1].compare(faces[i], Qt::CaseInsensitive), 0) << faces[i].toStdString();
        EXPECT_NE(faces[i - 1], faces[i]);
    }
    // One entry per family: the foundries a family comes from ("Nimbus Sans [urw]", "… [UKWN]")
    // are not faces of their own.
    for (const QString& face : faces)
        EXPECT_FALSE(face.endsWith(u']')) << face.toStdString();
    for (const QString& family : QFontDatabase::families())
        EXPECT_TRUE(faces.contains(withoutFoundry(family))) << family.toStdString();
    EXPECT_FALSE(faces.contains(QStringLiteral("Arial")) &&
                 !QFontDatabase::hasFamily(QStringLiteral("Arial")));
    EXPECT_TRUE(windowsFaceSubstitute(QStringLiteral("Arial")).isEmpty());
}

// Whether fontconfig's own tool finds a font with the character.
bool fcListHas(char32_t c)
{
    QProcess fcList;
    fcList.start(
        QStringLiteral("fc-list"),
        {QStringLiteral(":charset=%1").arg(static_cast<uint>(c), 0, 16), QStringLiteral("family")});
    if (!fcList.waitForFinished(30000))
        ADD_FAILURE() << "fc-list did not finish";
    return !fcList.readAllStandardOutput().trimmed().isEmpty();
}

// Catches: a character that some installed font has (𠮷 in Noto CJK) reported as missing,
// which would question every print of such a name, or one that no font has (a private-use code)
// passing unnoticed and printing as a box.
TEST(Fonts, InstalledFontsHaveWhatFontconfigFinds)
{
    ASSERT_FALSE(fcListHas(0x10FFFD)) << "a font here has U+10FFFD: pick another missing code";
    EXPECT_FALSE(installedFontsHave(0x10FFFD));
    EXPECT_TRUE(installedFontsHave(U'A'));
    EXPECT_TRUE(installedFontsHave(U'あ')) << "the Japanese fonts are installed";
    // 𠮷 (U+20BB7, beyond 16 bits), 髙, an Egyptian hieroglyph: as fonts here have them.
    for (char32_t c : {char32_t(0x20BB7), char32_t(0x9AD9), char32_t(0x13000), char32_t(0x3402)})
        EXPECT_EQ(installedFontsHave(c), fcListHas(c)) << std::hex << static_cast<uint>(c);
}

// Catches: a face stored with its foundry by the earlier lists losing its selection, and names
// that merely hold brackets being cut.
TEST(Fonts, FacesStoredWithTheirFoundrySelectTheirFamily)
{
    const QStringList faces{"Nimbus Sans", "Standard Symbols PS", "Odd [Name] Sans", "[x]"};
    const std::pair<const char*, const char*> cases[] = {
        {"nimbus sans [urw]", "Nimbus Sans"},
        {"Standard Symbols PS [URW ]", "Standard Symbols PS"},
        {"Odd [Name] Sans", "Odd [Name] Sans"},
        {"[x]", "[x]"},
        {"C059 [urw]", ""},
    };
    for (const auto& [stored, selected] : cases)
        EXPECT_EQ(selectFace(QString::fromUtf8(stored), faces), QString::fromUtf8(selected))
            << stored;
}

} // namespace
} // namespace nobrisa
