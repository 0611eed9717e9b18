#include "engine/FailureReason.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using engine::FailureKind;

// Standard error of the real encoder, captured from failed runs (banner
// configuration line left out).
std::string Capture(const char* name) {
    const std::string path = std::string(MFVC_SOURCE_DIR) + "/tests/native/data/" + name;
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in) << path;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(EncoderCauseTest, RealFailures) {
    struct Case {
        const char* file;
        const char* cause;
    } cases[] = {
        {"encoder-unknown-codec.txt", "Unknown encoder 'nosuchcodec'"},
        {"encoder-text-as-avi.txt", "text.avi: Invalid data found when processing input"},
        {"encoder-truncated.txt", "trunc2.avi: Invalid data found when processing input"},
        {"encoder-truncated-mp4.txt", "trunc.mp4: Invalid data found when processing input"},
        // The closers after it ("Error initializing output stream ... maybe
        // incorrect parameters", "Conversion failed!") say nothing.
        {"encoder-refused-value.txt", "Error setting option b to value abc."},
        {"encoder-unknown-option.txt", "Unrecognized option 'nosuchopt'."},
        {"encoder-empty-output.txt",
         "Output file is empty, nothing was encoded (check -ss / -t / -frames parameters if used)"},
        // Stopped by a signal after progress: listings and progress only.
        {"encoder-signal-2.txt", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(engine::EncoderCause(Capture(c.file)), c.cause) << c.file;
}

TEST(EncoderCauseTest, SkipsProgressBlankAndClosingLines) {
    EXPECT_EQ(engine::EncoderCause("Bad thing\r\n   \r\nframe=  10 fps=0.0 q=2.0 size= 1kB time=00:00:00.40\r"),
              "Bad thing");
    EXPECT_EQ(engine::EncoderCause("Bad thing\nsize=      12kB time=00:00:01.00 bitrate= 98.3kbits/s\n"),
              "Bad thing");
    EXPECT_EQ(engine::EncoderCause("Bad thing\nsize=    1024kB bitrate=N/A\n"), "Bad thing");
    EXPECT_EQ(engine::EncoderCause("Bad thing\nsomething time=1.00 more\n"), "Bad thing");
    EXPECT_EQ(engine::EncoderCause("Bad thing\rConversion failed!\r"), "Bad thing");
    EXPECT_EQ(engine::EncoderCause("Bad thing\nExiting normally, received signal 15.\n"), "Bad thing");
    EXPECT_EQ(engine::EncoderCause("Conversion failed!\r\n"), "");
    EXPECT_EQ(engine::EncoderCause(""), "");
    EXPECT_EQ(engine::EncoderCause("\r\n\n\r"), "");
    // Listings and the key help are indented or fixed texts, never a cause.
    EXPECT_EQ(engine::EncoderCause("Bad thing\n  Stream #0:0 -> #0:0 (mpeg4 -> h264)\nPress [q] to stop, [?] for help\n"),
              "Bad thing");
    // An "Error while ..." line that names what went wrong is the cause.
    EXPECT_EQ(engine::EncoderCause("Error while decoding stream #0:0: Invalid data found when processing input\n"),
              "Error while decoding stream #0:0: Invalid data found when processing input");
    // The last cause wins; a line without an end counts.
    EXPECT_EQ(engine::EncoderCause("First\nSecond"), "Second");
}

TEST(EncoderCauseTest, CleanUpNoticesAfterTheCauseAreNoCause) {
    // A refused bit rate for an AVI with sound, as today's encoder says it:
    // what follows the refusal is generic.
    const std::string refused =
        "Please use -b:a or -b:v, -b is ambiguous\r\n"
        "[msmpeg4 @ 0000000000ca5340] [Eval @ 000000000021daf0] Undefined constant or missing '(' in 'abc'\r\n"
        "[msmpeg4 @ 0000000000ca5340] Unable to parse option value \"abc\"\r\n"
        "[msmpeg4 @ 0000000000ca5340] Error setting option b to value abc.\r\n"
        "[vost#0:0/msmpeg4 @ 0000000000c9ca00] Error applying encoder options: Invalid argument\r\n"
        "Error opening output file out2.avi.\r\n"
        "Error opening output files: Invalid argument\r\n";
    EXPECT_EQ(engine::EncoderCause(refused), "Error setting option b to value abc.");
    // The older encoder: the audio encoder's clean-up notice came last.
    EXPECT_EQ(engine::EncoderCause("[libmp3lame @ 000000000264e1c0] Error setting option b to value abc.\r\n"
                                   "[libmp3lame @ 000000000264e1c0] 3 frames left in the queue on closing\r\n"
                                   "Task finished with error code: -22 (Invalid argument)\r\n"
                                   "Terminating thread with return code -22 (Invalid argument)\r\n"
                                   "Error sending frames to consumers: Invalid argument\r\n"
                                   "Nothing was written into output file, because at least one of its streams "
                                   "received no packets.\r\n"
                                   "Conversion failed!\r\n"),
              "Error setting option b to value abc.");
    // The statistics encoders print as they close.
    EXPECT_EQ(engine::EncoderCause("Error writing trailer of out.mp4: No space left on device\n"
                                   "[libx264 @ 0x1] frame I:1     Avg QP:20.00  size:  1234\n"
                                   "[libx264 @ 0x1] mb I  I16..4: 10.0% 50.0% 40.0%\n"
                                   "[libx264 @ 0x1] kb/s:123.45\n"
                                   "[aac @ 0x2] Qavg: 652.1\n"
                                   "[mp2 @ 0x3] 12 frames left in the queue on closing\n"),
              "Error writing trailer of out.mp4: No space left on device");
    EXPECT_EQ(engine::EncoderCause("[vost#0:0 @ 0000000000c9b100] Unknown encoder 'nosuchcodec'\r\n"
                                   "[vost#0:0 @ 0000000000c9b100] Error selecting an encoder\r\n"
                                   "Error opening output file out.avi.\r\n"
                                   "Error opening output files: Encoder not found\r\n"),
              "Unknown encoder 'nosuchcodec'");
    // Only a count of frames makes the notice.
    EXPECT_EQ(engine::EncoderCause("frames left in the queue on closing\n"), "frames left in the queue on closing");
}

TEST(EncoderCauseTest, TagsAndBlanksTrimmed) {
    EXPECT_EQ(engine::EncoderCause("[mp4 @ 0x55d0] [Eval @ 0x7ffd] Undefined constant 'x'\n"),
              "Undefined constant 'x'");
    EXPECT_EQ(engine::EncoderCause("\t\r[vost#0:0 @ 000001c2] Unknown encoder 'zz'  \t\r\n"), "Unknown encoder 'zz'");
    // Brackets that are no tag stay.
    EXPECT_EQ(engine::EncoderCause("[note] kept\n"), "[note] kept");
    // A tag with nothing after it is no cause.
    EXPECT_EQ(engine::EncoderCause("Bad thing\n[libx264 @ 0x1] \n"), "Bad thing");
}

TEST(EncoderCauseTest, CutTo160BytesOnACharacterBoundaryWithAnEllipsis) {
    const std::string ascii(200, 'a');
    EXPECT_EQ(engine::EncoderCause(ascii + "\n"), std::string(157, 'a') + "...");
    // 160 bytes fit whole, with no mark.
    EXPECT_EQ(engine::EncoderCause(std::string(160, 'b') + "\n"), std::string(160, 'b'));
    EXPECT_EQ(engine::EncoderCause(std::string(161, 'b') + "\n"), std::string(157, 'b') + "...");

    // "é" is two bytes: 156 'a' then "é" would end at byte 158, past the 157
    // left before the mark, so it goes.
    const std::string e = "\xC3\xA9";
    EXPECT_EQ(engine::EncoderCause(std::string(156, 'a') + e + std::string(10, 'z') + "\n"), std::string(156, 'a') + "...");
    // 155 'a' then "é" ends exactly at 157: it stays.
    EXPECT_EQ(engine::EncoderCause(std::string(155, 'a') + e + std::string(10, 'z') + "\n"), std::string(155, 'a') + e + "...");
    // A three-byte character across the cut.
    const std::string euro = "\xE2\x82\xAC";
    EXPECT_EQ(engine::EncoderCause(std::string(155, 'a') + euro + std::string(10, 'z') + "\n"),
              std::string(155, 'a') + "...");
    // Blanks before the cut do not stand in front of the mark.
    EXPECT_EQ(engine::EncoderCause("settings:" + std::string(148, ' ') + "width 640\n"), "settings:...");
}

TEST(OutputTailTest, KeepsTheLastBytesInOrder) {
    engine::OutputTail tail(8);
    EXPECT_EQ(tail.Text(), "");
    tail.Append("abc", 3);
    EXPECT_EQ(tail.Text(), "abc");
    tail.Append("defgh", 5);
    EXPECT_EQ(tail.Text(), "abcdefgh");
    tail.Append("ij", 2);
    EXPECT_EQ(tail.Text(), "cdefghij");
    tail.Append("klmnopq", 7);
    EXPECT_EQ(tail.Text(), "jklmnopq");
    tail.Append("0123456789AB", 12);  // more than the ring at once
    EXPECT_EQ(tail.Text(), "456789AB");
    tail.Append("", 0);
    EXPECT_EQ(tail.Text(), "456789AB");
    tail.Append("C", 1);
    EXPECT_EQ(tail.Text(), "56789ABC");
    tail.Clear();
    EXPECT_EQ(tail.Text(), "");
    tail.Append("xy", 2);
    EXPECT_EQ(tail.Text(), "xy");

    // Byte by byte, the same as in one piece.
    engine::OutputTail bytewise(5);
    const std::string text = "The quick brown fox";
    for (char c : text) bytewise.Append(&c, 1);
    EXPECT_EQ(bytewise.Text(), "n fox");

    engine::OutputTail none(0);
    none.Append("abc", 3);
    EXPECT_EQ(none.Text(), "");
}

TEST(OutputTailTest, DefaultCapacityKeepsACaptureWhole) {
    const std::string capture = Capture("encoder-refused-value.txt");
    engine::OutputTail tail;
    for (size_t i = 0; i < 10; ++i) tail.Append(capture.data(), capture.size());
    EXPECT_EQ(tail.Text().size(), 4096u);
    EXPECT_EQ(engine::EncoderCause(tail.Text()), "Error setting option b to value abc.");
}

engine::FinishedRun Finished(uint32_t exitCode, bool progress, bool nonEmpty, std::string err = {},
                        std::string out = {}) {
    engine::FinishedRun run;
    run.ExitCode = exitCode;
    run.ProgressSeen = progress;
    run.OutputIsNonEmptyFile = nonEmpty;
    run.StdErrTail = std::move(err);
    run.StdOutTail = std::move(out);
    return run;
}

TEST(JudgeRunTest, ConvertedOnlyWithCleanExitProgressAndOutput) {
    const std::string converted = Capture("encoder-converted.txt");
    EXPECT_EQ(engine::JudgeRun(Finished(0, true, true, converted)).Kind, FailureKind::Converted);
    EXPECT_EQ(engine::JudgeRun(Finished(1, true, true)).Kind, FailureKind::ExitCode);
    EXPECT_EQ(engine::JudgeRun(Finished(0, false, true)).Kind, FailureKind::NoProgress);
    EXPECT_EQ(engine::JudgeRun(Finished(0, true, false)).Kind, FailureKind::EmptyOutput);
    EXPECT_EQ(engine::JudgeRun(Finished(0, false, false)).Kind, FailureKind::NoProgress);
}

TEST(JudgeRunTest, NothingEncodedIsAFailureEvenWithAHeader) {
    // Exit 0, a progress line, and a file holding only the container's header.
    const engine::FileVerdict v = engine::JudgeRun(Finished(0, true, true, Capture("encoder-empty-output.txt")));
    EXPECT_EQ(v.Kind, FailureKind::EncoderSaid);
    EXPECT_EQ(v.Cause, "Output file is empty, nothing was encoded (check -ss / -t / -frames parameters if used)");
    const engine::FileVerdict onOut =
        engine::JudgeRun(Finished(0, true, true, "", "Output file is empty, nothing was encoded\n"));
    EXPECT_EQ(onOut.Kind, FailureKind::EncoderSaid);
}

TEST(JudgeRunTest, OrderOfReasons) {
    const std::string said = Capture("encoder-unknown-codec.txt");
    // An exception status wins over anything printed.
    engine::FileVerdict v = engine::JudgeRun(Finished(0xC0000005u, true, true, said));
    EXPECT_EQ(v.Kind, FailureKind::Crashed);
    EXPECT_EQ(v.Code, 0xC0000005u);
    v = engine::JudgeRun(Finished(0xC0000000u, false, false));
    EXPECT_EQ(v.Kind, FailureKind::Crashed);
    // Just below the exception range is an ordinary exit code.
    v = engine::JudgeRun(Finished(0xBFFFFFFFu, false, false));
    EXPECT_EQ(v.Kind, FailureKind::ExitCode);
    EXPECT_EQ(v.Code, 0xBFFFFFFFu);
    // Today's encoder returns its negative error number: -22 is no crash,
    // and the line it printed is the reason.
    v = engine::JudgeRun(Finished(0xFFFFFFEAu, false, false, said));
    EXPECT_EQ(v.Kind, FailureKind::EncoderSaid);
    v = engine::JudgeRun(Finished(0xFFFFFFEAu, false, false));
    EXPECT_EQ(v.Kind, FailureKind::ExitCode);
    v = engine::JudgeRun(Finished(0xFFFEFFFFu, false, false));
    EXPECT_EQ(v.Kind, FailureKind::Crashed);

    v = engine::JudgeRun(Finished(1, false, false, said));
    EXPECT_EQ(v.Kind, FailureKind::EncoderSaid);
    EXPECT_EQ(v.Cause, "Unknown encoder 'nosuchcodec'");
    EXPECT_EQ(v.Code, 1u);

    // Standard error first, standard output when error has nothing.
    v = engine::JudgeRun(Finished(1, false, false, "From err\n", "From out\n"));
    EXPECT_EQ(v.Cause, "From err");
    v = engine::JudgeRun(Finished(1, false, false, "Conversion failed!\n", "From out\n"));
    EXPECT_EQ(v.Cause, "From out");

    // A stop by signal prints no cause: its code is the reason.
    v = engine::JudgeRun(Finished(255, true, true, Capture("encoder-signal-2.txt")));
    EXPECT_EQ(v.Kind, FailureKind::ExitCode);
    EXPECT_EQ(v.Code, 255u);
    EXPECT_EQ(v.Cause, "");

    // A cause beats the kinds of a clean exit.
    EXPECT_EQ(engine::JudgeRun(Finished(0, false, false, "Cause\n")).Kind, FailureKind::EncoderSaid);
    EXPECT_EQ(engine::JudgeRun(Finished(0, true, false, "Cause\n")).Kind, FailureKind::EncoderSaid);
}

std::string TextFor(FailureKind kind) {
    switch (kind) {
    case FailureKind::OutputIsInput: return "the output is the input file";
    case FailureKind::OutputIsFolder: return "the output is a folder";
    case FailureKind::OverwriteDeclined: return "you chose not to overwrite the existing output";
    case FailureKind::OutputInUse: return "the output file is in use";
    case FailureKind::StartFailed: return "the encoder could not be started (code %1)";
    case FailureKind::Crashed: return "the encoder crashed (exception %1)";
    case FailureKind::ExitCode: return "the encoder stopped with code %1";
    case FailureKind::NoProgress: return "the encoder printed no progress";
    case FailureKind::EmptyOutput: return "the output is empty";
    default: return "unexpected";
    }
}

TEST(ReasonTextTest, CodesFilledIn) {
    auto reason = [](FailureKind kind, uint32_t code, std::string cause = {}) {
        engine::FileVerdict v;
        v.Kind = kind;
        v.Code = code;
        v.Cause = std::move(cause);
        return engine::ReasonText(v, TextFor);
    };
    EXPECT_EQ(reason(FailureKind::Crashed, 0xC0000005u), "the encoder crashed (exception 0xC0000005)");
    EXPECT_EQ(reason(FailureKind::Crashed, 0xC00000FDu), "the encoder crashed (exception 0xC00000FD)");
    EXPECT_EQ(reason(FailureKind::ExitCode, 1), "the encoder stopped with code 1");
    EXPECT_EQ(reason(FailureKind::ExitCode, 4294967295u), "the encoder stopped with code -1");
    EXPECT_EQ(reason(FailureKind::ExitCode, 0xFFFFFFEAu), "the encoder stopped with code -22");
    EXPECT_EQ(reason(FailureKind::ExitCode, 0xBFFFFFFFu), "the encoder stopped with code 3221225471");
    EXPECT_EQ(reason(FailureKind::StartFailed, 2), "the encoder could not be started (code 2)");
    EXPECT_EQ(reason(FailureKind::EncoderSaid, 1, "Unknown encoder 'x'"), "Unknown encoder 'x'");
    EXPECT_EQ(reason(FailureKind::OutputIsInput, 0), "the output is the input file");
    EXPECT_EQ(reason(FailureKind::OutputIsFolder, 0), "the output is a folder");
    EXPECT_EQ(reason(FailureKind::OverwriteDeclined, 0), "you chose not to overwrite the existing output");
    EXPECT_EQ(reason(FailureKind::OutputInUse, 32), "the output file is in use");
    EXPECT_EQ(reason(FailureKind::NoProgress, 0), "the encoder printed no progress");
    EXPECT_EQ(reason(FailureKind::EmptyOutput, 0), "the output is empty");
    EXPECT_EQ(reason(FailureKind::Converted, 0), "");

    // Every "%1" is filled, and a text without one stays as it is.
    engine::FileVerdict v;
    v.Kind = FailureKind::ExitCode;
    v.Code = 7;
    EXPECT_EQ(engine::ReasonText(v, [](FailureKind) { return std::string("%1 and %1"); }), "7 and 7");
    EXPECT_EQ(engine::ReasonText(v, [](FailureKind) { return std::string("code"); }), "code");
}

TEST(FailureSummaryTest, TodaysTextWhenNoReasonIsKnown) {
    EXPECT_EQ(engine::FailureSummary({}, "file conversion failed."), "");
    EXPECT_EQ(engine::FailureSummary({{"a.avi", ""}, {"b.wmv", ""}}, "file conversion failed."),
              "a.avi, b.wmv, file conversion failed.");
}

TEST(FailureSummaryTest, OneLinePerFailedFile) {
    EXPECT_EQ(engine::FailureSummary({{"holiday.avi", "Unknown encoder 'nosuchcodec'"}}, "file conversion failed."),
              "holiday.avi, file conversion failed.\r\n\r\nholiday.avi: Unknown encoder 'nosuchcodec'");
    EXPECT_EQ(engine::FailureSummary({{"a.avi", "one"}, {"b.wmv", ""}, {"c.mp4", "three"}}, "failed."),
              "a.avi, b.wmv, c.mp4, failed.\r\n\r\na.avi: one\r\nb.wmv: \r\nc.mp4: three");
}

TEST(FailureSummaryTest, TenLinesThenHowManyMore) {
    std::vector<engine::FailedFile> files;
    std::string head;
    std::string lines;
    for (int i = 1; i <= 12; ++i) {
        const std::string name = "f" + std::to_string(i) + ".avi";
        files.push_back({name, "reason " + std::to_string(i)});
        head += name + ", ";
        if (i <= 10) lines += "\r\n" + name + ": reason " + std::to_string(i);
    }
    EXPECT_EQ(engine::FailureSummary(files, "file conversion failed."),
              head + "file conversion failed.\r\n" + lines + "\r\nand 2 more");

    files.resize(11);
    EXPECT_NE(engine::FailureSummary(files, "x").find("\r\nand 1 more"), std::string::npos);
    files.resize(10);
    const std::string ten = engine::FailureSummary(files, "x");
    EXPECT_EQ(ten.find("more"), std::string::npos);
    EXPECT_EQ(ten.substr(ten.size() - 18), "f10.avi: reason 10");
}

}  // namespace
