#include "engine/OutputParser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr double Second = 1.0 / 86400.0;

class OutputParserTest : public ::testing::Test {
protected:
    // A date in 2024 as fractional days, so differences carry the rounding
    // error a real clock reading would.
    double now = 45500.25;
    engine::OutputParser parser{[this] { return now; }};

    std::vector<engine::ProgressNote> Feed(const std::string& chunk) {
        return parser.Parse(chunk.data(), chunk.size());
    }

    // A duration read at `now`, then the clock moved on by elapsedSeconds.
    void Started(const std::string& durationLine, int elapsedSeconds) {
        Feed(durationLine);
        now += elapsedSeconds * Second;
    }
};

TEST_F(OutputParserTest, DurationLines) {
    struct Case {
        const char* line;
        int64_t duration;
    } cases[] = {
        {"  Duration: 00:01:23.45, start: 0.000000, bitrate: 1205 kb/s", 83},
        {"Duration: 01:02:03.50", 3723},
        {"DURATION: 00:00:09.99", 9},
        {"Duration: 00:1:23.45", 23},  // a one-digit field reads 0
        {"Duration: 5:00:07.00", 7},
        {"Duration: 00:00:7.50", 0},
        {"Duration: 99:99:99.00", 362439},  // 356400 + 5940 + 99
        {"duration:00:00:10.00", 10},
        {"Duration: -9:00:00.00", -32400},
    };
    for (const Case& c : cases) {
        parser.Duration = -1;
        Feed(std::string(c.line) + "\r\n");
        EXPECT_EQ(parser.Duration, c.duration) << c.line;
    }
}

TEST_F(OutputParserTest, DurationLineSetsStartTimeEachTime) {
    Feed("Duration: 00:01:00.00\n");
    EXPECT_DOUBLE_EQ(parser.StartTime, now);
    now += 5 * Second;
    Feed("Duration: 00:02:00.00\n");
    EXPECT_DOUBLE_EQ(parser.StartTime, now);
    EXPECT_EQ(parser.Duration, 120);
}

TEST_F(OutputParserTest, KeywordWithoutSeparatorsUsesTheChunksEarlierValues) {
    const double before = now;
    now += 3 * Second;
    Feed("Duration: N/A\n");
    EXPECT_EQ(parser.Duration, 0);
    EXPECT_DOUBLE_EQ(parser.StartTime, now);
    EXPECT_NE(parser.StartTime, before);

    Feed("Duration: 00:02:03.00\nDuration: none\n");
    EXPECT_EQ(parser.Duration, 123);

    // A new chunk starts from zero again.
    Feed("Duration: none\n");
    EXPECT_EQ(parser.Duration, 0);
}

TEST_F(OutputParserTest, WorkedExample) {
    Started("  Duration: 00:01:23.45, start: 0.000000, bitrate: 1205 kb/s\r\n", 20);
    const auto notes =
        Feed("frame=  500 fps= 25 q=2.0 size=  1024kB time=41.50 bitrate=202.1kbits/s\r");
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].Percent, 49);
    EXPECT_EQ(notes[0].Elapsed, "00:20");
    EXPECT_EQ(notes[0].Estimated, "00:41");
    EXPECT_TRUE(parser.ProgressSeen);
}

TEST_F(OutputParserTest, HoursMinutesSecondsPosition) {
    Started("Duration: 00:01:23.45\n", 20);
    auto notes = Feed("frame=  500 fps= 25 q=2.0 size=  1024kB time=00:00:41.50 bitrate=202.1kbits/s\n");
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].Percent, 49);
    EXPECT_EQ(notes[0].Estimated, "00:41");

    Feed("Duration: 02:00:00.00\n");
    notes = Feed("time=01:02:03.50\n");
    ASSERT_EQ(notes.size(), 1u);
    // 3723 s of 7200 s is 51.7 %, cut to 51.
    EXPECT_EQ(notes[0].Percent, 51);
}

TEST_F(OutputParserTest, PositionsThatPostNothing) {
    Feed("Duration: 00:01:23.00\n");
    for (const char* line : {"time=0.40\n", "time=90.00\n", "time=00:00:00.40\n", "time=-00:00:01.00\n",
                             "time=N/A bitrate=N/A\n", "time=1:00:00:00.00\n", "time=abc.00\n",
                             "time=0x29.00\n"}) {
        parser.ProgressSeen = false;
        EXPECT_TRUE(Feed(line).empty()) << line;
        EXPECT_TRUE(parser.ProgressSeen) << line;
    }
}

TEST_F(OutputParserTest, HundredPercentIsPosted) {
    Feed("Duration: 00:01:23.00\n");
    const auto notes = Feed("time=83.00\n");
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].Percent, 100);
}

TEST_F(OutputParserTest, WithoutDurationOnlyProgressSeen) {
    EXPECT_TRUE(Feed("time=41.50\n").empty());
    EXPECT_TRUE(parser.ProgressSeen);
}

