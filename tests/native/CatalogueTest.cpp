#include "profiles/Catalogue.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using profiles::Catalogue;
using profiles::CatalogueEntry;
using profiles::GetProfileArguments;
using profiles::GetProfileExtension;

const std::string kDefaultManualLine = "ffmpeg -i %1 -s 320x240 -r 14 -b 50k -ar 22050 -ab 56k -ac 1 %1.mov";

// 1-based, as the rows are counted everywhere else.
const CatalogueEntry& Row(size_t number) {
    return Catalogue()[number - 1];
}

TEST(Catalogue, HasTheGroupsInMenuOrderWithTheirSizes) {
    const std::vector<std::pair<std::string, size_t>> expected = {
        {"General Audio Format", 6}, {"General Video Format", 8}, {"3GP Video", 4},
        {"Apple iPad", 4},           {"Apple iPhone", 3},         {"Apple iPod", 13},
        {"Apple TV", 3},             {"AVI", 4},                  {"BlackBerry", 3},
        {"Creative Zen", 2},         {"DV", 2},                   {"DVD", 10},
        {"Flash Video Movie (*.flv)", 3}, {"Google Android", 2},  {"MP4 Mobile Phones", 5},
        {"Nokia", 5},                {"Palm", 2},                 {"Quicktime (*.mov)", 4},
        {"ShockwaveFlash (*.swf)", 3}, {"Sony Bravia", 4},        {"Sony PS3", 2},
        {"Sony PSP", 3},             {"Sony Walkman", 1},         {"VCD", 2},
        {"WMV", 5}};
    // Runs of equal group captions: a group split in two would show up as
    // an extra run.
    std::vector<std::pair<std::string, size_t>> runs;
    for (const CatalogueEntry& entry : Catalogue()) {
        if (runs.empty() || runs.back().first != entry.group) runs.emplace_back(entry.group, 0);
        ++runs.back().second;
    }
    EXPECT_EQ(runs, expected);
    ASSERT_EQ(Catalogue().size(), 103u);

    std::vector<std::string> names;
    for (const auto& [name, size] : expected) names.push_back(name);
    EXPECT_EQ(profiles::CatalogueGroups(), names);
}

TEST(Catalogue, CaptionsAreUniqueAndNeverLookLikeAManualLineOrCarryAnAccelerator) {
    std::set<std::string> captions;
    for (const CatalogueEntry& entry : Catalogue()) {
        const std::string caption = entry.caption;
        EXPECT_TRUE(captions.insert(caption).second) << caption;
        EXPECT_FALSE(caption.empty());
        EXPECT_NE(caption.substr(0, 6), "ffmpeg") << caption;
        EXPECT_NE(caption.substr(0, 6), "FFMPEG") << caption;
        EXPECT_EQ(caption.find('&'), std::string::npos) << caption;
    }
}

TEST(Catalogue, EveryValueIsPlainAsciiAndArgumentsEndWithExactlyOneBlank) {
    for (const CatalogueEntry& entry : Catalogue()) {
        for (const std::string value : {entry.group, entry.caption, entry.arguments, entry.extension})
            for (const char c : value) EXPECT_TRUE(c >= 0x20 && c < 0x7F) << value;
        const std::string arguments = entry.arguments;
        ASSERT_GE(arguments.size(), 3u) << entry.caption;
        EXPECT_EQ(arguments.front(), '-') << entry.caption;
        EXPECT_EQ(arguments.back(), ' ') << entry.caption;
        EXPECT_NE(arguments[arguments.size() - 2], ' ') << entry.caption;
        // Nothing but options: the file names are added by the engine.
        EXPECT_EQ(arguments.find('%'), std::string::npos) << entry.caption;
        EXPECT_EQ(arguments.find('"'), std::string::npos) << entry.caption;
    }
}

