#include "EncoderOutputParser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const double Second = 1.0 / 86400;
const char* const ProgressLine = "frame=   10 fps=  0 q=2.0 size=     100kB time=4.00 bitrate= 204.8kbits/s    \r";

class ParserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        state.TotalFiles = 3;
        state.CurrentInputFile = "C:\\in\\movie.mpg";
        state.SourceName = state.CurrentInputFile;  // as the driver starts each file
        state.BatchStartTime = 1000.0;
        state.FileStartTime = 1000.0;
        parser.BatchRunning = true;
        parser.OnProgress = [this](const TProgressUpdate& u) { updates.push_back(u); };
        parser.OnTrayHint = [this](const std::string& h) { hints.push_back(h); };
    }

    void Feed(const std::string& text, bool exited = false) { parser.Feed(text.data(), text.size(), exited); }

    TOptions state;
    TConversionTexts texts;
    double now = 1000.0;
    TEncoderOutputParser parser{state, texts, [this] { return now; }};
    std::vector<TProgressUpdate> updates;
    std::vector<std::string> hints;
};

TEST_F(ParserTest, ProgressLineOfAKnownDuration)
{
    state.DurationMs = 8000;
    Feed(ProgressLine);
    ASSERT_EQ(1u, updates.size());
    EXPECT_EQ(4000, state.TimeMs);
    EXPECT_EQ(50, state.FilePercent);
    EXPECT_EQ(100, state.SizeKB);
    EXPECT_EQ(205, state.BitrateKbps);
    EXPECT_EQ("Status= 50%", updates[0].Status.value_or("-"));
    EXPECT_EQ(50, updates[0].FileBar.value_or(-1));
    EXPECT_TRUE(updates[0].Converting);
    ASSERT_EQ(1u, hints.size());
    EXPECT_EQ("C:\\in\\movie.mpg: 50%", hints[0]);
}

// The same values, however the encoder writes them.
struct LineCase {
    const char* name;
    const char* line;
    int32_t timeMs, sizeKB, bitrate;
};

class ParserLineTest : public ParserTest, public ::testing::WithParamInterface<LineCase> {};

TEST_P(ParserLineTest, ReadsTheValues)
{
    const LineCase& c = GetParam();
    state.DurationMs = 8000;
    state.TimeMs = -7;
    state.SizeKB = -7;
    state.BitrateKbps = -7;
    Feed(c.line);
    ASSERT_EQ(1u, updates.size());
    EXPECT_EQ(c.timeMs, state.TimeMs);
    EXPECT_EQ(c.sizeKB, state.SizeKB);
    EXPECT_EQ(c.bitrate, state.BitrateKbps);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, ParserLineTest,
    ::testing::Values(
        LineCase{"Seconds", "frame=   10 size=     100kB time=4.00 bitrate= 204.8kbits/s\r", 4000, 100, 205},
        LineCase{"HoursMinutesSeconds", "frame=   10 size=     100kB time=00:00:04.00 bitrate= 204.8kbits/s\r", 4000,
                 100, 205},
        LineCase{"LongTime", "frame=9999 size=  123456kB time=01:02:03.45 bitrate=1000.5kbits/s\r", 3723450, 123456,
                 1000},  // 1000.5 rounds to the even neighbour
        LineCase{"KiB", "frame=  100 fps=0.0 q=-1.0 Lsize=     256KiB time=00:00:04.00 bitrate= 524.3kbits/s speed=1x\r",
                 4000, 256, 524},
        LineCase{"NotAvailable", "frame=    1 fps=  0 q=2.0 size=N/A time=N/A bitrate=N/A    \r", -7, -7, -7},
        LineCase{"EmptyValues", "frame=    2 size=      kB time= bitrate=kbits/s\r", -7, -7, -7},
        LineCase{"Letters", "frame=    3 size=  12kB time=abc bitrate=abc kbits/s\r", -7, 12, -7},
        LineCase{"TimeEndsTheLine", "frame=4 size=5kB time=1.5\r", -7, 5, -7},
        LineCase{"Negative", "frame=0 size=0kB time=-0.04 bitrate=-0.0kbits/s\r", -40, 0, 0},
        LineCase{"TooLarge", "size=99999999999kB time=99999999.0 bitrate=1e300kbits/s\r", -7, -7, -7},
        LineCase{"NoTimeYet", "frame=0 size=0kB time=10000000000.0 bitrate=0.0kbits/s\r", 0, 0, 0},
        LineCase{"FourColonParts", "size=1kB time=1:2:3:4 bitrate=1kbits/s\r", -7, 1, 1}),
    [](const ::testing::TestParamInfo<LineCase>& info) { return std::string(info.param.name); });

