#pragma once
// Text helpers shared by every part of the program. They work on bytes, the
// way the program's single-byte text always has; markers they search for
// ("%1.", "&", ".", "\\") are ASCII, so a UTF-8 character is never cut.
// No Windows API here: this builds and is tested natively too.
#include <cstdint>
#include <string>

namespace text {

// 1-based substring: a start below 1 counts as 1; a start past the end or a
// count below 1 gives ""; a count running past the end stops there.
std::string Copy(const std::string& s, long long start, long long count);

// 1-based position of the first occurrence of sub in s, 0 when absent.
long long Pos(const std::string& sub, const std::string& s);

// Only the letters A to Z are lowered; every other byte stays as it is.
std::string LowerAZ(std::string s);

bool StartsWith(const std::string& s, const std::string& prefix);

// Removes blanks and control characters (bytes up to 0x20) at both ends.
std::string Trim(const std::string& s);

// Integer text as the program has always read it: leading blanks, an
// optional sign, decimal digits or hexadecimal after "$", "0x" or "0X".
// Anything else (or an empty text, or an overflow) gives def.
int32_t StrToIntDef(const std::string& s, int32_t def);

// Removes the first "&" (the menu's accelerator mark), if any.
std::string RemoveFirstAmpersand(const std::string& s);

// Path parts; the delimiters are "\\" and, for drive names, ":".
std::string ExtractFilePath(const std::string& path);   // up to and including the last delimiter
std::string ExtractFileName(const std::string& path);   // after the last delimiter
std::string ExtractFileExt(const std::string& path);    // from the last "." of the name on, or ""
std::string ChangeFileExt(const std::string& path, const std::string& ext);
std::string IncludeTrailingPathDelimiter(const std::string& path);

// True when ch (any case) is the letter marked with "&" in caption; "&&"
// is a literal ampersand, not a mark.
bool IsAccel(char ch, const std::string& caption);

// True when s is well-formed UTF-8 (plain ASCII included).
bool IsValidUtf8(const std::string& s);

}  // namespace text
