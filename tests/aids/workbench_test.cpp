#include "aids/workbench.h"

#include <gtest/gtest.h>

namespace nobrisa {
namespace {

TEST(Workbench, CleanUps)
{
    using CleanUp = QString (*)(const QString&);
    const CleanUp digits = [](const QString& t) { return fullWidthDigitsToAscii(t); };
    const CleanUp leading = [](const QString& t) { return removeTabsAndLeadingBlanks(t); };
    const CleanUp empty = [](const QString& t) { return removeEmptyLines(t); };
    const CleanUp commas = [](const QString& t) { return removeCommas(t); };
    // A line far wider than any editor: the clean-ups see it as one line however it is shown.
    const QString wide = QString("\t東京都千代田区").repeated(300);
    const std::tuple<CleanUp, QString, QString> cases[] = {
        {digits, "金額０１２３４５６７８９円", "金額0123456789円"},
        {digits, "〒１２３－４５６ＡＢ　（７）", "〒123－456ＡＢ　（7）"},
        {leading, "\t a\tb \n\x01\x1f x", "ab \nx"},
        {leading, "　山田\n \t　様\n \n\t\nb", "　山田\n　様\n\n\nb"},
        {leading, wide, QString("東京都千代田区").repeated(300)},
        {empty, "\n\na\n\nb\n\n\nc\n", "a\nb\nc"},
        {empty, "a\n \n\t\nb", "a\n \n\t\nb"},
        {empty, "\n\n", ""},
        {empty, wide + "\n\n" + wide, wide + "\n" + wide},
        {commas, "1,000，円\n,\n東京、大阪", "1000円\n\n東京、大阪"},
    };
    for (const auto& [cleanUp, text, expected] : cases) {
        SCOPED_TRACE(text.left(40).toStdString());
        EXPECT_EQ(cleanUp(text), expected);
    }
}

} // namespace
} // namespace nobrisa
