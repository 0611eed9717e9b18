#include "engine/CommandLine.h"

#include <cmath>
#include <vector>

#include "runtime/Strings.h"

namespace engine {
namespace {

std::string EncoderProgram(const std::string& encoderPath) {
    return encoderPath.empty() ? "ffmpeg " : "\"" + encoderPath + "\" ";
}

}  // namespace

std::string BuildEncoderCommandLine(const std::string& encoderPath, bool overwrite,
                                    const std::string& inputFile, const std::string& arguments,
                                    const std::string& outputFile) {
    std::string line = EncoderProgram(encoderPath);
    if (overwrite) line += "-y ";
    line += "-i \"" + inputFile + "\" ";
    line += arguments;
    line += "\"" + outputFile + "\"";
    return line;
}

std::string EncoderVersionCommandLine(const std::string& encoderPath) {
    return EncoderProgram(encoderPath) + "-version";
}

std::string MakeOutputPath(bool sameAsInput, const std::string& outputFolder,
                           const std::string& inputFile, const std::string& outputExt) {
    if (sameAsInput) return text::ChangeFileExt(inputFile, outputExt);
    return text::IncludeTrailingPathDelimiter(outputFolder) +
           text::ChangeFileExt(text::ExtractFileName(inputFile), outputExt);
}

std::string TwoDigits(int32_t n) {
    return n < 10 ? "0" + std::to_string(n) : std::to_string(n);
}

int64_t RoundHalfEven(double value) {
    // The default floating-point rounding mode is to nearest, ties to even.
    return static_cast<int64_t>(std::llrint(value));
}

std::string MinutesSeconds(int64_t totalSeconds) {
    return TwoDigits(static_cast<int32_t>(totalSeconds / 60)) + ":" +
           TwoDigits(static_cast<int32_t>(totalSeconds % 60));
}

namespace {

// Root ("C:\", "C:", "\", "\\server\share") plus the resolved segments, in
// lower case. ".." never climbs above a root; in a relative path with
// nothing left to climb it stays, since what it names is unknown here.
std::string NormalPath(std::string path) {
    for (char& c : path)
        if (c == '/') c = '\\';

    std::string root;
    size_t pos = 0;
    size_t fixedSegments = 0;  // server and share of a network path
    bool rooted = false;
    if (path.compare(0, 2, "\\\\") == 0) {
        root = "\\\\";
        pos = 2;
        fixedSegments = 2;
        rooted = true;
    } else if (path.size() >= 2 && path[1] == ':') {
        root = path.substr(0, 2);
        pos = 2;
        if (path.size() > 2 && path[2] == '\\') {
            root += '\\';
            pos = 3;
            rooted = true;
        }
    } else if (!path.empty() && path[0] == '\\') {
        root = "\\";
        pos = 1;
        rooted = true;
    }

    std::vector<std::string> segments;
    while (pos <= path.size()) {
        size_t end = path.find('\\', pos);
        if (end == std::string::npos) end = path.size();
        const std::string segment = path.substr(pos, end - pos);
        pos = end + 1;
        if (segment.empty() || segment == ".") continue;
        if (segment == "..") {
            if (segments.size() > fixedSegments && segments.back() != "..") segments.pop_back();
            else if (!rooted) segments.push_back(segment);
            continue;
        }
        segments.push_back(segment);
    }

    std::string result = root;
    for (size_t i = 0; i < segments.size(); ++i) {
        if (i > 0) result += '\\';
        result += segments[i];
    }
    return text::LowerAZ(result);
}

}  // namespace

bool SamePath(const std::string& a, const std::string& b) {
    return NormalPath(a) == NormalPath(b);
}

}  // namespace engine