TEST(Catalogue, DoubledBlanksSitInExactlyTheseRows) {
    std::set<size_t> rows;
    for (size_t n = 1; n <= Catalogue().size(); ++n)
        if (std::string(Row(n).arguments).find("  ") != std::string::npos) rows.insert(n);
    EXPECT_EQ(rows, (std::set<size_t>{6, 14, 49, 50, 58, 73, 91, 92, 99, 100, 101, 102, 103}));
}

TEST(Catalogue, OnlyTheseRowsShareAnArgumentString) {
    std::map<std::string, std::set<size_t>> byArguments;
    for (size_t n = 1; n <= Catalogue().size(); ++n) byArguments[Row(n).arguments].insert(n);
    std::set<std::set<size_t>> shared;
    for (const auto& [arguments, rows] : byArguments)
        if (rows.size() > 1) shared.insert(rows);
    EXPECT_EQ(shared, (std::set<std::set<size_t>>{{14, 99}, {24, 28, 47}, {25, 29, 32, 35, 48}, {30, 33}, {31, 34}}));
}

TEST(Catalogue, ExtensionsAreTheFifteenInUse) {
    std::set<std::string> used;
    for (const CatalogueEntry& entry : Catalogue()) {
        const std::string extension = entry.extension;
        EXPECT_TRUE(extension.size() == 3 || extension.size() == 4) << extension;
        EXPECT_EQ(extension.front(), '.');
        for (size_t i = 1; i < extension.size(); ++i)
            EXPECT_TRUE((extension[i] >= 'a' && extension[i] <= 'z') || (extension[i] >= '0' && extension[i] <= '9'))
                << extension;
        used.insert(extension);
    }
    EXPECT_EQ(used, (std::set<std::string>{".3gp", ".ac3", ".avi", ".dv", ".flv", ".m4a", ".mov", ".mp3", ".mp4",
                                           ".mpg", ".ogg", ".swf", ".wav", ".wma", ".wmv"}));
}

TEST(Catalogue, RowsAreKeptByteForByte) {
    EXPECT_STREQ(Row(1).caption, "AC3 - Dolby Digital AC-3");
    EXPECT_STREQ(Row(1).arguments, "-f ac3 -acodec ac3 -ab 192kb -ar 48000 -ac 2 ");
    EXPECT_STREQ(Row(4).caption, "OGG - Ogg Vobis Audio");
    EXPECT_STREQ(Row(16).caption, "3GP - Mobile Standart Quality (H263, 12 fps, 176x144; AAC)");
    EXPECT_STREQ(Row(23).caption, "iPhone - High Quality (H264, 30 fps, 640x480, 2.5MBit; AAC)");
    EXPECT_STREQ(Row(23).arguments,
                 "-vcodec libx264 -acodec libfaac -level 30 -s 640x480 -r 30 -b 2400kb -ar 48000 -ab 160kb -ac 2 ");
    EXPECT_STREQ(Row(42).caption, "AVI - XviD FullScreen (30 fps, 640x480, 1.5MBit; MP3)");
    EXPECT_STREQ(Row(44).arguments,
                 "-f avi -r 29.97 -croptop 58 -cropbottom 62 -vcodec libxvid -vtag XVID -s 640x272 -aspect 2.35 "
                 "-maxrate 1800kb -b 1500kb -qmin 3 -qmax 5 -bufsize 4096 -mbd 2 -bf 2 -flags +4mv -trellis -aic "
                 "-cmp 2 -subcmp 2 -g 300 -acodec libmp3lame -ar 48000 -ab 128kb -ac 2 ");
    EXPECT_STREQ(Row(49).caption, "Creative Zen Fullscreen");
    EXPECT_STREQ(Row(49).arguments,
                 "-f avi -r 29.97 -vcodec libxvid -vtag XVID -s 320x240 -aspect 4:3 -maxrate 1800kb -b 1500k  "
                 "-acodec libmp3lame -ar 48000 -ab 128kb -ac 2 ");
    EXPECT_STREQ(Row(68).caption, "High Resolution (MPEG4, 25 fps, 640x360, 1Mit; AAC)");
    EXPECT_STREQ(Row(80).caption, "Quicktime MOV");
    EXPECT_STREQ(Row(81).caption, "QuickTime H.264 video (high quality)");
    EXPECT_STREQ(Row(91).arguments,
                 "-f mp4 -r 23.976 -vcodec libx264 -s 1280x720 -b 3000kb -aspect 16:9 -flags +loop -cmp +chroma "
                 "-deblockalpha 0 -deblockbeta 0  -maxrate 3500k -bufsize 4M -bt 256k -refs 1 -bf 3 -coder 1 "
                 "-me_method umh -me_range 16 -subq 7 -partitions +parti4x4+parti8x8+partp8x8+partb8x8 -g 250 "
                 "-keyint_min 25 -level 30 -qmin 10 -qmax 51 -qcomp 0.6 -trellis 2 -sc_threshold 40 "
                 "-i_qfactor 0.71 -acodec libfaac -ab 384kb -ar 48000 -ac 2 ");
    EXPECT_STREQ(Row(103).group, "WMV");
    EXPECT_STREQ(Row(103).caption, "Power Point");
    EXPECT_STREQ(Row(103).arguments, "-vcodec wmv2  -acodec wmav2 -aspect 4:3 -b 500k -ab 32k -ac 1 -ar 22050 -s 320x240 ");
    EXPECT_STREQ(Row(103).extension, ".wmv");
}