TEST_F(OutputParserTest, ProgressLinesSplitByLoneCarriageReturns) {
    Started("Duration: 00:01:40.00\n", 10);
    const auto notes = Feed("size= 1kB time=10.00 bitrate=1\rsize= 2kB time=00:00:20.00 bitrate=1\r");
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0].Percent, 10);
    EXPECT_EQ(notes[1].Percent, 20);
    EXPECT_EQ(notes[0].Estimated, "01:40");
    EXPECT_EQ(notes[1].Estimated, "00:50");
}

TEST_F(OutputParserTest, EveryKindOfLineBreakAndEmptyLines) {
    Feed("Duration: 00:01:40.00\n");
    const auto notes = Feed("\r\n  \t\r\ntime=10.00\n\ntime=20.00\r\rtime=30.00\r\n \r\n");
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_EQ(notes[2].Percent, 30);
}

TEST_F(OutputParserTest, AnEarlierPositionOfTheChunkIsPostedAgain) {
    Feed("Duration: 00:01:23.00\n");
    // The second line has no "." after "time=": it keeps the position the
    // first line of the same chunk gave.
    const auto notes = Feed("time=20.00\rframe= 500 time=41\n");
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0].Percent, 24);
    EXPECT_EQ(notes[1].Percent, 24);
}

// Everything the notes of a parse say, for comparing two parses.
std::string Describe(const std::vector<engine::ProgressNote>& notes) {
    std::string text;
    for (const auto& n : notes) text += std::to_string(n.Percent) + " " + n.Elapsed + " " + n.Estimated + ";";
    return text;
}

TEST_F(OutputParserTest, LineCutBetweenChunksIsParsedWhole) {
    // The duration line of the worked example cut at every place, and the
    // progress line after it cut at every place: each gives what the whole
    // lines give (83 s, 49 %, elapsed 20 s).
    const std::string durationLine = "  Duration: 00:01:23.45, start: 0.000000, bitrate: 1205 kb/s\r\n";
    const std::string progressLine = "frame=  500 fps= 25 q=2.0 size=  1024kB time=00:00:41.50 bitrate=202.1kbits/s\r";
    for (size_t cut = 0; cut <= durationLine.size(); ++cut) {
        parser.Reset();
        parser.Parse(durationLine.data(), cut, 1);
        parser.Parse(durationLine.data() + cut, durationLine.size() - cut, 1);
        EXPECT_EQ(parser.Duration, 83) << cut;
    }
    for (size_t cut = 0; cut <= progressLine.size(); ++cut) {
        parser.Reset();
        now = 45500.25;
        Started(durationLine, 20);
        const auto first = parser.Parse(progressLine.data(), cut, 1);
        const auto second = parser.Parse(progressLine.data() + cut, progressLine.size() - cut, 1);
        EXPECT_EQ(Describe(first) + Describe(second), "49 00:20 00:41;") << cut;
    }
}

TEST_F(OutputParserTest, DurationCutInsideIsNotReadShort) {
    // Read alone, the piece "  Duration: 00:01:2" says 60 s, and the bar
    // would show 69 % where 49 % is right.
    Feed("  Duration: 00:01:2");
    EXPECT_EQ(parser.Duration, 0);
    Feed("3.45, start: 0.000000\r\n");
    EXPECT_EQ(parser.Duration, 83);
    now += 10 * Second;
    const auto notes = Feed("time=41.50\r");
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].Percent, 49);
}

TEST_F(OutputParserTest, ByteByByteGivesWhatWholeGives) {
    const std::string text =
        "Input #0, avi, from 'in.avi':\r\n  Duration: 00:01:40.00, start: 0.000000\r\n"
        "frame=   10 time=00:00:10.00 bitrate=1\rframe=   20 time=00:00:20.00 bitrate=1\r"
        "frame=   50 time=50.00\r\n";
    const auto whole = Feed(text);
    ASSERT_EQ(Describe(whole), "10 00:00 00:00;20 00:00 00:00;50 00:00 00:00;");
    parser.Reset();
    std::vector<engine::ProgressNote> bytewise;
    for (char c : text)
        for (auto& n : parser.Parse(&c, 1)) bytewise.push_back(n);
    EXPECT_EQ(Describe(bytewise), Describe(whole));
}

TEST_F(OutputParserTest, StreamsCarryTheirOwnLines) {
    // A duration line cut on standard error, standard output in between.
    parser.Parse("  Duration: 00:0", 16, 1);
    parser.Parse("x time=5", 8, 0);
    parser.Parse("1:40.00\n", 8, 1);
    EXPECT_EQ(parser.Duration, 100);
    // Standard output's line goes on where it stopped.
    const auto notes = parser.Parse("0.00 more\n", 10, 0);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].Percent, 50);
}

