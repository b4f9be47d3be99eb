// What a failed file leaves behind: the reason taken from the encoder's lines, the message that names
// the failed files, and which output files go.
#include "ConversionFailures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FileUtils.h"
#include "Strings.h"
#include "TempDir.h"

namespace {

struct LineCase {
    const char* line;
    bool error;
};

// Lines of ffmpeg 5.1, of the encoder bridge and of the old encoder, as they reach the parser.
const LineCase Lines[] = {
    {"av_interleaved_write_frame(): No space left on device", true},
    {"Error writing trailer of /tmp/x.mp4: No space left on device", true},
    {"Output file #0 does not contain any stream", true},
    {"Conversion failed!", true},
    {"/tmp/in.avi: No such file or directory", true},
    {"[mp4 @ 0x55d0] Could not find tag for codec amr_nb in stream #1, codec not currently supported in container", true},
    {"Unknown encoder 'xyz'", true},
    {"Invalid data found when processing input", true},
    {"Error while encoding: test failure", true},
    {"avcore: the source has no sound stream, and AAC files hold only sound: it cannot be converted to AAC.", true},
    {"avcore: the conversion script did not start within 20 s.", true},
    {"Error creating process : 2", true},
    // Lines of a good run.
    {"frame=   25 fps=0.0 q=2.0 Lsize=     100kB time=1.00 bitrate= 819.2kbits/s speed=2.1x", false},
    {"size=      32kB time=2.00 bitrate= 131.1kbits/s error=0", false},
    {"Codec AVOption b (set bitrate) specified for output file #0 (x.mp3) has not been used for any stream.", false},
    {"[swscaler @ 0x5] deprecated pixel format used, make sure you did set range correctly", false},
    {"avcore: the rv10 encoder takes only frame sizes in multiples of 16: 161x121 is encoded as 160x128.", false},
    {"video:60kB audio:24kB global headers:0kB muxing overhead 1.234567%", false},
    // Names and titles may hold any word: the headers and the indented lines below them say nothing.
    {"Input #0, avi, from 'C:\\in\\Error movie.avi':", false},
    {"Output #0, mp4, to '/tmp/cannot fail.mp4':", false},
    {"    title           : Unknown error", false},
    {"  Stream #0:1: Audio: mp3, 44100 Hz, stereo, fltp, 128 kb/s (invalid)", false},
    {"", false},
    {"   ", false},
};

TEST(EncoderErrorLines, AreTheLinesThatSayWhyARunFailed)
{
    for (const LineCase& c : Lines) EXPECT_EQ(c.error, IsEncoderErrorLine(c.line)) << "\"" << c.line << "\"";
}

TEST(EncoderErrorLines, TheWatchKeepsTheLastLineThatSaidWhy)
{
    TEncoderErrorWatch watch;
    watch.See("Press [q] to stop, [?] for help");
    EXPECT_EQ("", watch.LastErrorLine());
    watch.See("[mpeg4 @ 0x1] Invalid and inefficient vfw-avi packed B frames detected");
    watch.See("frame=   10 fps=0.0 q=2.0 size=  100kB time=0.40 bitrate=2048.0kbits/s");
    watch.See("av_interleaved_write_frame(): No space left on device");
    watch.See("Error writing trailer of /out/a.mp4: No space left on device  ");
    watch.See("video:60kB audio:24kB global headers:0kB muxing overhead 1.234567%");
    watch.See("Conversion failed!");  // says nothing new: the line before it stands
    EXPECT_EQ("Error writing trailer of /out/a.mp4: No space left on device", watch.LastErrorLine());
    watch.Clear();
    EXPECT_EQ("", watch.LastErrorLine());
    watch.See("Conversion failed!");  // the only word there is
    EXPECT_EQ("Conversion failed!", watch.LastErrorLine());
}

TEST(EncoderErrorLines, ExitCodesReadAsTheUserKnowsThem)
{
    EXPECT_EQ("1", ExitCodeText(1));
    EXPECT_EQ("255", ExitCodeText(255));
    EXPECT_EQ("0xC0000005", ExitCodeText(0xC0000005));
    EXPECT_EQ("0xFFFFFFFF", ExitCodeText(0xFFFFFFFF));
}

TEST(EncoderErrorLines, TheRunsOwnPathsAreCutToTheirNames)
{
    const std::string in = "C:\\Videos\\in.avi", out = "D:\\out put\\in.mp4";
    EXPECT_EQ("Error writing trailer of in.mp4: No space left on device",
              ReasonWithFileNames("Error writing trailer of " + out + ": No space left on device", {out, in}));
    EXPECT_EQ("in.avi: Invalid data found when processing input",
              ReasonWithFileNames(in + ": Invalid data found when processing input", {out, in}));
    // Other paths, and a name without a folder, stay as they are.
    EXPECT_EQ("Cannot open file \"C:\\p\\DirectShow.avs\"",
              ReasonWithFileNames("Cannot open file \"C:\\p\\DirectShow.avs\"", {out, in}));
    EXPECT_EQ("x.avi: error", ReasonWithFileNames("x.avi: error", {"x.avi"}));
}

std::vector<TFailedFile> Failures(size_t count)
{
    std::vector<TFailedFile> result;
    for (size_t i = 1; i <= count; ++i) result.push_back({"file" + IntToStr(int64_t(i)) + ".mpg", "reason " + IntToStr(int64_t(i))});
    return result;
}

size_t CountOf(const std::string& text, const std::string& part)
{
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++n;
    return n;
}

TEST(FailureMessage, NamesEachFailedFileWithItsReasonUpToALimit)
{
    const TConversionTexts texts;
    EXPECT_EQ("At least one error occurred.", FailureMessage(texts, {}));
    EXPECT_EQ("At least one error occurred.\r\n\r\nThese files could not be converted:\r\n"
              "a.mpg: No space left on device",
              FailureMessage(texts, {{"a.mpg", "No space left on device"}}));

    // Classes of counts around the limit: all listed up to it, then "and N more".
    for (size_t count : {size_t(2), MaxListedFailures - 1, MaxListedFailures, MaxListedFailures + 1, size_t(250)}) {
        SCOPED_TRACE(count);
        const std::string message = FailureMessage(texts, Failures(count));
        const size_t listed = count < MaxListedFailures ? count : MaxListedFailures;
        EXPECT_EQ(listed, CountOf(message, ".mpg: reason "));
        EXPECT_NE(std::string::npos, message.find("file" + IntToStr(int64_t(listed)) + ".mpg: reason " + IntToStr(int64_t(listed))));
        const std::string more = "... and " + IntToStr(int64_t(count - listed)) + " more.";
        EXPECT_EQ(count > listed, message.find(more) != std::string::npos) << message;
        EXPECT_EQ(2 + listed + (count > listed ? 1 : 0), SplitLines(message).size() - 1) << message;
    }
}

TEST(FailureMessage, LongNamesAndReasonsLoseTheirMiddle)
{
    const TConversionTexts texts;
    const std::string name = std::string(200, 'n') + ".mpg";
    const std::string reason = "Error writing trailer of " + std::string(300, 'p') + "\\a.mp4: No space left on device";
    const std::string message = FailureMessage(texts, {{name, reason}});
    const std::string line = SplitLines(message).back();
    EXPECT_LE(line.size(), MaxFailedNameLength + 2 + MaxFailureReasonLength);
    EXPECT_NE(std::string::npos, line.find(".mpg: Error writing"));  // the name keeps its extension
    EXPECT_EQ(std::string::npos, line.find(std::string(60, 'p')));
    const std::string end = ": No space left on device";
    EXPECT_EQ(end, line.substr(line.size() - end.size()));  // and the error line what it says at its end
    EXPECT_EQ(2u, CountOf(line, "..."));
}

TEST(FailureMessage, ComesFromTheLanguageTexts)
{
    TConversionTexts texts;
    texts.IDS_MESSAGEBOX_AnErrorOccurred = "Fehler.";
    texts.IDS_MESSAGEBOX_FailedFiles = "Nicht umgewandelt:";
    texts.IDS_MESSAGEBOX_FailedFile = "%s -> %s";
    texts.IDS_MESSAGEBOX_MoreFailedFiles = "und %d weitere";
    const std::string message = FailureMessage(texts, Failures(MaxListedFailures + 2));
    EXPECT_EQ(0u, message.find("Fehler.\r\n\r\nNicht umgewandelt:\r\nfile1.mpg -> reason 1\r\n"));
    EXPECT_EQ("und 2 weitere", SplitLines(message).back());
}

// --- the output of a failed run -----------------------------------------------------------------------

class FailedOutput : public ::testing::Test {
protected:
    std::string Output() const { return dir / "out.avi"; }
    TempDir dir;
};

TEST_F(FailedOutput, MadeByTheRunGoes)
{
    for (const std::string& content : {std::string(), std::string("part of a file"), std::string(70000, 'x')}) {
        const TOutputSnapshot before = TakeOutputSnapshot(Output());
        EXPECT_FALSE(before.Existed);
        ASSERT_TRUE(WriteFileText(Output(), content));
        EXPECT_TRUE(RemoveFailedOutput(Output(), before)) << content.size();
        EXPECT_FALSE(FileExists(Output()));
    }
}

TEST_F(FailedOutput, NothingThereNothingDeleted)
{
    EXPECT_FALSE(RemoveFailedOutput(Output(), TakeOutputSnapshot(Output())));
    // A folder under the output's name is never taken for an output.
    CreateDirectoryA(Output().c_str(), nullptr);
    EXPECT_FALSE(TakeOutputSnapshot(Output()).Existed);
    EXPECT_FALSE(RemoveFailedOutput(Output(), TOutputSnapshot()));
    EXPECT_TRUE(DirectoryExists(Output()));
}

TEST_F(FailedOutput, AnExistingFileTheRunLeftAloneStays)
{
    for (const std::string& content : {std::string(), std::string("the user's earlier result")}) {
        ASSERT_TRUE(WriteFileText(Output(), content));
        const TOutputSnapshot before = TakeOutputSnapshot(Output());
        EXPECT_TRUE(before.Existed);
        EXPECT_FALSE(RemoveFailedOutput(Output(), before));
        std::string now;
        EXPECT_TRUE(ReadFileText(Output(), now));
        EXPECT_EQ(content, now);
    }
}

TEST_F(FailedOutput, AnExistingFileTheRunRewroteGoes)
{
    ASSERT_TRUE(WriteFileText(Output(), "the user's earlier result, which they chose to overwrite"));
    const TOutputSnapshot before = TakeOutputSnapshot(Output());
    // The encoder truncates it and writes a part: another size.
    ASSERT_TRUE(WriteFileText(Output(), "part"));
    EXPECT_TRUE(RemoveFailedOutput(Output(), before));
    EXPECT_FALSE(FileExists(Output()));

    // The same size, written anew: only its time tells.
    ASSERT_TRUE(WriteFileText(Output(), "1234"));
    TOutputSnapshot older = TakeOutputSnapshot(Output());
    ULARGE_INTEGER time;
    time.LowPart = older.Written.dwLowDateTime;
    time.HighPart = older.Written.dwHighDateTime;
    time.QuadPart -= 10000000;  // as if taken a second earlier
    older.Written.dwLowDateTime = time.LowPart;
    older.Written.dwHighDateTime = time.HighPart;
    EXPECT_TRUE(RemoveFailedOutput(Output(), older));
    EXPECT_FALSE(FileExists(Output()));
}

}  // namespace
