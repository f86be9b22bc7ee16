// Menu mnemonics: one letter per title, word starts first, "&" in a title kept as text.
#include <gtest/gtest.h>

#include "app/MenuMnemonics.h"

namespace
{

struct MnemonicCase {
    const char *name;
    QStringList titles;
    QStringList marked;
};

void PrintTo(const MnemonicCase &value, std::ostream *out)
{
    *out << value.name;
}

class MenuMnemonicsTest : public ::testing::TestWithParam<MnemonicCase>
{
};

TEST_P(MenuMnemonicsTest, EachTitleGetsAFreeLetter)
{
    const QStringList marked = MenuMnemonics::assign(GetParam().titles);
    EXPECT_EQ(marked, GetParam().marked);
    for (qsizetype index = 0; index < marked.size(); ++index)
        EXPECT_EQ(MenuMnemonics::plain(marked.at(index)), GetParam().titles.at(index));
}

INSTANTIATE_TEST_SUITE_P(Titles, MenuMnemonicsTest,
    ::testing::Values(
        MnemonicCase { "AppMenu",
            { "About Quennary", "Preferences…", "Check for Update", "Uninstall Quennary", "Quit Quennary" },
            { "&About Quennary", "&Preferences…", "&Check for Update", "&Uninstall Quennary",
                "&Quit Quennary" } },
        MnemonicCase { "InnerLetterWhenEveryWordStartIsTaken", { "Quennary Help", "Quit Quennary" },
            { "&Quennary Help", "Q&uit Quennary" } },
        MnemonicCase { "LaterWordStartBeforeInnerLetter", { "Open", "Ok Now" }, { "&Open", "Ok &Now" } },
        MnemonicCase { "AmpersandStaysText", { "Tom & Jerry", "& more" }, { "&Tom && Jerry", "&& &more" } },
        MnemonicCase { "CaseDoesNotMatter", { "help", "Hide" }, { "&help", "H&ide" } },
        MnemonicCase { "NoLetterLeft", { "A", "a", "" }, { "&A", "a", "" } },
        MnemonicCase {
            "OtherScripts", { "Über", "Hilfe", "Установки" }, { "&Über", "&Hilfe", "&Установки" } }),
    [](const ::testing::TestParamInfo<MnemonicCase> &info) { return std::string(info.param.name); });

} // namespace