TEST_F(ParserTest, ALineSplitAnywhereIsReadOnceWhenItsEndArrives)
{
    const std::string line = ProgressLine;
    for (size_t cut = 0; cut < line.size(); ++cut) {
        updates.clear();
        state.TimeMs = 0;
        state.DurationMs = 8000;
        Feed(line.substr(0, cut));
        EXPECT_TRUE(updates.empty()) << cut;
        EXPECT_EQ(0, state.TimeMs) << cut;
        Feed(line.substr(cut));
        ASSERT_EQ(1u, updates.size()) << cut;
        EXPECT_EQ(4000, state.TimeMs) << cut;
        EXPECT_EQ("", state.PendingOutput);
    }
}

TEST_F(ParserTest, LineBreaksOfEveryKindEndLines)
{
    state.DurationMs = 10000;
    Feed("size=1kB time=1.00 x\r\nsize=2kB time=2.00 x\n\rsize=3kB time=3.00 x\nsize=4kB time=4.00 x\r\r\n\n");
    ASSERT_EQ(1u, updates.size());  // one report for the chunk, after its last line
    EXPECT_EQ("Status= 40%", *updates[0].Status);
    EXPECT_EQ(4, state.SizeKB);
    // Every line was read, one by one: a line break of every kind ended one.
    std::vector<int32_t> times;
    for (const char* line : {"size=1kB time=1.00 x", "size=2kB time=2.00 x", "size=3kB time=3.00 x"}) {
        Feed(std::string(line) + "\r\n");
        times.push_back(state.TimeMs);
    }
    EXPECT_EQ((std::vector<int32_t>{1000, 2000, 3000}), times);
    EXPECT_EQ(4u, updates.size());  // and a chunk of one line is reported as its own
}

// A chunk's lines all count, whatever their order: the header lines before the progress line give
// the duration its percentage is taken of, and the report shows the chunk's last position.
TEST_F(ParserTest, AChunkOfManyLinesIsReportedOnceWithWhatAllOfThemSaid)
{
    Feed("Input #0, avi, from 'C:\\in\\clip.avi':\n"
         "  Duration: 00:00:10.00, start: 0.000000, bitrate: 300 kb/s\n"
         "Output #0, mp4, to 'C:\\out\\clip.mp4':\n"
         "frame=  25 size=10kB time=00:00:01.00 bitrate=80.0kbits/s\r"
         "frame=  50 size=20kB time=00:00:02.50 bitrate=65.5kbits/s\r"
         "frame=  75 size=30kB time=00:00:03.00 bitr");  // the rest of this line is still to come
    ASSERT_EQ(1u, updates.size());
    ASSERT_EQ(1u, hints.size());
    EXPECT_EQ(10000, state.DurationMs);
    EXPECT_EQ(2500, state.TimeMs);
    EXPECT_EQ(20, state.SizeKB);
    EXPECT_EQ("Status= 25%", updates[0].Status.value_or("-"));
    EXPECT_NE(std::string::npos, updates[0].Output.value_or("").find("clip.mp4"));
    EXPECT_EQ("C:\\in\\clip.avi: 25%", hints[0]);
    Feed("ate=80.0kbits/s\r");
    ASSERT_EQ(2u, updates.size());
    EXPECT_EQ("Status= 30%", updates[1].Status.value_or("-"));
}

TEST_F(ParserTest, TextAfterAZeroByteIsDropped)
{
    state.DurationMs = 10000;
    static const char bytes[] = "size=1kB time=1.00 x\r\0size=9kB time=9.00 x\r";
    const std::string chunk(bytes, sizeof bytes - 1);
    Feed(chunk);
    ASSERT_EQ(1u, updates.size());
    EXPECT_EQ(1000, state.TimeMs);
}

TEST_F(ParserTest, ALastLineWithoutItsBreak)
{
    state.DurationMs = 10000;
    Feed("size=1kB time=2.00 x");
    EXPECT_TRUE(updates.empty());
    parser.Flush();  // the encoder has ended
    ASSERT_EQ(1u, updates.size());
    EXPECT_EQ(2000, state.TimeMs);
    EXPECT_EQ("", state.PendingOutput);
    parser.Flush();
    EXPECT_EQ(1u, updates.size());

    Feed("size=1kB time=3.00 x", true);  // drained after the end: nothing waits
    ASSERT_EQ(2u, updates.size());
    EXPECT_EQ(3000, state.TimeMs);
}

