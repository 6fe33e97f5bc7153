#include "text/outwardtext.h"

#include <gtest/gtest.h>

#include <QString>

namespace nobrisa {
namespace {

TEST(JobTitle, EveryControlCharacterOfTheFirstLineBecomesABlank)
{
    const struct {
        QString subscriber;
        QString title;
    } cases[] = {
        {QStringLiteral("日本語教育振興会\r\n東京支部"),
         QStringLiteral("Nobrisa_日本語教育振興会")},
        {QString(), QStringLiteral("Nobrisa_")},
        {QStringLiteral("会\x1b]0;pwned\x07\x1b[2J"), QStringLiteral("Nobrisa_会 ]0;pwned  [2J")},
        {QStringLiteral("a\tb\x7f\u0085\u009b"), QStringLiteral("Nobrisa_a b   ")},
        {QStringLiteral("a\u2028b\u202etxt.exe\u2066"), QStringLiteral("Nobrisa_a b txt.exe ")},
        {QStringLiteral("😀\u200d/."), QStringLiteral("Nobrisa_😀\u200d/.")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title.toStdString());
        EXPECT_EQ(jobTitle(c.subscriber), c.title);
    }
}

TEST(ProposedFileName, DropsSlashesControlsAndLeadingDotsAndFitsTheFileSystem)
{
    const QString kanji100 = QString(100, QChar(0x4F1A)); // 300 bytes in UTF-8
    const struct {
        QString text;
        QString name;
    } cases[] = {
        {QStringLiteral("山田商店"), QStringLiteral("山田商店.dat")},
        {QStringLiteral("a/b/c"), QStringLiteral("abc.dat")},
        {QStringLiteral("../../.bashrc"), QStringLiteral("bashrc.dat")},
        {QStringLiteral(".hidden.v2"), QStringLiteral("hidden.v2.dat")},
        {QStringLiteral("\x01.\x1b[1mA\a B\u202e"), QStringLiteral("[1mA B.dat")},
        {QString(), QString()},
        {QStringLiteral("./\t.."), QString()},
        {kanji100, QString(83, QChar(0x4F1A)) + QStringLiteral(".dat")},
        {QStringLiteral("a") + QString(100, QChar(0x4F1A)),
         QStringLiteral("a") + QString(83, QChar(0x4F1A)) + QStringLiteral(".dat")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const QString name = proposedFileName(c.text, QStringLiteral("dat"));
        EXPECT_EQ(name, c.name);
        EXPECT_LE(name.toUtf8().size(), 255);
    }
    // An emoji is never cut in half.
    const QString emojis = QString(70, QChar(u'x')) + QStringLiteral("😀").repeated(60);
    const QString cut = proposedFileName(emojis, QStringLiteral("dat"));
    EXPECT_EQ(cut,
              QString(70, QChar(u'x')) + QStringLiteral("😀").repeated(45) + QStringLiteral(".dat"));
}

} // namespace
} // namespace nobrisa