TEST(ProfileLookup, EveryCatalogueCaptionFindsItsOwnValues) {
    for (const CatalogueEntry& entry : Catalogue()) {
        EXPECT_EQ(GetProfileArguments(entry.caption), entry.arguments) << entry.caption;
        EXPECT_EQ(GetProfileExtension(entry.caption), entry.extension) << entry.caption;
    }
}

TEST(ProfileLookup, NamedCatalogueCaptions) {
    EXPECT_EQ(GetProfileArguments("AVI (*.avi)"), "-acodec libmp3lame -vcodec msmpeg4 -ab 192kb -b 1000kb -ar 44100 ");
    EXPECT_EQ(GetProfileExtension("AVI (*.avi)"), ".avi");
    const std::string wmv = "-vcodec wmv2  -acodec wmav2 -b 1000kb -ab 160kb -r 25 ";
    EXPECT_EQ(GetProfileArguments("WMV (*.wmv)"), wmv);
    EXPECT_EQ(GetProfileArguments("WMV2 Generic"), wmv);
    EXPECT_EQ(GetProfileExtension("WMV (*.wmv)"), ".wmv");
    EXPECT_EQ(GetProfileExtension("WMV2 Generic"), ".wmv");
}

TEST(ProfileLookup, OnlyTheWholeExactCaptionMatches) {
    for (const std::string caption : {"", "avi (*.avi)", "AVI (*.AVI)", "AVI (*.avi) ", " AVI (*.avi)", "AVI (*.avi",
                                      "AVI", "General Video Format", "Manual conversion"}) {
        EXPECT_EQ(GetProfileArguments(caption), "") << '"' << caption << '"';
        EXPECT_EQ(GetProfileExtension(caption), "") << '"' << caption << '"';
    }
}

