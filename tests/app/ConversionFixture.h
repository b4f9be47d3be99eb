// A program folder with the test encoder as "avcore.dll", input and output folders, a fake main window
// and a conversion driver with a real process runner.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ConversionDriver.h"
#include "FakeConversionHost.h"
#include "FileUtils.h"
#include "OrvUtils.h"
#include "Strings.h"
#include "TempDir.h"
#include "TestEncoder.h"
#include "profiles.h"

class ConversionFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        programDir = dir / "program\\";
        CreateDirectoryA(programDir.c_str(), nullptr);
        ExeDir = programDir;
        Options = TOptions();
        Options.EncoderPath = "avcore.dll";
        Options.Priority = 1;
        Options.ProfileDir = dir / "profiles\\";
        ForceDirectories(Options.ProfileDir);
        Options.AVIProfileDir = Options.ProfileDir + "avi\\";  // empty: the default profile
        Options.OutputFormat = ofAVI;
        inDir = dir / "in\\";
        outDir = dir / "out\\";
        CreateDirectoryA(inDir.c_str(), nullptr);
        CreateDirectoryA(outDir.c_str(), nullptr);
        host.OutputFolder = outDir;
        host.Driver = &driver;
        log = dir / "log.txt";
        SetTestEncoderSettings("log=" + log);
        AVSExtList.Clear();
        ResetPowerApi();
        PowerApi().SetPrivilege = [](HANDLE, const std::string&, bool) { return true; };
        PowerApi().TerminateApplication = [this] { powerCalls.push_back("terminate"); };
        PowerApi().ExitSession = [this](UINT flags) { powerCalls.push_back("exit " + IntToStr(flags)); };
        PowerApi().SetPowerState = [this](bool suspend, bool) { powerCalls.push_back(suspend ? "suspend" : "hibernate"); };
    }
    void TearDown() override
    {
        SetTestEncoderSettings("");
        ResetPowerApi();
        AVSExtList.Clear();
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        SetCurrentDirectoryA(temp);  // the checks made the program folder current; let it go
    }

    // The encoder under its real name in the program folder.
    void InstallEncoder() { InstallTestEncoderAt(programDir + "avcore.dll"); }
    static void InstallTestEncoderAt(const std::string& target)
    {
        CopyFileA(TestEncoderProgram().c_str(), target.c_str(), FALSE);
    }

    // A source file in `folder` (default: the input folder), added to the list with its size.
    std::string AddSource(const std::string& name, const std::string& folder = "")
    {
        const std::string path = (folder.empty() ? inDir : folder) + name;
        const std::string content = "source " + name + std::string(100 * (host.Files.size() + 1), '.');
        WriteFileText(path, content);
        host.Files.push_back({path, IntToStr(int64_t(content.size()))});
        return path;
    }

    std::string OutputOf(const std::string& source, const std::string& ext = ".avi") const
    {
        return outDir + ChangeFileExt(ExtractFileName(source), ext);
    }

    // The command lines the encoder was started with, in order.
    std::vector<std::string> LoggedCommandLines() const
    {
        std::string text;
        if (!ReadFileText(log, text)) return {};
        std::vector<std::string> lines;
        for (const std::string& line : SplitLines(text))
            if (!line.empty()) lines.push_back(line);
        return lines;
    }

    const std::vector<FakeConversionHost::Message>& Messages() const { return host.Messages; }

    TempDir dir;
    std::string programDir, inDir, outDir, log;
    std::vector<std::string> powerCalls;
    TRedirector runner;
    FakeConversionHost host;
    TConversionDriver driver{host, runner};
};