TEST_F(ParserTest, HeaderLines)
{
    state.CurrentInputFile = "C:\\films\\real.mkv";
    Feed("Input #0, avi, from 'C:\\in\\movie.avi':\r\n"
         "  Duration: 00:01:30.50, start: 0.000000, bitrate: 1024 kb/s\r\n"
         "Output #0, mp4, to 'D:\\out\\movie.mp4':\r\n");
    EXPECT_EQ("C:\\in\\movie.avi", state.SourceName);
    EXPECT_EQ(90500, state.DurationMs);
    EXPECT_EQ("D:\\out\\movie.mp4", state.TargetName);
    ASSERT_EQ(1u, updates.size());
    EXPECT_EQ("Working on file 1 of 3: movie.avi", *updates[0].Working);
    EXPECT_EQ("Output file: movie.mp4", *updates[0].Output);

    // The DirectShow script stands for the real source.
    Feed("Input #0, avs, from 'C:\\prog\\DirectShow.avs':\n");
    EXPECT_EQ("C:\\films\\real.mkv", state.SourceName);
    EXPECT_EQ("Working on file 1 of 3: real.mkv", *updates.back().Working);
}

TEST_F(ParserTest, HeaderValuesThatCannotBeReadKeepThePreviousOnes)
{
    state.SourceName = "src";
    state.TargetName = "dst";
    state.DurationMs = 1234;
    const char* const lines[] = {
        "Input #0, avi, from 'N/A':\n", "Input #0, avi, from '\n",   "Output #0, , to '':\n",
        "  Duration: N/A, start: 0.000000\n", "  Duration: 00:00:10.00\n", "  Duration: ten, start: 0\n",
        "  Duration: 1:2:3:4, start: 0\n",
    };
    for (const char* line : lines) Feed(line);
    EXPECT_EQ("src", state.SourceName);
    EXPECT_EQ("dst", state.TargetName);
    EXPECT_EQ(1234, state.DurationMs);
    EXPECT_EQ(7u, updates.size());  // every line still refreshes the labels
}

TEST_F(ParserTest, TimeLimitFromTheOptions)
{
    const struct {
        const char* options;
        int32_t expected;
    } cases[] = {
        {"-y -f avi -t 0:00:10.000 -ss 0:00:05.000 -vcodec mpeg4 ", 10000},  // ends after 10 s
        {"-y -f avi -t 0:01:30.000 -ss 0:00:05.000 ", 90500},                // limit beyond the end: no change
        {"-y -f avi -t 0:01:20.500 -ss 0:00:10.000 ", 90500},                // exactly the end: no change
        {"-y -f avi -t 0:00:20.000 -ss 0:00:00.000 ", 20000},
        {"-y -f avi -vcodec mpeg4 ", 90500},  // no time control
        {"-y -f avi -t x -ss 0:00:01.000 ", 90500},  // unreadable limit: ignored
    };
    for (const auto& c : cases) {
        parser.EncoderOptions = c.options;
        Feed("  Duration: 00:01:30.50, start: 0.000000, bitrate: 1024 kb/s\n");
        EXPECT_EQ(c.expected, state.DurationMs) << c.options;
    }
}

TEST_F(ParserTest, FilePercentIsRoundedHalfToEvenAndClamped)
{
    const struct {
        int32_t timeMs, durationMs, percent;
    } cases[] = {
        {1, 8, 12},    // 12.5
        {3, 8, 38},    // 37.5
        {3, 200, 2},   // 1.5
        {5, 200, 2},   // 2.5
        {7, 200, 4},   // 3.5
        {1, 3, 33},
        {2, 3, 67},
        {9000, 8000, 100},  // beyond the end
        {-40, 8000, 0},
    };
    for (const auto& c : cases) {
        state.TimeMs = c.timeMs;
        state.DurationMs = c.durationMs;
        parser.HandleLine("frame=1");
        EXPECT_EQ(c.percent, state.FilePercent) << c.timeMs << "/" << c.durationMs;
        EXPECT_EQ("Status= " + std::to_string(c.percent) + "%", *updates.back().Status);
    }
}

