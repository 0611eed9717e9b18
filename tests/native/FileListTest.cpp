#include <gtest/gtest.h>

#include "app/FileList.h"

using Names = std::vector<std::string>;

TEST(FileList, EachFileOnceInTheOrderFirstGiven) {
    Names list;
    filelist::AddOnce(list, "C:\\v\\b.avi");
    filelist::AddOnce(list, "C:\\v\\a.avi");
    filelist::AddOnce(list, "c:\\V\\B.AVI");
    filelist::AddOnce(list, "C:\\v\\a.avi");
    filelist::AddOnce(list, "C:\\v\\a.avi.mp4");
    EXPECT_EQ(list, (Names{"C:\\v\\b.avi", "C:\\v\\a.avi", "C:\\v\\a.avi.mp4"}));
    // Only A to Z fold: the lower and upper e-acute are two names here.
    filelist::AddOnce(list, "C:\\v\\\xC3\xA9.avi");
    filelist::AddOnce(list, "C:\\v\\\xC3\x89.avi");
    EXPECT_EQ(list.size(), 5u);
}

TEST(FileList, SortedByNameWithoutRegardToCase) {
    Names names{"b.avi", "C.avi", "a10.avi", "A2.avi", "\xC3\xA9t\xC3\xA9.avi", "_x.avi", "B.avi"};
    filelist::SortByName(names);
    // "_" (0x5F) sorts before the letters once they are lowered; bytes of
    // names differing only in case decide between them.
    EXPECT_EQ(names, (Names{"_x.avi", "a10.avi", "A2.avi", "B.avi", "b.avi", "C.avi", "\xC3\xA9t\xC3\xA9.avi"}));
}

TEST(FileList, TheHandedOverTextComesBackAsTheSameList) {
    const Names list{"C:\\My Videos\\clip one.avi", "D:\\\xE6\x97\xA5\xE6\x9C\xAC.mkv", "\\\\server\\share\\x.mp4"};
    const std::string joined = filelist::Join(list);
    EXPECT_EQ(joined, "C:\\My Videos\\clip one.avi\nD:\\\xE6\x97\xA5\xE6\x9C\xAC.mkv\n\\\\server\\share\\x.mp4\n");
    EXPECT_EQ(filelist::Split(joined), list);
    EXPECT_EQ(filelist::Split("a\r\n\r\nb\n\nc"), (Names{"a", "b", "c"}));
    EXPECT_TRUE(filelist::Split("").empty());
    EXPECT_TRUE(filelist::Split("\n\r\n").empty());
    EXPECT_TRUE(filelist::Join({}).empty());
}
