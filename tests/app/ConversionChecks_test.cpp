// The checks of the Convert action; none of these starts the encoder.
#include <gtest/gtest.h>

#include "ConversionFixture.h"

namespace {

class ConversionChecks : public ConversionFixture {
protected:
    void SetUp() override
    {
        ConversionFixture::SetUp();
        InstallEncoder();
    }
    // Convert refused: nothing ran, no progress window was made.
    void ExpectNothingRan()
    {
        EXPECT_EQ(0, host.ProgressCreated);
        EXPECT_TRUE(LoggedCommandLines().empty());
        EXPECT_FALSE(runner.Active());
    }
};

TEST_F(ConversionChecks, MissingEncoder)
{
    AddSource("a.mpg");
    const struct {
        std::string path;
        bool exists;
    } cases[] = {
        {"avcore.dll", true},
        {"missing.dll", false},
        {"..\\program\\avcore.dll", true},  // ".." starts from the program folder
        {"..\\program\\missing.dll", false},
        {programDir + "avcore.dll", true},
    };
    for (const auto& c : cases) {
        SetCurrentDirectoryA(dir.Path().c_str());  // anywhere but the program folder
        Options.EncoderPath = c.path;
        host.Messages.clear();
        EXPECT_EQ(c.exists, driver.CheckEncoderExists()) << c.path;
        if (c.exists) continue;
        ASSERT_EQ(1u, Messages().size());
        EXPECT_EQ("The file \"" + c.path + "\" couldn't be found.", Messages()[0].Text);
        EXPECT_EQ("Hint", Messages()[0].Caption);
        EXPECT_EQ(UINT(MB_ICONWARNING), Messages()[0].Flags & MB_ICONMASK);
    }
    Options.EncoderPath = "missing.dll";
    EXPECT_FALSE(driver.Convert());
    ExpectNothingRan();
}

TEST_F(ConversionChecks, EmptyList)
{
    EXPECT_FALSE(driver.Convert());
    ASSERT_EQ(1u, Messages().size());
    EXPECT_EQ("There are no files to encode!", Messages()[0].Text);
    EXPECT_EQ("Hint", Messages()[0].Caption);
    ExpectNothingRan();
}

TEST_F(ConversionChecks, OutputMayNotBeAFileOfTheList)
{
    struct Case {
        const char* name;
        std::vector<std::string> sources;  // relative to the test folder
        std::string folder;                // the folder box's text
        std::string refused;               // the output named in the message; empty: accepted
        bool duplicate;
    };
    const std::string d = dir.Path();
    const Case cases[] = {
        {"OwnSourceOtherCase", {"in\\Clip.AVI"}, "  " + UpperCase(d) + "IN  ", UpperCase(d) + "IN\\Clip.avi", false},
        {"OwnSourceDotted", {"in\\clip.avi"}, d + "out\\..\\in\\.", d + "out\\..\\in\\.\\clip.avi", false},
        {"AnotherEntrysSource", {"in\\a.mpg", "out\\A.avi"}, d + "out", d + "out\\a.avi", false},
        {"SameOutputTwice", {"in\\a.mpg", "in\\sub\\A.mov"}, d + "out", d + "out\\A.avi", true},
        {"Distinct", {"in\\a.mpg", "in\\b.mpg", "out\\c.mov"}, d + "out", "", false},
    };
    for (const Case& c : cases) {
        host.Files.clear();
        host.Messages.clear();
        for (const std::string& s : c.sources) {
            ForceDirectories(ExtractFilePath(d + s));
            AddSource(ExtractFileName(s), ExtractFilePath(d + s));
        }
        host.OutputFolder = c.folder;
        EXPECT_EQ(c.refused.empty(), driver.CheckInputOutputDiffer(".avi")) << c.name;
        if (c.refused.empty()) {
            EXPECT_TRUE(Messages().empty()) << c.name;
            continue;
        }
        ASSERT_EQ(1u, Messages().size()) << c.name;
        const std::string expected =
            c.duplicate ? "Two files of the list would be written to \"" + c.refused +
                              "\".\r\n\r\nPlease remove one of them from the list."
                        : "Input file and output file must be different!\r\n\r\nPlease correct this for \"" +
                              c.refused + "\".";
        EXPECT_EQ(expected, Messages()[0].Text) << c.name;
        EXPECT_EQ("Error!", Messages()[0].Caption);
        EXPECT_EQ(UINT(MB_ICONINFORMATION), Messages()[0].Flags & MB_ICONMASK);
        EXPECT_FALSE(driver.Convert()) << c.name;
    }
    ExpectNothingRan();
}

TEST_F(ConversionChecks, OverwriteQuestions)
{
    const std::string a = AddSource("a.mpg"), b = AddSource("b.mpg"), c = AddSource("c.mpg");
    WriteFileText(OutputOf(a), "old");
    WriteFileText(OutputOf(c), "old");
    struct Case {
        std::vector<int> answers;
        int sureAnswer;
        bool accepted;
        size_t questions;
    };
    const Case cases[] = {
        {{mrYes, mrYes}, IDYES, true, 2},
        {{mrYes, mrNo}, IDYES, false, 2},  // no single file is skipped: the batch does not start
        {{mrCancel}, IDYES, false, 1},
        {{}, IDYES, false, 1},  // closed
        {{mrYesToAll}, IDYES, true, 1},
        {{mrYesToAll}, IDNO, false, 1},
        {{mrYesToAll}, IDCANCEL, false, 1},
        {{mrYes, mrYesToAll}, IDYES, true, 2},
    };
    for (const Case& k : cases) {
        host.QuestionAnswers.assign(k.answers.begin(), k.answers.end());
        host.Questions.clear();
        host.Messages.clear();
        host.MessageAnswer = k.sureAnswer;
        EXPECT_EQ(k.accepted, driver.ConfirmOverwrite(".avi"));
        ASSERT_EQ(k.questions, host.Questions.size());
        EXPECT_EQ("File \"" + OutputOf(a) + "\" already exists.\r\n\r\nAre you sure you want to overwrite it?",
                  host.Questions[0].Text);
        EXPECT_EQ("Overwrite file? [Yes|No|Cancel|Yes To All]", host.Questions[0].Caption);
        if (k.questions > 1) {
            EXPECT_EQ("File \"" + OutputOf(c) + "\" already exists.\r\n\r\nAre you sure you want to overwrite it?",
                      host.Questions[1].Text);
        }
        const bool yesToAll = !k.answers.empty() && k.answers.back() == mrYesToAll;
        ASSERT_EQ(yesToAll ? 1u : 0u, Messages().size());
        if (yesToAll) {
            EXPECT_EQ("Are you sure to overwrite all existing files?", Messages()[0].Text);
            EXPECT_EQ(UINT(MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2), Messages()[0].Flags);
        }
    }
}

TEST_F(ConversionChecks, OverwriteAnsweredNoRunsNothing)
{
    const std::string a = AddSource("a.mpg"), b = AddSource("b.mpg");
    WriteFileText(OutputOf(a), "old a");
    WriteFileText(OutputOf(b), "old b");
    host.QuestionAnswers = {mrYes, mrNo};
    EXPECT_FALSE(driver.Convert());
    ExpectNothingRan();
    std::string text;
    ASSERT_TRUE(ReadFileText(OutputOf(a), text));
    EXPECT_EQ("old a", text);
    EXPECT_EQ(2, host.FileCount());
}

TEST_F(ConversionChecks, OutputFolder)
{
    AddSource("a.mpg");
    host.OutputFolder = "   ";
    EXPECT_FALSE(driver.CheckOutputDir());
    ASSERT_EQ(1u, Messages().size());
    EXPECT_EQ("You must choose an output folder first!", Messages()[0].Text);
    EXPECT_EQ("Empty Dir", Messages()[0].Caption);

    const std::string missing = dir / "new\\deeper\\folder";
    host.OutputFolder = " " + missing + " ";
    for (int answer : {IDNO, IDCANCEL}) {
        host.Messages.clear();
        host.MessageAnswer = answer;
        EXPECT_FALSE(driver.CheckOutputDir());
        ASSERT_EQ(1u, Messages().size());
        EXPECT_EQ("Output directory do not exist, do you want to force create it?", Messages()[0].Text);
        EXPECT_EQ("Create directory", Messages()[0].Caption);
        EXPECT_FALSE(DirectoryExists(missing));
    }
    host.Messages.clear();
    host.MessageAnswer = IDYES;
    EXPECT_TRUE(driver.CheckOutputDir());
    EXPECT_TRUE(DirectoryExists(missing));
    EXPECT_EQ(1u, Messages().size());

    WriteFileText(dir / "plainfile", "x");
    host.OutputFolder = dir / "plainfile\\sub";  // cannot be made below a file
    host.Messages.clear();
    EXPECT_FALSE(driver.CheckOutputDir());
    ASSERT_EQ(2u, Messages().size());
    EXPECT_EQ("Fail to create directory! Please check if output folder have the right format!", Messages()[1].Text);
    EXPECT_EQ("Fail", Messages()[1].Caption);
    ExpectNothingRan();
}

TEST_F(ConversionChecks, EmptyFolderBoxIsReportedByTheFolderCheck)
{
    AddSource("a.mpg");
    host.OutputFolder = "";
    EXPECT_FALSE(driver.Convert());
    ASSERT_EQ(1u, Messages().size());
    EXPECT_EQ("You must choose an output folder first!", Messages()[0].Text);
    ExpectNothingRan();
}

TEST_F(ConversionChecks, StopQuestionOutsideABatchClosesAtOnce)
{
    EXPECT_TRUE(driver.AskStop());
    EXPECT_TRUE(host.Questions.empty());
    driver.StartNextFileMessage();  // a late message: nothing to start
    ExpectNothingRan();
}

}  // namespace
