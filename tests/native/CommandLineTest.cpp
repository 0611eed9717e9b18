#include "engine/CommandLine.h"

#include <gtest/gtest.h>

namespace {

using engine::BuildEncoderCommandLine;
using engine::MakeOutputPath;
using engine::SamePath;

const char* const Arguments = "-vcodec mpeg4 -acodec libfaac -b 1800kb -ar 44100 -ab 128kb -ac 2 ";

TEST(CommandLineTest, DefaultEncoderAfterConfirmedOverwrite) {
    EXPECT_EQ(BuildEncoderCommandLine("", true, "C:\\in\\clip.avi", Arguments, "D:\\out\\clip.mp4"),
              "ffmpeg -y -i \"C:\\in\\clip.avi\" -vcodec mpeg4 -acodec libfaac -b 1800kb -ar 44100 "
              "-ab 128kb -ac 2 \"D:\\out\\clip.mp4\"");
}

TEST(CommandLineTest, QuotedEncoderPathWithoutOverwrite) {
    EXPECT_EQ(BuildEncoderCommandLine("C:\\Tools\\ffmpeg.exe", false, "C:\\a b\\in.avi", "-vn ",
                                      "C:\\a b\\in.mp3"),
              "\"C:\\Tools\\ffmpeg.exe\" -i \"C:\\a b\\in.avi\" -vn \"C:\\a b\\in.mp3\"");
}

TEST(CommandLineTest, NothingAddedAroundTheArguments) {
    // An argument string without its closing blank (a hand-edited profile)
    // runs straight into the output; an empty one leaves only the blank after
    // the input.
    EXPECT_EQ(BuildEncoderCommandLine("", false, "a", "-f avi", "b"), "ffmpeg -i \"a\" -f avi\"b\"");
    EXPECT_EQ(BuildEncoderCommandLine("", false, "a", "", "b"), "ffmpeg -i \"a\" \"b\"");
}

TEST(OutputPathTest, BesideTheInput) {
    EXPECT_EQ(MakeOutputPath(true, "D:\\ignored", "C:\\v\\a.flv", ".mp4"), "C:\\v\\a.mp4");
    EXPECT_EQ(MakeOutputPath(true, "", "C:\\v\\clip.old.avi", ".mp4"), "C:\\v\\clip.old.mp4");
    EXPECT_EQ(MakeOutputPath(true, "", "C:\\v.d\\clip", ".mp4"), "C:\\v.d\\clip.mp4");
}

TEST(OutputPathTest, InTheOutputFolder) {
    EXPECT_EQ(MakeOutputPath(false, "D:\\out", "C:\\v\\a.flv", ".mp4"), "D:\\out\\a.mp4");
    EXPECT_EQ(MakeOutputPath(false, "D:\\out\\", "C:\\v\\a.flv", ".mp4"), "D:\\out\\a.mp4");
    EXPECT_EQ(MakeOutputPath(false, "D:\\out", "C:\\v\\clip.old.avi", ".mp4"), "D:\\out\\clip.old.mp4");
    EXPECT_EQ(MakeOutputPath(false, "D:\\out", "C:\\v.d\\clip", ".wav"), "D:\\out\\clip.wav");
    // An unknown profile has no extension: the old one is dropped.
    EXPECT_EQ(MakeOutputPath(false, "D:\\out", "C:\\v\\a.flv", ""), "D:\\out\\a");
}

TEST(TimeTextTest, TwoDigits) {
    EXPECT_EQ(engine::TwoDigits(0), "00");
    EXPECT_EQ(engine::TwoDigits(7), "07");
    EXPECT_EQ(engine::TwoDigits(9), "09");
    EXPECT_EQ(engine::TwoDigits(10), "10");
    EXPECT_EQ(engine::TwoDigits(125), "125");
}

TEST(TimeTextTest, RoundHalfEven) {
    EXPECT_EQ(engine::RoundHalfEven(0.5), 0);
    EXPECT_EQ(engine::RoundHalfEven(1.5), 2);
    EXPECT_EQ(engine::RoundHalfEven(2.5), 2);
    EXPECT_EQ(engine::RoundHalfEven(40.8), 41);
    EXPECT_EQ(engine::RoundHalfEven(40.49), 40);
    EXPECT_EQ(engine::RoundHalfEven(-1.5), -2);
    EXPECT_EQ(engine::RoundHalfEven(-2.5), -2);
    EXPECT_EQ(engine::RoundHalfEven(1e12 + 0.5), 1000000000000LL);
}

TEST(TimeTextTest, MinutesSeconds) {
    EXPECT_EQ(engine::MinutesSeconds(0), "00:00");
    EXPECT_EQ(engine::MinutesSeconds(59), "00:59");
    EXPECT_EQ(engine::MinutesSeconds(61), "01:01");
    EXPECT_EQ(engine::MinutesSeconds(600), "10:00");
    EXPECT_EQ(engine::MinutesSeconds(3725), "62:05");
    EXPECT_EQ(engine::MinutesSeconds(6000), "100:00");
}

TEST(SamePathTest, SameFile) {
    EXPECT_TRUE(SamePath("C:\\v\\a.avi", "C:\\v\\a.avi"));
    EXPECT_TRUE(SamePath("C:\\V\\A.AVI", "c:\\v\\a.avi"));
    EXPECT_TRUE(SamePath("C:/v/a.avi", "C:\\v\\a.avi"));
    EXPECT_TRUE(SamePath("C:\\v\\\\a.avi", "C:\\v\\a.avi"));
    EXPECT_TRUE(SamePath("C:\\v\\.\\a.avi", "C:\\v\\a.avi"));
    EXPECT_TRUE(SamePath("C:\\v\\x\\..\\a.avi", "C:\\v\\a.avi"));
    EXPECT_TRUE(SamePath("C:\\..\\v\\a.avi", "C:\\v\\a.avi"));
    EXPECT_TRUE(SamePath("\\\\srv\\share\\..\\a.avi", "\\\\SRV\\share\\a.avi"));
}

TEST(SamePathTest, DifferentFiles) {
    EXPECT_FALSE(SamePath("C:\\v\\a.avi", "C:\\v\\a.mp4"));
    EXPECT_FALSE(SamePath("C:\\v\\a.avi", "D:\\v\\a.avi"));
    EXPECT_FALSE(SamePath("C:\\v\\a.avi", "C:\\w\\a.avi"));
    EXPECT_FALSE(SamePath("C:\\v\\x\\..\\..\\a.avi", "C:\\v\\a.avi"));
    EXPECT_FALSE(SamePath("..\\a.avi", "a.avi"));
    EXPECT_FALSE(SamePath("C:a.avi", "C:\\a.avi"));
    EXPECT_FALSE(SamePath("\\\\srv\\a.avi", "\\srv\\a.avi"));
    // Only ASCII letters fold: bytes of the code page above 0x7F stay apart.
    EXPECT_FALSE(SamePath("C:\\\xC4.avi", "C:\\\xE4.avi"));
}

}  // namespace
