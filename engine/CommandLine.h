#pragma once
// The encoder's command line, the output path of each file and the time
// texts of the progress window. No Windows API here.
#include <cstdint>
#include <string>

namespace engine {

// An empty encoder path runs the bare name "ffmpeg", which the platform finds
// beside the program first. The arguments go in verbatim: they end in a blank
// already, so nothing is put between them and the quoted output.
std::string BuildEncoderCommandLine(const std::string& encoderPath, bool overwrite,
                                    const std::string& inputFile, const std::string& arguments,
                                    const std::string& outputFile);

// The same encoder asked for its version: "ffmpeg -version" or the path in
// double quotes followed by " -version".
std::string EncoderVersionCommandLine(const std::string& encoderPath);

// The input's name with outputExt in place of its extension, beside the
// input or in outputFolder.
std::string MakeOutputPath(bool sameAsInput, const std::string& outputFolder,
                           const std::string& inputFile, const std::string& outputExt);

// A leading zero below 10: 7 gives "07", 125 gives "125".
std::string TwoDigits(int32_t n);

// To the nearest whole number, halves to the even neighbour.
int64_t RoundHalfEven(double value);

// Minutes ":" seconds; minutes are never wrapped into hours (3725 s is "62:05").
std::string MinutesSeconds(int64_t totalSeconds);

// True when both name the same file: "/" read as "\\", doubled delimiters
// and "." / ".." segments resolved, ASCII letter case ignored. The Windows
// side passes both through the platform's full-path resolution first.
bool SamePath(const std::string& a, const std::string& b);

}  // namespace engine
