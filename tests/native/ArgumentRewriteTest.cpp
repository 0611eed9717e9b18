#include "engine/ArgumentRewrite.h"
#include "engine/EncoderVersion.h"
#include "profiles/Catalogue.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using engine::ModernizeArguments;

std::vector<std::string> Words(const std::string& s) {
    std::istringstream in(s);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

bool IsNumber(const std::string& s) {
    return !s.empty() && s.find_first_not_of("+-.0123456789") == std::string::npos &&
           s.find_first_of("0123456789") != std::string::npos;
}

bool IsOption(const std::string& s) {
    return s.size() > 1 && s[0] == '-' && !IsNumber(s);
}

// The value after the first occurrence of option, or "" when there is none.
std::string ValueOf(const std::vector<std::string>& words, const std::string& option) {
    for (size_t i = 0; i + 1 < words.size(); ++i)
        if (words[i] == option) return words[i + 1];
    return "";
}

bool Has(const std::vector<std::string>& words, const std::string& word) {
    return std::find(words.begin(), words.end(), word) != words.end();
}

TEST(ArgumentRewrite, BitRatesLoseTheirKbSuffix) {
    EXPECT_EQ(ModernizeArguments("-b 1000kb -ab 128kb -maxrate 1800kb ", ".avi"), "-b 1000k -ab 128k -maxrate 1800k ");
    EXPECT_EQ(ModernizeArguments("-b:v 2000kb -b:a 96kb -minrate 1.5kb ", ".mp4"), "-b:v 2000k -b:a 96k -minrate 1.5k ");
    // Already modern, plain numbers and other units stay.
    for (const std::string same : {"-b 1500k -ab 12200 ", "-bufsize 4M -bt 256k ", "-ab kb ", "-metadata 12kb "})
        EXPECT_EQ(ModernizeArguments(same, ".mp4"), same);
}

TEST(ArgumentRewrite, AudioEncodersThatAreGone) {
    EXPECT_EQ(ModernizeArguments("-vn -acodec libfaac -ab 112kb ", ".m4a"), "-vn -acodec aac -ab 112k ");
    EXPECT_EQ(ModernizeArguments("-c:a libfaac ", ".m4a"), "-c:a aac ");
    EXPECT_EQ(ModernizeArguments("-acodec libfaacx -vcodec libfaac ", ".m4a"), "-acodec libfaacx -vcodec libfaac ");
}

TEST(ArgumentRewrite, OldVorbisBecomesLibvorbisWithItsQualityInTenths) {
    EXPECT_EQ(ModernizeArguments("-acodec vorbis -aq 60 -vn -ac 2 ", ".ogg"), "-acodec libvorbis -aq 6 -vn -ac 2 ");
    EXPECT_EQ(ModernizeArguments("-aq 65 -acodec vorbis ", ".ogg"), "-aq 6.5 -acodec libvorbis ");
    EXPECT_EQ(ModernizeArguments("-acodec vorbis -aq 500 ", ".ogg"), "-acodec libvorbis -aq 10 ");
    EXPECT_EQ(ModernizeArguments("-acodec vorbis -aq 5 ", ".ogg"), "-acodec libvorbis -aq 5 ");
    EXPECT_EQ(ModernizeArguments("-acodec vorbis -aq high ", ".ogg"), "-acodec libvorbis -aq high ");
    // A quality given for libvorbis itself is the user's.
    EXPECT_EQ(ModernizeArguments("-acodec libvorbis -aq 60 ", ".ogg"), "-acodec libvorbis -aq 60 ");
}

TEST(ArgumentRewrite, FourMotionVectorFlagIsRespelled) {
    EXPECT_EQ(ModernizeArguments("-flags +4mv -g 300 ", ".avi"), "-flags +mv4 -g 300 ");
    EXPECT_EQ(ModernizeArguments("-flags +loop+4mv-gmc ", ".avi"), "-flags +loop+mv4-gmc ");
    EXPECT_EQ(ModernizeArguments("-flags 4mv ", ".avi"), "-flags mv4 ");
    EXPECT_EQ(ModernizeArguments("-flags +4mvx -cmp +4mv ", ".avi"), "-flags +4mvx -cmp +4mv ");
}

TEST(ArgumentRewrite, BareTrellisGetsItsValue) {
    EXPECT_EQ(ModernizeArguments("-mbd rd -trellis -cmp 2 ", ".mpg"), "-mbd rd -trellis 1 -cmp 2 ");
    EXPECT_EQ(ModernizeArguments("-trellis ", ".mpg"), "-trellis 1 ");
    EXPECT_EQ(ModernizeArguments("-trellis 2 -trellis -1 ", ".mpg"), "-trellis 2 -trellis -1 ");
}

TEST(ArgumentRewrite, AicJoinsTheFlags) {
    EXPECT_EQ(ModernizeArguments("-flags +4mv -trellis -aic -cmp 2 ", ".avi"), "-flags +mv4+aic -trellis 1 -cmp 2 ");
    EXPECT_EQ(ModernizeArguments("-aic -flags +loop ", ".avi"), "-flags +loop+aic ");
    EXPECT_EQ(ModernizeArguments("-mbd 2 -aic -cmp 2 ", ".avi"), "-mbd 2 -flags +aic -cmp 2 ");
    EXPECT_EQ(ModernizeArguments("-aic -b 100k ", ".avi"), "-flags +aic -b 100k ");
    EXPECT_EQ(ModernizeArguments("-flags +aic -aic -aic ", ".avi"), "-flags +aic ");
    // The encoder uses the last -flags, so that is the one to extend.
    EXPECT_EQ(ModernizeArguments("-flags +loop -aic -flags +mv4 ", ".avi"), "-flags +loop -flags +mv4+aic ");
}

TEST(ArgumentRewrite, Mv0BecomesAnEncoderFlag) {
    EXPECT_EQ(ModernizeArguments("-mbd rd -trellis -mv0 -cmp 0 ", ".mpg"), "-mbd rd -trellis 1 -mpv_flags +mv0 -cmp 0 ");
    EXPECT_EQ(ModernizeArguments("-mv0 -mpv_flags +qp_rd ", ".mpg"), "-mpv_flags +qp_rd+mv0 ");
}

TEST(ArgumentRewrite, CropOptionsBecomeTheCropFilter) {
    EXPECT_EQ(ModernizeArguments("-r 29.97 -croptop 58 -cropbottom 62 -vcodec libxvid -s 640x272 ", ".avi"),
              "-r 29.97 -vf crop=iw:ih-(58+62):0:58 -vcodec libxvid -s 640x272 ");
    EXPECT_EQ(ModernizeArguments("-croptop 10 -s 320x240 ", ".avi"), "-vf crop=iw:ih-(10+0):0:10 -s 320x240 ");
    EXPECT_EQ(ModernizeArguments("-cropright 4 -cropleft 8 ", ".avi"), "-vf crop=iw-(8+4):ih:8:0 ");
    EXPECT_EQ(ModernizeArguments("-cropleft 1 -cropright 2 -croptop 3 -cropbottom 4 ", ".avi"),
              "-vf crop=iw-(1+2):ih-(3+4):1:3 ");
    // Only one video filter option counts: the crop goes in front of the chain.
    EXPECT_EQ(ModernizeArguments("-croptop 8 -vf scale=320:240 ", ".avi"), "-vf crop=iw:ih-(8+0):0:8,scale=320:240 ");
    EXPECT_EQ(ModernizeArguments("-vf \"hflip, vflip\" -cropbottom 8 ", ".avi"),
              "-vf \"crop=iw:ih-(0+8):0:0,hflip, vflip\" ");
}

TEST(ArgumentRewrite, DeblockPairBecomesOneOption) {
    EXPECT_EQ(ModernizeArguments("-cmp +chroma -deblockalpha 0 -deblockbeta 0  -maxrate 3500k ", ".mp4"),
              "-cmp +chroma -deblock 0:0  -maxrate 3500k ");
    EXPECT_EQ(ModernizeArguments("-deblockbeta 2 -deblockalpha -1 ", ".mp4"), "-deblock -1:2 ");
    EXPECT_EQ(ModernizeArguments("-deblockbeta 3 ", ".mp4"), "-deblock 0:3 ");
}

TEST(ArgumentRewrite, XvidTagOnlyWhereTheContainerTakesIt) {
    const std::string xvid = "-vcodec libxvid -vtag XVID -s 400x240 ";
    const std::string untagged = "-vcodec libxvid -s 400x240 ";
    for (const std::string ext : {".mp4", "mp4", ".MP4", ".m4v", ".3gp", "..mp4"})
        EXPECT_EQ(ModernizeArguments(xvid, ext), untagged) << ext;
    for (const std::string ext : {".avi", ".mov", ".mkv", ""}) EXPECT_EQ(ModernizeArguments(xvid, ext), xvid) << ext;
    // -f names the container; the extension only stands in for it.
    EXPECT_EQ(ModernizeArguments("-f mp4 " + xvid, ".avi"), "-f mp4 " + untagged);
    EXPECT_EQ(ModernizeArguments("-f avi " + xvid, ".mp4"), "-f avi " + xvid);
    EXPECT_EQ(ModernizeArguments("-vtag DIVX ", ".mp4"), "-vtag DIVX ");
    EXPECT_EQ(ModernizeArguments("-vtag XVID -r 25 ", ".mp4"), "-r 25 ");
}

TEST(ArgumentRewrite, LevelIsDroppedOnlyForTheMpeg4Encoder) {
    EXPECT_EQ(ModernizeArguments("-vcodec mpeg4 -level 22 -s 480x360 ", ".mp4"), "-vcodec mpeg4 -s 480x360 ");
    EXPECT_EQ(ModernizeArguments("-level 22 -vcodec mpeg4 ", ".mp4"), "-vcodec mpeg4 ");
    for (const std::string same : {"-vcodec libx264 -level 31 ", "-vcodec flv -f flv -level 6 ", "-f swf -level 5 ",
                                   "-vcodec libxvid -level 5 "})
        EXPECT_EQ(ModernizeArguments(same, ".mp4"), same);
}

TEST(ArgumentRewrite, AnEncoderWithoutLibxvidGetsItsOwnMpeg4Encoder) {
    // The Xvid rows of the catalogue: AVI keeps the tag, MP4 loses it, and
    // the native encoder's -level goes as for any mpeg4 row.
    EXPECT_EQ(ModernizeArguments("-f avi -vcodec libxvid -vtag XVID -flags +4mv -b 1500kb ", ".avi", false),
              "-f avi -vcodec mpeg4 -vtag XVID -flags +mv4 -b 1500k ");
    EXPECT_EQ(ModernizeArguments("-r 29.97 -vcodec libxvid -vtag XVID -level 5 ", ".mp4", false),
              "-r 29.97 -vcodec mpeg4 ");
    EXPECT_EQ(ModernizeArguments("-c:v libxvid ", ".mkv", false), "-c:v mpeg4 ");
    // Its buffer size was written in kilobits.
    EXPECT_EQ(ModernizeArguments("-vcodec libxvid -maxrate 1500k -bufsize 4096 -mbd 2 ", ".mp4", false),
              "-vcodec mpeg4 -maxrate 1500k -bufsize 4096k -mbd 2 ");
    EXPECT_EQ(ModernizeArguments("-vcodec libxvid -bufsize 4M ", ".avi", false), "-vcodec mpeg4 -bufsize 4M ");
    EXPECT_EQ(ModernizeArguments("-vcodec mpeg4 -bufsize 4096 ", ".avi", false), "-vcodec mpeg4 -bufsize 4096 ");
    // An encoder that has it keeps it; other codecs are never touched.
    EXPECT_EQ(ModernizeArguments("-vcodec libxvid -vtag XVID ", ".avi", true), "-vcodec libxvid -vtag XVID ");
    EXPECT_EQ(ModernizeArguments("-vcodec libx264 -acodec libxvid ", ".avi", false), "-vcodec libx264 -acodec libxvid ");
}

TEST(ArgumentRewrite, BlanksAndOddTextSurvive) {
    EXPECT_EQ(ModernizeArguments("", ".mov"), "");
    EXPECT_EQ(ModernizeArguments("   ", ".mov"), "   ");
    EXPECT_EQ(ModernizeArguments("  -ab 56kb  ", ".mov"), "  -ab 56k  ");
    EXPECT_EQ(ModernizeArguments("-ab\t56kb\t-ac 1 ", ".mov"), "-ab\t56k\t-ac 1 ");
    EXPECT_EQ(ModernizeArguments("-s 320x240 -r 14 -b 50k -ar 22050 -ab 56k -ac 1 ", ".mov"),
              "-s 320x240 -r 14 -b 50k -ar 22050 -ab 56k -ac 1 ");
    // Quoted text is one word and is not looked into.
    EXPECT_EQ(ModernizeArguments("-metadata title=\"a -aic -ab 5kb\" -ab 56kb ", ".mp4"),
              "-metadata title=\"a -aic -ab 5kb\" -ab 56k ");
    EXPECT_EQ(ModernizeArguments("stray - -- -aic", ".mp4"), "stray - -- -flags +aic");
}

// Typed options in any mix and order: no old form is left behind, and a
// second pass finds nothing more to do.
TEST(ArgumentRewrite, AnyMixOfOptionsIsRewrittenOnceAndForAll) {
    const std::vector<std::string> phrases = {
        "-b 128kb", "-ab 64k", "-maxrate 1.5kb", "-acodec libfaac", "-acodec vorbis", "-aq 60", "-flags +4mv",
        "-flags +loop", "-trellis", "-trellis 2", "-aic", "-mv0", "-mpv_flags +qp_rd", "-croptop 8",
        "-cropbottom 4", "-cropleft 2", "-deblockalpha 1", "-deblockbeta -1", "-vtag XVID", "-f mp4", "-f avi",
        "-level 22", "-vcodec mpeg4", "-vcodec libx264", "-vf scale=2:2", "-vn", "-strict -1"};
    std::mt19937 random(8);
    for (int round = 0; round < 3000; ++round) {
        std::string legacy;
        const int length = 1 + static_cast<int>(random() % 10);
        for (int i = 0; i < length; ++i) legacy += phrases[random() % phrases.size()] + (random() % 4 ? " " : "  ");
        const std::string ext = random() % 2 ? ".mp4" : ".avi";
        const std::string modern = ModernizeArguments(legacy, ext);
        SCOPED_TRACE(legacy + "-> " + modern);
        EXPECT_EQ(ModernizeArguments(modern, ext), modern);
        // Only a lone "-vtag XVID" can vanish altogether, leaving its blanks.
        const std::vector<std::string> words = Words(modern);
        if (!words.empty()) EXPECT_EQ(modern.front(), '-');
        EXPECT_EQ(modern.back(), ' ');
        for (size_t i = 0; i < words.size(); ++i) {
            const std::string& word = words[i];
            const std::string next = i + 1 < words.size() ? words[i + 1] : "";
            EXPECT_TRUE(word != "-aic" && word != "-mv0" && !word.starts_with("-crop") && word != "-deblockalpha" &&
                        word != "-deblockbeta")
                << word;
            if (word == "-trellis") EXPECT_TRUE(IsNumber(next));
            if (word == "-acodec") EXPECT_TRUE(next != "libfaac" && next != "vorbis");
            if (word == "-b" || word == "-ab" || word == "-maxrate") EXPECT_FALSE(next.ends_with("kb"));
            if (word == "-flags") EXPECT_EQ(next.find("4mv"), std::string::npos);
        }
    }
}

// Text that is no option list at all: the sanitizers watch, and the old
// switches still go.
TEST(ArgumentRewrite, GarbageIsSurvived) {
    const std::vector<std::string> vocabulary = {"-b", "kb", "-aic", "-mv0", "-croptop", "-deblockbeta", "-vf",
                                                 "-flags", "\"", "-", "--", "", "x", "-1", "\t", "-trellis"};
    std::mt19937 random(4);
    for (int round = 0; round < 3000; ++round) {
        std::string legacy;
        const int length = static_cast<int>(random() % 12);
        for (int i = 0; i < length; ++i) legacy += vocabulary[random() % vocabulary.size()] + " ";
        const std::vector<std::string> words = Words(ModernizeArguments(legacy, ".mp4"));
        if (legacy.find('"') == std::string::npos) EXPECT_FALSE(Has(words, "-aic") || Has(words, "-mv0")) << legacy;
    }
}

// The rows that the old option spellings do not touch.
const std::set<size_t> kRowsNeedingNoRewrite = {5, 11, 12, 51, 52, 103};

TEST(CatalogueRewrite, EveryRowComesOutInTheModernDialect) {
    const auto catalogue = profiles::Catalogue();
    for (size_t row = 1; row <= catalogue.size(); ++row) {
        const profiles::CatalogueEntry& entry = catalogue[row - 1];
        const std::string legacy = entry.arguments;
        const std::string modern = ModernizeArguments(legacy, entry.extension);
        SCOPED_TRACE("row " + std::to_string(row) + ": " + modern);

        EXPECT_EQ(modern == legacy, kRowsNeedingNoRewrite.count(row) == 1);
        ASSERT_GE(modern.size(), 2u);
        EXPECT_EQ(modern.front(), '-');
        EXPECT_EQ(modern.back(), ' ');
        EXPECT_NE(modern[modern.size() - 2], ' ');
        EXPECT_EQ(ModernizeArguments(modern, entry.extension), modern);

        const std::vector<std::string> words = Words(modern);
        for (size_t i = 0; i < words.size(); ++i) {
            const std::string& word = words[i];
            EXPECT_FALSE(word.size() > 2 && word.ends_with("kb") && IsNumber(word.substr(0, word.size() - 2))) << word;
            EXPECT_FALSE(word == "libfaac" || word == "vorbis" || word.find("4mv") != std::string::npos) << word;
            for (const std::string old : {"-aic", "-mv0", "-croptop", "-cropbottom", "-deblockalpha", "-deblockbeta"})
                EXPECT_NE(word, old);
            if (word == "-trellis") EXPECT_TRUE(i + 1 < words.size() && IsNumber(words[i + 1]));
        }
        EXPECT_EQ(Has(words, "XVID"), std::string(entry.extension) == ".avi" && Has(Words(legacy), "XVID"));
        if (ValueOf(words, "-vcodec") == "mpeg4") EXPECT_FALSE(Has(words, "-level"));

        // Everything else stays, in its order: -me_method, the other -level
        // options, -partitions, -s vga, -target, -strict -1, -async 1 ...
        std::vector<std::string> kept, expected;
        for (const std::string& word : Words(legacy)) {
            if (!IsOption(word)) continue;
            if (word == "-aic" || word == "-mv0" || word.starts_with("-crop") || word.starts_with("-deblock")) continue;
            if (word == "-vtag" && std::string(entry.extension) != ".avi") continue;
            if (word == "-level" && ValueOf(words, "-vcodec") == "mpeg4") continue;
            expected.push_back(word);
        }
        for (const std::string& word : words)
            if (IsOption(word) && word != "-vf" && word != "-deblock" && word != "-mpv_flags") kept.push_back(word);
        EXPECT_EQ(kept, expected);
    }
}

TEST(CatalogueRewrite, RowsWithTheMostRewrites) {
    const auto row = [](size_t n) {
        const profiles::CatalogueEntry& entry = profiles::Catalogue()[n - 1];
        return ModernizeArguments(entry.arguments, entry.extension);
    };
    EXPECT_EQ(row(4), "-acodec libvorbis -aq 6 -vn -ac 2 ");
    EXPECT_EQ(row(41), "-vcodec mpeg4 -acodec aac -s 480x360 -r 24 -b 1000k -ar 48000 -ab 128k -ac 2 ");
    EXPECT_EQ(row(44),
              "-f avi -r 29.97 -vf crop=iw:ih-(58+62):0:58 -vcodec libxvid -vtag XVID -s 640x272 -aspect 2.35 "
              "-maxrate 1800k -b 1500k -qmin 3 -qmax 5 -bufsize 4096 -mbd 2 -bf 2 -flags +mv4+aic -trellis 1 "
              "-cmp 2 -subcmp 2 -g 300 -acodec libmp3lame -ar 48000 -ab 128k -ac 2 ");
    EXPECT_EQ(row(53),
              "-f dvd -vcodec mpeg2video -r 29.97 -s 352x480 -aspect 4:3 -b 4000k -mbd rd -trellis 1 "
              "-mpv_flags +mv0 -cmp 2 -subcmp 2 -acodec mp2 -ab 192k -ar 48000 -ac 2 ");
    EXPECT_EQ(row(73),
              "-r 29.97 -vcodec libxvid -s 400x240 -aspect 4:3  -maxrate 1200k -b 1200k -qmin 3 -qmax 5 "
              "-bufsize 4096 -mbd 2 -bf 2 -cmp 2 -subcmp 2 -g 300 -acodec libmp3lame -ar 44100 -ab 160k -ac 2 "
              "-async 1 ");
    EXPECT_EQ(row(92),
              "-f mp4 -r 23.976 -vcodec libx264 -s 1280x720 -b 3000k -aspect 4:3 -flags +loop -cmp +chroma "
              "-deblock 0:0  -maxrate 3500k -bufsize 4M -bt 256k -refs 1 -bf 3 -coder 1 -me_method umh "
              "-me_range 16 -subq 7 -partitions +parti4x4+parti8x8+partp8x8+partb8x8 -g 250 -keyint_min 25 "
              "-level 30 -qmin 10 -qmax 51 -qcomp 0.6 -trellis 2 -sc_threshold 40 -i_qfactor 0.71 -acodec aac "
              "-ab 384k -ar 48000 -ac 2 ");
}

TEST(EncoderVersion, ReadsTheLibavcodecMajor) {
    const std::string debian =
        "ffmpeg version 5.1.9-0+deb12u1 Copyright (c) 2000-2026 the FFmpeg developers\n"
        "built with gcc 12 (Debian 12.2.0-14+deb12u1)\n"
        "configuration: --prefix=/usr --enable-gpl --enable-libx264 --enable-shared\n"
        "libavutil      57. 28.100 / 57. 28.100\n"
        "libavcodec     59. 37.100 / 59. 37.100\n"
        "libavformat    59. 27.100 / 59. 27.100\n";
    EXPECT_EQ(engine::ParseLibavcodecMajor(debian), 59);
    EXPECT_EQ(engine::ParseLibavcodecMajor("x\r\n  libavcodec     58. 35.100 / 58. 35.100\r\n"), 58);
    EXPECT_EQ(engine::ParseLibavcodecMajor("libavcodec\t52. 72. 2 / 52. 72. 2"), 52);
    // Not at the start of its line, or not followed by a version: keep looking.
    EXPECT_EQ(engine::ParseLibavcodecMajor("built against libavcodec 60.\nlibavcodec 56. 1.0\n"), 56);
    EXPECT_EQ(engine::ParseLibavcodecMajor("libavcodec-dev 60.\nlibavcodec 57.\n"), 57);
}

TEST(EncoderVersion, NoVersionGivesMinusOne) {
    for (const std::string output : {"", "'ffmpeg' is not recognized", "libavcodec", "libavcodec     ",
                                     "libavcodec 58 / 58", "libavcodec .58", "libavcodec 1234567.1"})
        EXPECT_EQ(engine::ParseLibavcodecMajor(output), -1) << output;
}

TEST(EncoderVersion, ALibraryIsMissingOnlyWhereTheConfigurationSaysSo) {
    const std::string ours =
        "ffmpeg version 7.1.5-0+deb13u1 Copyright (c) 2000-2025 the FFmpeg developers\r\n"
        "configuration: --enable-gpl --enable-libx264 --enable-libmp3lame --enable-libxvidx\r\n"
        "libavcodec     61. 19.101 / 61. 19.101\r\n";
    EXPECT_TRUE(engine::ConfiguredWithout(ours, "libxvid"));
    EXPECT_FALSE(engine::ConfiguredWithout(ours, "libx264"));
    EXPECT_FALSE(engine::ConfiguredWithout(ours, "libmp3lame"));
    EXPECT_FALSE(engine::ConfiguredWithout("configuration: --enable-libxvid", "libxvid"));
    // No configuration line (an old encoder, not an encoder): nothing known.
    EXPECT_FALSE(engine::ConfiguredWithout("", "libxvid"));
    EXPECT_FALSE(engine::ConfiguredWithout("built with gcc\nlibavcodec 58. 1.0\n", "libxvid"));
    // Only a line that starts with the label counts.
    EXPECT_FALSE(engine::ConfiguredWithout("x configuration: --enable-gpl\n", "libxvid"));
}

TEST(EncoderVersion, ModernFromTheReleaseThatDroppedLibfaac) {
    EXPECT_FALSE(engine::UsesModernDialect(-1));
    EXPECT_FALSE(engine::UsesModernDialect(56));
    EXPECT_TRUE(engine::UsesModernDialect(57));
    EXPECT_TRUE(engine::UsesModernDialect(61));
}

}  // namespace
