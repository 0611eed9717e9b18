#include <gtest/gtest.h>

#include "runtime/Strings.h"

using namespace text;

TEST(Strings, CopyFollowsTheOneBasedSubstringRule) {
    EXPECT_EQ(Copy("abcdef", 2, 3), "bcd");
    EXPECT_EQ(Copy("abcdef", 0, 2), "ab") << "a start below 1 counts as 1";
    EXPECT_EQ(Copy("abcdef", -5, 2), "ab");
    EXPECT_EQ(Copy("abcdef", 7, 1), "") << "a start past the end";
    EXPECT_EQ(Copy("abcdef", 3, -1), "") << "a count below 0";
    EXPECT_EQ(Copy("abcdef", 3, 0), "");
    EXPECT_EQ(Copy("abcdef", 5, 100), "ef") << "a count past the end stops there";
    EXPECT_EQ(Pos("%1.", "ffmpeg -i %1 x %1.mov"), 16);
    EXPECT_EQ(Pos("zz", "abc"), 0);
    EXPECT_EQ(Pos("", "abc"), 0);
}

TEST(Strings, OnlyAsciiLettersAreLowered) {
    EXPECT_EQ(LowerAZ("FFMPEG -I %1 \xC3\x89T\xC3\xA9"), "ffmpeg -i %1 \xC3\x89t\xC3\xA9");
    EXPECT_EQ(Trim(" \t\r\n x y \x01"), "x y");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(RemoveFirstAmpersand("A&V&I"), "AV&I");
    EXPECT_EQ(RemoveFirstAmpersand("AVI"), "AVI");
}

TEST(Strings, IntegerTextIsReadLikeTheSettingsAlwaysWere) {
    EXPECT_EQ(StrToIntDef("1", 0), 1);
    EXPECT_EQ(StrToIntDef("-1", 0), -1);
    EXPECT_EQ(StrToIntDef("+12", 0), 12);
    EXPECT_EQ(StrToIntDef("  7", 0), 7);
    EXPECT_EQ(StrToIntDef("0x1F", 0), 31);
    EXPECT_EQ(StrToIntDef("0X1f", 0), 31);
    EXPECT_EQ(StrToIntDef("$ff", 0), 255);
    EXPECT_EQ(StrToIntDef("$FFFFFFFF", 0), -1) << "hexadecimal names any 32-bit pattern";
    EXPECT_EQ(StrToIntDef("2147483647", 0), 2147483647);
    EXPECT_EQ(StrToIntDef("-2147483648", 0), INT32_MIN);
    EXPECT_EQ(StrToIntDef("2147483648", 5), 5) << "decimal overflow";
    EXPECT_EQ(StrToIntDef("yes", 5), 5);
    EXPECT_EQ(StrToIntDef("", 5), 5);
    EXPECT_EQ(StrToIntDef("1x", 5), 5);
    EXPECT_EQ(StrToIntDef("0x", 5), 5);
    EXPECT_EQ(StrToIntDef("-", 5), 5);
    EXPECT_EQ(StrToIntDef("7 ", 5), 5) << "trailing blanks are not a number";
}

TEST(Strings, PathPartsWithMultiByteNames) {
    const std::string path = "C:\\Vid\xC3\xA9os \xE6\x97\xA5\xE6\x9C\xAC\\clip.old \xF0\x9F\x8E\xAC.avi";
    EXPECT_EQ(ExtractFilePath(path), "C:\\Vid\xC3\xA9os \xE6\x97\xA5\xE6\x9C\xAC\\");
    EXPECT_EQ(ExtractFileName(path), "clip.old \xF0\x9F\x8E\xAC.avi");
    EXPECT_EQ(ExtractFileExt(path), ".avi");
    EXPECT_EQ(ChangeFileExt(path, ".mp4"), "C:\\Vid\xC3\xA9os \xE6\x97\xA5\xE6\x9C\xAC\\clip.old \xF0\x9F\x8E\xAC.mp4");
    EXPECT_EQ(ChangeFileExt("C:\\v.d\\noext", ".mp4"), "C:\\v.d\\noext.mp4") << "a dot in the folder is no extension";
    EXPECT_EQ(ChangeFileExt("C:clip", ".mp4"), "C:clip.mp4");
    EXPECT_EQ(ExtractFileExt("C:\\v.d\\noext"), "");
    EXPECT_EQ(IncludeTrailingPathDelimiter("D:\\out"), "D:\\out\\");
    EXPECT_EQ(IncludeTrailingPathDelimiter("D:\\out\\"), "D:\\out\\");
    EXPECT_EQ(IncludeTrailingPathDelimiter(""), "\\");
}

TEST(Strings, Utf8Validity) {
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("plain"));
    EXPECT_TRUE(IsValidUtf8("Caf\xC3\xA9 \xE2\x80\x93 \xE6\x97\xA5 \xCE\x95 \xF0\x9F\x8E\xAC"));
    EXPECT_FALSE(IsValidUtf8("Vid\xE9os")) << "a legacy code page byte";
    EXPECT_FALSE(IsValidUtf8("\xC3")) << "cut at the end";
    EXPECT_FALSE(IsValidUtf8("\xE6\x97")) << "cut at the end";
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF")) << "overlong";
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80")) << "a surrogate";
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80")) << "past U+10FFFF";
    EXPECT_FALSE(IsValidUtf8("\x80"));
}

TEST(Strings, AcceleratorLetters) {
    EXPECT_TRUE(IsAccel('o', "&OK"));
    EXPECT_TRUE(IsAccel('O', "&OK"));
    EXPECT_FALSE(IsAccel('k', "&OK"));
    EXPECT_FALSE(IsAccel('b', "R&&B")) << "a doubled ampersand is a plain one";
    EXPECT_TRUE(IsAccel('d', "R&&B &Done"));
    EXPECT_FALSE(IsAccel('x', "Exit"));
}