TEST(ProfileLookup, ManualCommandLineIsCutAtItsFirstMark) {
    EXPECT_EQ(GetProfileArguments(kDefaultManualLine), "-s 320x240 -r 14 -b 50k -ar 22050 -ab 56k -ac 1 ");
    EXPECT_EQ(GetProfileExtension(kDefaultManualLine), ".mov");

    // Only the first word is tested, in any case; the rest of the prefix is skipped.
    for (const std::string line : {"FFMPEG -i %1 -s 320x240 -r 14 -b 50k -ar 22050 -ab 56k -ac 1 %1.mov",
                                   "FfMpEg -I %1 -s 320x240 -r 14 -b 50k -ar 22050 -ab 56k -ac 1 %1.mov",
                                   "ffmpegXXXXXXX-s 320x240 -r 14 -b 50k -ar 22050 -ab 56k -ac 1 %1.mov"}) {
        EXPECT_EQ(GetProfileArguments(line), "-s 320x240 -r 14 -b 50k -ar 22050 -ab 56k -ac 1 ") << line;
        EXPECT_EQ(GetProfileExtension(line), ".mov") << line;
    }

    const std::string marked = "ffmpeg -i %1 -vf a%1.b -b 50k %1.avi";
    EXPECT_EQ(GetProfileArguments(marked), "-vf a");
    EXPECT_EQ(GetProfileExtension(marked), ".b -b 50k %1.avi");

    EXPECT_EQ(GetProfileExtension("ffmpeg -i %1 -b 50k %1..mov"), "..mov");
    EXPECT_EQ(GetProfileArguments("ffmpeg -i %1 -b 50k %1..mov"), "-b 50k ");

    // Blank options still leave the blank in front of the mark.
    EXPECT_EQ(GetProfileArguments("ffmpeg -i %1  %1.mov"), " ");
    // A mark inside the prefix: nothing before it counts as options.
    EXPECT_EQ(GetProfileArguments("ffmpeg%1.mov"), "");
    EXPECT_EQ(GetProfileExtension("ffmpeg%1.mov"), ".mov");
    EXPECT_EQ(GetProfileExtension("ffmpeg -i %1 -b 50k %1."), ".");
}

TEST(ProfileLookup, ManualLineWithoutMarkGivesNothing) {
    for (const std::string line : {"ffmpeg", "ffmpeg -i %1 -b 50k", "FFMPEG -i %1 -b 50k %1mov", "ffmpeg -i %1 -b 50k %"}) {
        EXPECT_EQ(GetProfileArguments(line), "") << line;
        EXPECT_EQ(GetProfileExtension(line), "") << line;
    }
    // Not the first word: no manual line at all.
    EXPECT_EQ(GetProfileArguments(" ffmpeg -i %1 -b 50k %1.mov"), "");
    EXPECT_EQ(GetProfileExtension("ffmpe -i %1 -b 50k %1.mov"), "");
}

TEST(ManualCommandLine, ComposesTheDialogDefault) {
    EXPECT_EQ(profiles::ComposeManualCommandLine("-s 320x240 -r 14 -b 50k -ar 22050 -ab 56k -ac 1", "mov"),
              kDefaultManualLine);
    EXPECT_EQ(profiles::ComposeManualCommandLine("", ""), "ffmpeg -i %1  %1.");
}

TEST(ManualCommandLine, SplitGivesBackWhatWasComposed) {
    const std::vector<std::pair<std::string, std::string>> fields = {
        {"-s 320x240 -r 14 -b 50k -ar 22050 -ab 56k -ac 1", "mov"},
        {" ", " "},
        {"-b 1000k  -ab 128k ", "avi"},
        {"-vn", ".mp3"},  // the dot typed against the instruction stays in the field
        {"-ab 56kb", "x"}};
    for (const auto& [options, extension] : fields) {
        const std::string line = profiles::ComposeManualCommandLine(options, extension);
        std::string splitOptions = "unchanged", splitExtension = "unchanged";
        ASSERT_TRUE(profiles::SplitManualCommandLine(line, splitOptions, splitExtension)) << line;
        EXPECT_EQ(splitOptions, options) << line;
        EXPECT_EQ(splitExtension, extension) << line;
        // The lookups and the dialog cut the same line the same way.
        EXPECT_EQ(GetProfileArguments(line), options + " ") << line;
        EXPECT_EQ(GetProfileExtension(line), "." + extension) << line;
        EXPECT_EQ(profiles::ComposeManualCommandLine(splitOptions, splitExtension), line);
    }
}

TEST(ManualCommandLine, OptionsHoldingTheMarkSplitAtItsFirstOccurrence) {
    const std::string line = profiles::ComposeManualCommandLine("-vf a%1.b", "mov");
    ASSERT_EQ(line, "ffmpeg -i %1 -vf a%1.b %1.mov");
    std::string options, extension;
    ASSERT_TRUE(profiles::SplitManualCommandLine(line, options, extension));
    // The character in front of the first mark is taken for the separating blank.
    EXPECT_EQ(options, "-vf ");
    EXPECT_EQ(extension, "b %1.mov");
    EXPECT_NE(profiles::ComposeManualCommandLine(options, extension), line);
}

