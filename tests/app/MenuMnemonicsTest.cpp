// Menu mnemonics: one free letter per title, word starts first, "&" in a title kept as text.
#include <gtest/gtest.h>

#include "app/MenuMnemonics.h"

TEST(MenuMnemonics, EachTitleGetsAFreeLetterAndReadsAsBefore)
{
    const std::pair<QStringList, QStringList> cases[] = {
        { { "About Quennary", "Preferences…", "Quit Quennary" }, { "&About Quennary", "&Preferences…", "&Quit Quennary" } },
        { { "Quennary Help", "Quit Quennary" }, { "&Quennary Help", "Q&uit Quennary" } },
        { { "Tom & Jerry", "Take Over" }, { "&Tom && Jerry", "Take &Over" } },
        { { "help", "Hide", "H", "" }, { "&help", "H&ide", "H", "" } },
        { { "Über", "Установки" }, { "&Über", "&Установки" } },
    };
    for (const auto &[titles, marked] : cases) {
        EXPECT_EQ(MenuMnemonics::assign(titles), marked);
        for (qsizetype index = 0; index < marked.size(); ++index)
            EXPECT_EQ(MenuMnemonics::plain(marked.at(index)), titles.at(index));
    }
}