TEST_F(OutputParserTest, FinishParsesWhatIsCarried) {
    Feed("Duration: 00:01:40.00\n");
    EXPECT_TRUE(parser.Parse("time=30.00", 10, 0).empty());
    EXPECT_TRUE(parser.Parse("time=60.00", 10, 1).empty());
    const auto notes = parser.Finish();
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0].Percent, 30);
    EXPECT_EQ(notes[1].Percent, 60);
    // Nothing is carried any more.
    EXPECT_TRUE(parser.Finish().empty());
    const auto after = Feed("\n");
    EXPECT_TRUE(after.empty());
}

TEST_F(OutputParserTest, ResetDropsWhatIsCarried) {
    Feed("Duration: 00:01:40.00\n");
    Feed("time=30.0");
    parser.Parse("Duration: 00:00:", 16, 1);
    parser.Reset();
    Feed("Duration: 00:01:40.00\n");
    // Without the reset this would complete "time=30.00".
    EXPECT_TRUE(Feed("0\n").empty());
    EXPECT_TRUE(parser.Parse("10.00\n", 6, 1).empty());
    EXPECT_EQ(parser.Duration, 100);
    EXPECT_TRUE(parser.Finish().empty());
}

TEST_F(OutputParserTest, OverlongLineIsDropped) {
    Feed("Duration: 00:01:40.00\n");
    // A "line" just past the bound, fed in pieces, with "time=" at its end.
    const std::string filler(engine::OutputParser::MaxCarried - 4, 'x');
    EXPECT_TRUE(Feed(filler).empty());
    EXPECT_TRUE(Feed("time=20.").empty());
    EXPECT_TRUE(Feed("00 bitrate=1\r").empty());
    EXPECT_FALSE(parser.ProgressSeen);
    // The lines after it are read again.
    const auto notes = Feed("time=30.00\r");
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].Percent, 30);

    // One byte short of the bound, the line is kept and read whole.
    parser.Reset();
    Feed("Duration: 00:01:40.00\n");
    const std::string line = std::string(engine::OutputParser::MaxCarried - 10, 'y') + "time=40.00";
    ASSERT_EQ(line.size(), engine::OutputParser::MaxCarried);
    EXPECT_TRUE(Feed(line).empty());
    const auto kept = Feed("\r");
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].Percent, 40);

    // Past the bound inside one chunk after its last line end, too.
    parser.Reset();
    Feed("Duration: 00:01:40.00\n");
    const std::string chunk = "time=10.00\r" + std::string(engine::OutputParser::MaxCarried + 1, 'z');
    EXPECT_EQ(Feed(chunk).size(), 1u);
    EXPECT_TRUE(Feed("time=90.00\r").empty());
    EXPECT_EQ(Feed("time=70.00\r").size(), 1u);
    EXPECT_TRUE(parser.Finish().empty());
}

TEST_F(OutputParserTest, DurationThenPositionOnOneLine) {
    const auto notes = Feed("Duration: 00:01:40.00 time=50.00\n");
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].Percent, 50);
    EXPECT_EQ(notes[0].Elapsed, "00:00");
}

TEST_F(OutputParserTest, ZeroByteEndsTheChunk) {
    Feed("Duration: 00:01:40.00\n");
    const std::string chunk("time=10.00\r\0time=20.00\r", 23);
    const auto notes = parser.Parse(chunk.data(), chunk.size());
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].Percent, 10);

    const std::string lead("\0Duration: 00:00:10.00", 22);
    parser.Parse(lead.data(), lead.size());
    EXPECT_EQ(parser.Duration, 100);
}

TEST_F(OutputParserTest, ElapsedAndEstimatedTexts) {
    struct Case {
        int elapsed;
        int64_t position;
        const char* elapsedText;
        const char* estimatedText;
    } cases[] = {
        {59, 50, "00:59", "01:58"},
        {61, 50, "01:01", "02:02"},
        {600, 50, "10:00", "20:00"},
        {3000, 50, "50:00", "100:00"},
        {3725, 100, "62:05", "62:05"},
        // 5 * 100 / 40 = 12.5 rounds down to the even 12; 7 * 100 / 40 =
        // 17.5 rounds up to 18.
        {5, 40, "00:05", "00:12"},
        {7, 40, "00:07", "00:18"},
    };
    for (const Case& c : cases) {
        now = 45500.25;
        Started("Duration: 00:01:40.00\n", c.elapsed);
        const std::string line = "time=" + std::to_string(c.position) + ".00\r";
        const auto notes = Feed(line);
        ASSERT_EQ(notes.size(), 1u) << c.elapsed;
        EXPECT_EQ(notes[0].Elapsed, c.elapsedText) << c.elapsed;
        EXPECT_EQ(notes[0].Estimated, c.estimatedText) << c.elapsed;
    }
}

TEST_F(OutputParserTest, ResetKeepsStartTime) {
    Feed("Duration: 00:01:40.00\ntime=10.00\n");
    const double started = parser.StartTime;
    now += 30 * Second;
    parser.Reset();
    EXPECT_EQ(parser.Duration, 0);
    EXPECT_FALSE(parser.ProgressSeen);
    EXPECT_DOUBLE_EQ(parser.StartTime, started);
}

}  // namespace