TEST(ManualCommandLine, SplitRefusesAnythingElseAndLeavesTheFieldsAlone) {
    for (const std::string caption : {"", "AVI (*.avi)", "ffmpeg -i %1 -b 50k", "ffmpeg", "-i %1 -b 50k %1.mov"}) {
        std::string options = "-s 320x240", extension = "mov";
        EXPECT_FALSE(profiles::SplitManualCommandLine(caption, options, extension)) << caption;
        EXPECT_EQ(options, "-s 320x240");
        EXPECT_EQ(extension, "mov");
    }
    std::string options, extension;
    ASSERT_TRUE(profiles::SplitManualCommandLine("FFMPEG -i %1 -b 50k %1.avi", options, extension));
    EXPECT_EQ(options, "-b 50k");
    EXPECT_EQ(extension, "avi");
}

}  // namespace

namespace {

TEST(ManualExtensionTest, AcceptableExtensions) {
    for (const char* ok : {"mov", "mp4", "m4a", "x", "tar.gz", "3gp", "a b", "MKV", "mp4~", "\xE9t\xE9"})
        EXPECT_TRUE(profiles::IsAcceptableExtension(ok)) << ok;
}

TEST(ManualExtensionTest, RefusedExtensions) {
    for (const char* bad :
         {"", "mp4\\..\\..\\x", "mp4/x", "..", ".mp4", "mp4.", " mp4", "mp4 ", " ", ".", "c:x", "mp4\" -f mp4 \"x",
          "mp*", "mp?", "a<b", "a>b", "a|b", "mp4\t", "m\x01p4", "m\x1Fp4", "m\x7Fp4", "mp4\r\n"})
        EXPECT_FALSE(profiles::IsAcceptableExtension(bad)) << bad;
    EXPECT_FALSE(profiles::IsAcceptableExtension(std::string("mp\0" "4", 4)));
}

TEST(ManualExtensionTest, RefusedManualCommandLines) {
    const std::string options = "-s 320x240 -r 14 -b 50k -ar 22050 -ab 56k -ac 1";
    EXPECT_FALSE(profiles::ManualExtensionRefused(profiles::ComposeManualCommandLine(options, "mov")));
    EXPECT_TRUE(profiles::ManualExtensionRefused(profiles::ComposeManualCommandLine(options, "mp4\\..\\..\\x")));
    EXPECT_TRUE(profiles::ManualExtensionRefused(profiles::ComposeManualCommandLine(options, "mp4\" -f mp4 \"C:\\x")));
    EXPECT_TRUE(profiles::ManualExtensionRefused(profiles::ComposeManualCommandLine(options, ".mov")));
    EXPECT_TRUE(profiles::ManualExtensionRefused(profiles::ComposeManualCommandLine(options, "")));
    // Upper-case first word: still a manual line.
    EXPECT_TRUE(profiles::ManualExtensionRefused("FFMPEG -i %1 -b 1 %1.a/b"));
    // Without "%1." a manual line has no extension at all.
    EXPECT_TRUE(profiles::ManualExtensionRefused("ffmpeg -i %1 -b 1"));
    // The extension runs from the first "%1." to the end, as for the conversion.
    EXPECT_TRUE(profiles::ManualExtensionRefused("ffmpeg -i %1 -x %1.mov %1./x"));
    // Catalogue captions and unknown captions are no manual lines.
    EXPECT_FALSE(profiles::ManualExtensionRefused(profiles::Catalogue()[0].caption));
    EXPECT_FALSE(profiles::ManualExtensionRefused(""));
    EXPECT_FALSE(profiles::ManualExtensionRefused("my profile %1.a/b"));
}

}  // namespace
