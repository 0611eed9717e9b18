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
        {"Duration: 99:99:99.00", 99 * 3600 + 99 * 60 + 99},
        {"duration:00:00:10.00", 10},
        {"Duration: -9:00:00.00", -9 * 3600},
    };
    for (const Case& c : cases) {
        parser.Duration = -1;
        Feed(c.line);
        EXPECT_EQ(parser.Duration, c.duration) << c.line;
    }
}

TEST_F(OutputParserTest, DurationLineSetsStartTimeEachTime) {
    Feed("Duration: 00:01:00.00");
    EXPECT_DOUBLE_EQ(parser.StartTime, now);
    now += 5 * Second;
    Feed("Duration: 00:02:00.00");
    EXPECT_DOUBLE_EQ(parser.StartTime, now);
    EXPECT_EQ(parser.Duration, 120);
}

TEST_F(OutputParserTest, KeywordWithoutSeparatorsUsesTheChunksEarlierValues) {
    const double before = now;
    now += 3 * Second;
    Feed("Duration: N/A");
    EXPECT_EQ(parser.Duration, 0);
    EXPECT_DOUBLE_EQ(parser.StartTime, now);
    EXPECT_NE(parser.StartTime, before);

    Feed("Duration: 00:02:03.00\nDuration: none");
    EXPECT_EQ(parser.Duration, 123);

    // A new chunk starts from zero again.
    Feed("Duration: none");
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
    Started("Duration: 00:01:23.45", 20);
    auto notes = Feed("frame=  500 fps= 25 q=2.0 size=  1024kB time=00:00:41.50 bitrate=202.1kbits/s");
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].Percent, 49);
    EXPECT_EQ(notes[0].Estimated, "00:41");

    Feed("Duration: 02:00:00.00");
    notes = Feed("time=01:02:03.50");
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].Percent, 3723 * 100 / 7200);
}

TEST_F(OutputParserTest, PositionsThatPostNothing) {
    Feed("Duration: 00:01:23.00");
    for (const char* line : {"time=0.40", "time=90.00", "time=00:00:00.40", "time=-00:00:01.00",
                             "time=N/A bitrate=N/A", "time=1:00:00:00.00", "time=abc.00",
                             "time=0x29.00"}) {
        parser.ProgressSeen = false;
        EXPECT_TRUE(Feed(line).empty()) << line;
        EXPECT_TRUE(parser.ProgressSeen) << line;
    }
}

TEST_F(OutputParserTest, HundredPercentIsPosted) {
    Feed("Duration: 00:01:23.00");
    const auto notes = Feed("time=83.00");
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].Percent, 100);
}

TEST_F(OutputParserTest, WithoutDurationOnlyProgressSeen) {
    EXPECT_TRUE(Feed("time=41.50").empty());
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
    Feed("Duration: 00:01:40.00");
    const auto notes = Feed("\r\n  \t\r\ntime=10.00\n\ntime=20.00\r\rtime=30.00\r\n \r\n");
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_EQ(notes[2].Percent, 30);
}

TEST_F(OutputParserTest, LineCutBetweenChunks) {
    Feed("Duration: 00:01:23.00");
    // No earlier position in the chunk: the first fragment has no "." after
    // "time=", the second has no "time=".
    EXPECT_TRUE(Feed("frame= 500 time=41").empty());
    EXPECT_TRUE(Feed(".50 bitrate=202.1kbits/s\r").empty());

    // With an earlier position in the same chunk, the fragment posts it again.
    const auto notes = Feed("time=20.00\rframe= 500 time=41");
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0].Percent, 24);
    EXPECT_EQ(notes[1].Percent, 24);
}

TEST_F(OutputParserTest, DurationThenPositionOnOneLine) {
    const auto notes = Feed("Duration: 00:01:40.00 time=50.00");
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].Percent, 50);
    EXPECT_EQ(notes[0].Elapsed, "00:00");
}

TEST_F(OutputParserTest, ZeroByteEndsTheChunk) {
    Feed("Duration: 00:01:40.00");
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
        Started("Duration: 00:01:40.00", c.elapsed);
        const std::string line = "time=" + std::to_string(c.position) + ".00";
        const auto notes = Feed(line);
        ASSERT_EQ(notes.size(), 1u) << c.elapsed;
        EXPECT_EQ(notes[0].Elapsed, c.elapsedText) << c.elapsed;
        EXPECT_EQ(notes[0].Estimated, c.estimatedText) << c.elapsed;
    }
}

TEST_F(OutputParserTest, ResetKeepsStartTime) {
    Feed("Duration: 00:01:40.00\ntime=10.00");
    const double started = parser.StartTime;
    now += 30 * Second;
    parser.Reset();
    EXPECT_EQ(parser.Duration, 0);
    EXPECT_FALSE(parser.ProgressSeen);
    EXPECT_DOUBLE_EQ(parser.StartTime, started);
}

}  // namespace