TEST_F(ParserTest, BatchPercentIsRoundedHalfToEven)
{
    const struct {
        int64_t bytesDone, currentBytes, totalBytes;
        int32_t batchPercent;
    } cases[] = {
        {0, 100, 400, 12},     // 50 of 400: 12.5
        {20, 100, 200, 35},    // 70 of 200
        {20, 100, 2000, 4},    // 70 of 2000: 3.5
        {0, 6, 200, 2},        // 3 of 200: 1.5
        {0, 10, 200, 2},       // 5 of 200: 2.5
        {4000000000LL, 2000000000LL, 5000000000LL, 100},  // beyond the total, 64-bit sizes
    };
    state.TimeMs = 4000;
    state.DurationMs = 8000;  // the file is at 50 %
    for (const auto& c : cases) {
        state.BytesDone = c.bytesDone;
        state.CurrentFileBytes = c.currentBytes;
        state.TotalBytes = c.totalBytes;
        parser.HandleLine("frame=1");
        EXPECT_EQ(c.bytesDone + c.currentBytes / 2, state.BytesProgress);
        EXPECT_EQ(c.batchPercent, state.BatchPercent) << c.totalBytes;
        EXPECT_EQ("Batch=" + std::to_string(c.batchPercent) + "%", updates.back().Batch.value_or("-"));
        EXPECT_EQ(c.batchPercent, updates.back().BatchBar.value_or(-1));
    }
}

TEST_F(ParserTest, TimesComeFromTheClock)
{
    state.BatchStartTime = 1000.0;
    state.FileStartTime = 1000.0 + 20 * Second;
    now = 1000.0 + 30 * Second;
    state.TimeMs = 4000;
    state.DurationMs = 8000;  // half of the file took 10 s
    state.CurrentFileBytes = 100;
    state.BytesDone = 0;
    state.TotalBytes = 400;  // 50 of 400 bytes took 30 s
    Feed("frame=1\n");
    ASSERT_EQ(1u, updates.size());
    const TProgressUpdate& u = updates[0];
    EXPECT_EQ("0:00:30", *u.BatchElapsed);
    EXPECT_EQ("0:00:10", *u.FileRemaining);
    EXPECT_EQ("0:04:00", *u.BatchEstimated);
    EXPECT_EQ("0:03:30", *u.BatchRemaining);
}

TEST_F(ParserTest, NoFilePercentWithoutDurationAndTime)
{
    state.DurationMs = 0;
    Feed(ProgressLine);
    ASSERT_EQ(1u, updates.size());
    EXPECT_FALSE(updates[0].Status);
    EXPECT_FALSE(updates[0].Batch);
    EXPECT_TRUE(updates[0].BatchElapsed);

    state.DurationMs = 8000;
    Feed("frame=0 size=0kB time=10000000000.0 bitrate=0.0kbits/s\r");  // no position yet
    EXPECT_EQ(0, state.TimeMs);
    EXPECT_FALSE(updates.back().Status);
}

TEST_F(ParserTest, NothingIsHandledWithoutABatch)
{
    parser.BatchRunning = false;
    state.DurationMs = 8000;
    Feed(std::string(ProgressLine) + "  Duration: 00:01:30.50, start: 0\n");
    EXPECT_TRUE(updates.empty());
    EXPECT_TRUE(hints.empty());
    EXPECT_EQ(0, state.TimeMs);
    EXPECT_EQ(8000, state.DurationMs);
}

TEST_F(ParserTest, GarbageNeverThrows)
{
    state.DurationMs = 8000;
    std::string junk;
    for (int c = 1; c < 256; ++c) junk += char(c);
    const std::string chunks[] = {
        junk, "time=", " time= time= time=\r", "size=kB size=KiB \r", "  Duration: ,\r", "  Duration: ",
        "Input #0, from '':", "\r\n\r\n", std::string(5000, 'x') + "\r", " bitrate=kbits/s bitrate=\n",
    };
    for (const std::string& chunk : chunks) EXPECT_NO_THROW(Feed(chunk)) << chunk.size();
    EXPECT_NO_THROW(parser.Flush());
}

TEST(ReadEncoderTime, Forms)
{
    const struct {
        const char* text;
        bool ok;
        int32_t ms;
    } cases[] = {
        {"4.00", true, 4000},
        {"00:00:04.00", true, 4000},
        {"00:01:30.50", true, 90500},
        {"1:02:03.004", true, 3723004},
        {"2:03", true, 123000},
        {"0:00:10.000", true, 10000},
        {"  12.5 ", true, 12500},
        {"-0.04", true, -40},
        {"-00:00:00.04", true, -40},
        {"", false, 0},
        {"N/A", false, 0},
        {"1:2:3:4", false, 0},
        {"1e3", false, 0},
        {"a:00:01", false, 0},
        {"00::01", false, 0},
        {"1.2.3", false, 0},
        {"10000000000.0", false, 0},  // beyond 32 bits of milliseconds
    };
    for (const auto& c : cases) {
        int32_t ms = 0;
        EXPECT_EQ(c.ok, ReadEncoderTime(c.text, ms)) << c.text;
        if (c.ok) {
            EXPECT_EQ(c.ms, ms) << c.text;
        }
    }
}

}  // namespace
