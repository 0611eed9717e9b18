// Bounded fuzzing of the portable parsers: random bytes and mutated real
// encoder output, from a fixed seed, so every run tries the same inputs.
// Each test checks what must hold for any input, and prints how many inputs
// it tried.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "app/IniText.h"
#include "engine/ArgumentRewrite.h"
#include "engine/CommandLine.h"
#include "engine/FailureReason.h"
#include "engine/OutputParser.h"
#include "profiles/Catalogue.h"
#include "runtime/Strings.h"

namespace {

std::string ReadData(const char* name) {
    std::ifstream in(std::string(MFVC_SOURCE_DIR) + "/tests/native/data/" + name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

const std::string kProgress =
    "  Duration: 00:01:23.45, start: 0.000000, bitrate: 1205 kb/s\r\n"
    "frame=  500 fps= 25 q=2.0 size=  1024kB time=41.50 bitrate=202.1kbits/s\r"
    "frame=  600 fps= 25 q=2.0 size=  1124kB time=00:00:50.10 bitrate=202.1kbits/s\r"
    "frame=  900 fps= 25 q=2.0 size=  2048kB time=00:01:13.00 bitrate=202.1kbits/s\r"
    "size=    12kB time=00:01:23.00 bitrate= 98.3kbits/s\r\n";
const std::string kIni =
    "; settings\r\n[Options]\r\nOutputDirectory=C:\\out\\\r\nOutputFormat=\"AVI (*.avi)\"\r\n"
    "SameInput=0\r\n[Other]\r\nOutputFormat=x\r\n";

// The captured encoder output, a progress run, a settings file and the
// catalogue's argument strings.
const std::vector<std::string>& Seeds() {
    static const std::vector<std::string> seeds = [] {
        std::vector<std::string> s;
        for (const char* name : {"encoder-unknown-codec.txt", "encoder-text-as-avi.txt", "encoder-truncated.txt",
                                 "encoder-truncated-mp4.txt", "encoder-refused-value.txt",
                                 "encoder-unknown-option.txt", "encoder-empty-output.txt", "encoder-converted.txt",
                                 "encoder-signal-2.txt"})
            s.push_back(ReadData(name));
        s.push_back(kProgress);
        s.push_back(kIni);
        for (const profiles::CatalogueEntry& e : profiles::Catalogue()) s.push_back(e.arguments);
        return s;
    }();
    return seeds;
}

class Mutator {
public:
    explicit Mutator(uint32_t seed) : rng_(seed) {}

    size_t Below(size_t n) { return n == 0 ? 0 : std::uniform_int_distribution<size_t>(0, n - 1)(rng_); }

    // Bytes the parsers look for come up often; any byte can.
    char Byte() {
        static const char interesting[] = "\r\n\t :.=-\"\\/%$xX0123456789[]@#";
        if (Below(3) == 0) return static_cast<char>(Below(256));
        return interesting[Below(sizeof interesting - 1)];
    }

    std::string Random(size_t maxLength) {
        std::string s(Below(maxLength + 1), '\0');
        for (char& c : s) c = Byte();
        return s;
    }

    std::string Mutated() { return Mutated(Seeds()[Below(Seeds().size())]); }

    std::string Mutated(std::string s) {
        const std::vector<std::string>& seeds = Seeds();
        const size_t edits = 1 + Below(8);
        for (size_t i = 0; i < edits; ++i) {
            const size_t at = Below(s.size() + 1);
            switch (Below(6)) {
            case 0:  // overwrite a byte
                if (!s.empty()) s[Below(s.size())] = Byte();
                break;
            case 1:  // insert bytes
                s.insert(at, Random(6));
                break;
            case 2:  // delete a span
                s.erase(at, Below(32));
                break;
            case 3: {  // repeat a span
                const std::string span = s.substr(at, Below(64));
                s.insert(at, span);
                break;
            }
            case 4: {  // splice in part of another seed
                const std::string& other = seeds[Below(seeds.size())];
                const size_t from = Below(other.size() + 1);
                s.insert(at, other.substr(from, Below(200)));
                break;
            }
            default:  // cut the end off
                s.resize(at);
                break;
            }
        }
        return s;
    }

    std::string Input() { return Below(4) == 0 ? Random(300) : Mutated(); }

private:
    std::mt19937 rng_;
};

// "MM:SS": at least two digits, a colon, exactly two digits below 60.
bool WellFormedTime(const std::string& t) {
    const size_t colon = t.find(':');
    if (colon == std::string::npos || colon < 2 || t.size() - colon - 1 != 2) return false;
    for (size_t i = 0; i < t.size(); ++i)
        if (i != colon && (t[i] < '0' || t[i] > '9')) return false;
    return (t[colon + 1] - '0') * 10 + (t[colon + 2] - '0') < 60;
}

TEST(FuzzTest, OutputParser) {
    Mutator m(20240612);
    const int iterations = 10000;
    size_t notes = 0;
    for (int i = 0; i < iterations; ++i) {
        double now = 45500.25;
        engine::OutputParser parser([&now] { return now += 0.37 / 86400.0; });
        const std::string input = m.Below(2) == 0 ? m.Mutated(kProgress) : m.Input();
        std::vector<engine::ProgressNote> got;
        // Random chunks on both streams, as the pipes deliver them.
        for (size_t at = 0; at < input.size();) {
            const size_t n = 1 + m.Below(input.size() - at < 200 ? input.size() - at : 200);
            for (auto& note : parser.Parse(input.data() + at, n, static_cast<int>(m.Below(2)))) got.push_back(note);
            at += n;
        }
        for (auto& note : parser.Finish()) got.push_back(note);
        for (const engine::ProgressNote& note : got) {
            ASSERT_GE(note.Percent, 1) << i;
            ASSERT_LE(note.Percent, 100) << i;
            ASSERT_TRUE(WellFormedTime(note.Elapsed)) << note.Elapsed << " " << i;
            ASSERT_TRUE(WellFormedTime(note.Estimated)) << note.Estimated << " " << i;
        }
        if (!got.empty()) EXPECT_TRUE(parser.ProgressSeen);
        notes += got.size();
    }
    std::printf("output parser: %d inputs, %zu progress notes\n", iterations, notes);
}

// Some line of `text` (lines end at CR or LF) holds `part`, and `part` holds
// no line end.
bool WithinOneLine(const std::string& text, const std::string& part) {
    if (part.find_first_of("\r\n") != std::string::npos) return false;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) end = text.size();
        if (std::string_view(text).substr(start, end - start).find(part) != std::string_view::npos) return true;
        start = end + 1;
    }
    return false;
}

TEST(FuzzTest, FailureReasons) {
    Mutator m(17);
    const int iterations = 10000;
    int causes = 0;
    for (int i = 0; i < iterations; ++i) {
        const std::string input = m.Input();
        const std::string cause = engine::EncoderCause(input);
        ASSERT_LE(cause.size(), 160u) << i;
        if (!cause.empty()) {
            ++causes;
            // A cause that had to be cut ends in "..." after its part of the line.
            const std::string part = cause.ends_with("...") && !WithinOneLine(input, cause)
                                         ? cause.substr(0, cause.size() - 3)
                                         : cause;
            ASSERT_TRUE(WithinOneLine(input, part)) << i << ": " << cause;
            ASSERT_NE(cause.front(), ' ') << i;
            ASSERT_NE(cause.back(), ' ') << i;
        }

        // The ring holds the last bytes of everything appended, in order.
        const size_t capacity = 1 + m.Below(64);
        engine::OutputTail tail(capacity);
        std::string all;
        for (size_t at = 0; at < input.size();) {
            const size_t n = 1 + m.Below(input.size() - at < 100 ? input.size() - at : 100);
            tail.Append(input.data() + at, n);
            all.append(input, at, n);
            at += n;
        }
        const size_t keep = all.size() < capacity ? all.size() : capacity;
        ASSERT_EQ(tail.Text(), all.substr(all.size() - keep)) << i;

        // A verdict for any run; Converted only for a clean, verified run.
        engine::FinishedRun run;
        run.ExitCode = m.Below(3) == 0 ? 0xC0000000u + static_cast<uint32_t>(m.Below(256))
                                       : static_cast<uint32_t>(m.Below(3));
        run.ProgressSeen = m.Below(2) == 1;
        run.OutputIsNonEmptyFile = m.Below(2) == 1;
        run.StdErrTail = input;
        const engine::FileVerdict v = engine::JudgeRun(run);
        if (v.Kind == engine::FailureKind::Converted)
            ASSERT_TRUE(run.ExitCode == 0 && run.ProgressSeen && run.OutputIsNonEmptyFile) << i;
        ASSERT_EQ(v.Kind == engine::FailureKind::EncoderSaid, !v.Cause.empty()) << i;
        ASSERT_EQ(v.Kind == engine::FailureKind::Crashed, run.ExitCode >= 0xC0000000u) << i;
    }
    std::printf("failure reasons: %d inputs, %d with a cause\n", iterations, causes);
}

TEST(FuzzTest, ArgumentRewrite) {
    Mutator m(3);
    const int iterations = 3000;
    const char* extensions[] = {".avi", "mp4", ".3gp", "", ".mp3", "m4a", ".flv", ".wmv"};
    int changed = 0;
    for (int i = 0; i < iterations; ++i) {
        const std::string input = m.Input();
        const std::string ext = extensions[m.Below(std::size(extensions))];
        const std::string once = engine::ModernizeArguments(input, ext);
        if (once != input) ++changed;
        // What was rewritten needs no second rewrite.
        ASSERT_EQ(engine::ModernizeArguments(once, ext), once) << i << ": [" << input << "]";
    }
    std::printf("argument rewrite: %d inputs, %d rewritten\n", iterations, changed);
}

TEST(FuzzTest, IniText) {
    Mutator m(5);
    const int iterations = 10000;
    const char* keys[] = {"OutputDirectory", "OutputFormat", "SameInput", "=", ""};
    int found = 0;
    for (int i = 0; i < iterations; ++i) {
        const std::string input = m.Below(2) == 0 ? m.Mutated(kIni) : m.Input();
        const auto value = settings::FindRawIniValue(input, "Options", keys[m.Below(std::size(keys))]);
        if (!value) continue;
        ++found;
        // A value is part of one line; blanks at its ends only inside the
        // double quotes that enclosed it.
        ASSERT_TRUE(WithinOneLine(input, *value)) << i;
        const auto blank = [](char c) { return c == ' ' || c == '\t'; };
        if (!value->empty() && (blank(value->front()) || blank(value->back())))
            ASSERT_TRUE(WithinOneLine(input, "\"" + *value + "\"")) << i;
    }
    std::printf("INI text: %d inputs, %d values found\n", iterations, found);
}

TEST(FuzzTest, PathsAndTexts) {
    Mutator m(11);
    const int iterations = 5000;
    for (int i = 0; i < iterations; ++i) {
        const std::string a = m.Input().substr(0, 120);
        const std::string b = m.Input().substr(0, 120);
        // The same path is itself, in any ASCII case; the relation is symmetric.
        ASSERT_TRUE(engine::SamePath(a, a)) << i;
        ASSERT_TRUE(engine::SamePath(a, text::LowerAZ(a))) << i;
        ASSERT_EQ(engine::SamePath(a, b), engine::SamePath(b, a)) << i;

        ASSERT_EQ(text::ExtractFilePath(a) + text::ExtractFileName(a), a) << i;
        const std::string name = text::ExtractFileName(a);
        const std::string ext = text::ExtractFileExt(a);
        ASSERT_EQ(name.substr(name.size() - ext.size()), ext) << i;
        ASSERT_EQ(text::Trim(text::Trim(a)), text::Trim(a)) << i;

        const std::string output = engine::MakeOutputPath(m.Below(2) == 1, "C:\\out", a, ".mp4");
        ASSERT_EQ(text::ExtractFileExt(output), ".mp4") << i << ": [" << a << "]";

        // Profiles: a manual line built from any extension is refused exactly
        // when that extension is.
        const std::string manual = profiles::ComposeManualCommandLine("-vn", b);
        if (b.find("%1.") == std::string::npos)
            ASSERT_EQ(profiles::ManualExtensionRefused(manual), !profiles::IsAcceptableExtension(b)) << i;

        const int64_t seconds = static_cast<int64_t>(m.Below(1000000));
        ASSERT_TRUE(WellFormedTime(engine::MinutesSeconds(seconds))) << seconds;
    }
    std::printf("paths and texts: %d input pairs\n", iterations);
}

}  // namespace
