#include <gtest/gtest.h>

#include "runtime/MenuKeys.h"

using menukeys::Action;
using menukeys::Entry;
using menukeys::FindMenuChar;

namespace {

// The Advanced menu as the main window builds it.
const std::vector<Entry> kAdvanced = {{"&Home Page"}, {"-", false}, {"&Use another FFmpeg"}, {"-", false},
                                      {"&Donate"},    {"-", false}, {"&About..."}};

}  // namespace

TEST(MenuKeys, AMarkedLetterChoosesItsItemAtOnceInAnyCase) {
    for (int current : {-1, 0, 6}) {
        EXPECT_EQ(FindMenuChar(kAdvanced, current, 'u').action, Action::Execute);
        EXPECT_EQ(FindMenuChar(kAdvanced, current, 'U').index, 2);
        EXPECT_EQ(FindMenuChar(kAdvanced, current, 'h').index, 0);
        EXPECT_EQ(FindMenuChar(kAdvanced, current, 'D').index, 4);
        EXPECT_EQ(FindMenuChar(kAdvanced, current, 'a').index, 6);
    }
    // Not a marked letter, and captions with a mark are not searched by
    // their first letter either.
    EXPECT_EQ(FindMenuChar(kAdvanced, -1, 'P').action, Action::None);
    EXPECT_EQ(FindMenuChar(kAdvanced, -1, '-').action, Action::None) << "separators are never chosen";
}

TEST(MenuKeys, ALetterMarkedTwiceMovesBetweenItsItems) {
    const std::vector<Entry> items = {{"&Copy"}, {"&Cut"}, {"&Paste"}};
    EXPECT_EQ(FindMenuChar(items, -1, 'c').action, Action::Select);
    EXPECT_EQ(FindMenuChar(items, -1, 'c').index, 0);
    EXPECT_EQ(FindMenuChar(items, 0, 'c').index, 1);
    EXPECT_EQ(FindMenuChar(items, 1, 'c').index, 0) << "round to the first again";
    EXPECT_EQ(FindMenuChar(items, 2, 'c').index, 0);
    EXPECT_EQ(FindMenuChar(items, 0, 'p').action, Action::Execute);
}

TEST(MenuKeys, CaptionsWithoutAMarkAreSelectedInTurnByTheirFirstLetter) {
    const std::vector<Entry> items = {{"MP4"}, {"AVI"}, {"mpeg"}, {"-", false}, {"Manual conversion"}};
    const menukeys::Choice first = FindMenuChar(items, -1, 'm');
    EXPECT_EQ(first.action, Action::Select) << "selected, never executed";
    EXPECT_EQ(first.index, 0);
    EXPECT_EQ(FindMenuChar(items, 0, 'M').index, 2) << "lower and upper case alike";
    EXPECT_EQ(FindMenuChar(items, 2, 'm').index, 4) << "past the separator";
    EXPECT_EQ(FindMenuChar(items, 4, 'm').index, 0) << "and round again";
    EXPECT_EQ(FindMenuChar(items, 1, 'm').index, 2) << "from the selected item on";
    // A single match is selected too.
    EXPECT_EQ(FindMenuChar(items, -1, 'a').action, Action::Select);
    EXPECT_EQ(FindMenuChar(items, -1, 'a').index, 1);
    EXPECT_EQ(FindMenuChar(items, -1, 'x').action, Action::None);
}

TEST(MenuKeys, DisabledItemsAndDoubledAmpersandsAreSkipped) {
    const std::vector<Entry> items = {{"R&&B"}, {"&Rock", false}, {"Rap"}, {"&&Roll"}};
    // "R&&B" and "&&Roll" carry no mark: their first letters count; the
    // disabled "&Rock" is never chosen.
    EXPECT_EQ(FindMenuChar(items, -1, 'r').index, 0);
    EXPECT_EQ(FindMenuChar(items, 0, 'r').index, 2);
    EXPECT_EQ(FindMenuChar(items, 2, 'r').index, 0);
    EXPECT_EQ(FindMenuChar(items, -1, '&').index, 3);
    EXPECT_EQ(FindMenuChar(items, -1, 'b').action, Action::None);
}
