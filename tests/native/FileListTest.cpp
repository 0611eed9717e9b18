#include <gtest/gtest.h>

#include <ctime>

#include "app/FileList.h"

using Names = std::vector<std::string>;

TEST(FileList, EachFileOnceInTheOrderFirstGiven) {
    filelist::UniqueList list;
    EXPECT_TRUE(list.Add("C:\\v\\b.avi"));
    EXPECT_TRUE(list.Add("C:\\v\\a.avi"));
    EXPECT_FALSE(list.Add("c:\\V\\B.AVI"));
    EXPECT_FALSE(list.Add("C:\\v\\a.avi"));
    EXPECT_TRUE(list.Add("C:\\v\\a.avi.mp4"));
    EXPECT_EQ(list.Names(), (Names{"C:\\v\\b.avi", "C:\\v\\a.avi", "C:\\v\\a.avi.mp4"}));
    // Only A to Z fold: the lower and upper e-acute are two names here.
    list.Add("C:\\v\\\xC3\xA9.avi");
    list.Add("C:\\v\\\xC3\x89.avi");
    EXPECT_EQ(list.Size(), 5u);
    // Taken, the list starts afresh: a name seen before counts again.
    EXPECT_EQ(list.Take().size(), 5u);
    EXPECT_TRUE(list.Empty());
    EXPECT_TRUE(list.Add("C:\\v\\b.avi"));
    EXPECT_EQ(filelist::WithoutDuplicates({"x", "Y", "X", "y", "z"}), (Names{"x", "Y", "z"}));
}

TEST(FileList, AHundredThousandNamesAreDeDuplicatedAtOnce) {
    // Every name twice, the second time in capitals, then the first half
    // once more: 250,000 additions. Comparing each new name with the whole
    // list takes hours of processor time for this; a hash set about a second
    // with the sanitizers. Processor time, not the clock on
    // the wall: other work on the machine does not count.
    Names names;
    for (int i = 0; i < 100000; ++i) names.push_back("C:\\Videos\\clip " + std::to_string(i) + ".avi");
    const std::clock_t start = std::clock();
    filelist::UniqueList list;
    for (const std::string& n : names) list.Add(n);
    for (const std::string& n : names) list.Add("C:\\VIDEOS\\CLIP " + n.substr(15));
    for (int i = 0; i < 50000; ++i) list.Add(names[static_cast<size_t>(i)]);
    const double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    EXPECT_EQ(list.Names(), names);
    EXPECT_LT(seconds, 5.0);
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
    EXPECT_EQ(filelist::ParseHandOver(joined), list);
}

TEST(HandOver, FullPathsOnly) {
    for (const char* good : {"C:\\a.mp4", "c:/a.mp4", "\\\\server\\share\\a.mp4", "\\\\?\\C:\\a.mp4",
                             "C:\\x\\..\\a.mp4"})
        EXPECT_TRUE(filelist::IsAbsolutePath(good)) << good;
    for (const char* bad : {"a.mp4", "C:a.mp4", "\\a.mp4", "/a.mp4", "..\\a.mp4", "C:", "\\\\\\a.mp4", "1:\\a.mp4",
                            ""})
        EXPECT_FALSE(filelist::IsAbsolutePath(bad)) << bad;
}

TEST(HandOver, AMalformedPayloadIsRefusedWhole) {
    const std::string good = "C:\\Videos\\a.mp4\r\nC:\\Videos\\b.mkv\n";
    ASSERT_EQ(filelist::ParseHandOver(good), (Names{"C:\\Videos\\a.mp4", "C:\\Videos\\b.mkv"}));
    const std::string cases[] = {
        // A zero inside a name: "C:\Videos\a.mp4" must not be converted.
        std::string("C:\\Videos\\a.mp4\0zz.mkv\nC:\\Videos\\b.mkv\n", 33),
        std::string("C:\\Videos\\b.mkv\nC:\\Videos\\a.mp4\0", 32),
        "C:\\Videos\\b.mkv\nrelative.mp4\n",
        "C:\\Videos\\b.mkv\n\\rooted.mp4\n",
        "C:\\Videos\\a\tb.mp4\n",
        "C:\\Videos\\a\rb.mp4\n",
        "C:\\Videos\\b.mkv\r",
        "C:\\Videos\\\xC3.mp4\n",          // a cut UTF-8 character
        "C:\\Videos\\\xC0\xAF.mp4\n",      // an over-long one
    };
    for (const std::string& bad : cases) EXPECT_EQ(filelist::ParseHandOver(bad), std::nullopt) << bad;
}

TEST(HandOver, AtMostOneMebibyteAndTenThousandNames) {
    std::string names;
    for (size_t i = 0; i < filelist::kMaxHandOverNames; ++i) names += "C:\\v\\" + std::to_string(i) + "\n";
    ASSERT_TRUE(filelist::ParseHandOver(names).has_value());
    EXPECT_EQ(filelist::ParseHandOver(names)->size(), 10000u);
    EXPECT_EQ(filelist::ParseHandOver(names + "C:\\v\\one more\n"), std::nullopt);

    const std::string line = "C:\\" + std::string(1020, 'x') + "\n";  // 1 KiB a line
    std::string big;
    for (int i = 0; i < 1023; ++i) big += line;
    big += "C:\\" + std::string(1021, 'y');
    ASSERT_EQ(big.size(), filelist::kMaxHandOverBytes);
    EXPECT_EQ(filelist::ParseHandOver(big)->size(), 1024u);
    EXPECT_EQ(filelist::ParseHandOver(big + "z"), std::nullopt);
}
