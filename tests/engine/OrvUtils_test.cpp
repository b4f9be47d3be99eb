#include "OrvUtils.h"

#include <gtest/gtest.h>

#include <vector>

#include "Cursor.h"

TEST(ExtractFileNameOnly, DropsFolderAndLastExtension)
{
    struct Case { const char* in; const char* out; };
    for (const Case& c : {Case{"C:\\a.b\\file", "file"}, {"C:\\a\\file.tar.gz", "file.tar"}, {"name", "name"},
                          {"English.ini", "English"}, {"D:x.y", "x"}, {"C:\\dir\\", ""}, {".ini", ""}})
        EXPECT_EQ(ExtractFileNameOnly(c.in), c.out) << c.in;
}

TEST(TranslateLineBreaks, EncodesEveryBreakAndDecodesToCrLf)
{
    EXPECT_EQ(TranslateLineBreaks(" a\r\nb\nc\rd ", false), "a#13b#13c#13d");
    EXPECT_EQ(TranslateLineBreaks("\t a#13b#13 ", true), "a\r\nb\r\n");
    const std::string text = "Line one\r\nLine two\r\n\r\nLine four";
    EXPECT_EQ(TranslateLineBreaks(TranslateLineBreaks(text, false), true), text);
}

TEST(AddTrailingBackslash, AddsOnlyWhenMissing)
{
    EXPECT_EQ(AddTrailingBackslash("C:\\x"), "C:\\x\\");
    EXPECT_EQ(AddTrailingBackslash("C:\\x\\"), "C:\\x\\");
    EXPECT_EQ(AddTrailingBackslash(""), "\\");
}

TEST(WaitCursor, NestsAndIgnoresExtraEnds)
{
    BeginWaitCursor();
    BeginWaitCursor();
    EndWaitCursor();
    EXPECT_EQ(ScreenCursor, crHourGlass);
    EndWaitCursor();
    EXPECT_EQ(ScreenCursor, crDefault);
    EndWaitCursor();
    EXPECT_EQ(WaitCursorDepth(), 0);
    EXPECT_EQ(ScreenCursor, crDefault);
}

TEST(GetShellFolder, MissingAndWrongTypedValuesGiveEmptyText)
{
    const char* key = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    HKEY h;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr), ERROR_SUCCESS);
    const DWORD number = 7;
    RegSetValueExA(h, "OrvaneTestNumber", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    RegSetValueExA(h, "OrvaneTestText", 0, REG_SZ, reinterpret_cast<const BYTE*>("C:\\Docs"), 8);
    EXPECT_EQ(GetShellFolder("OrvaneTestNumber"), "");
    EXPECT_EQ(GetShellFolder("OrvaneTestText"), "C:\\Docs");
    EXPECT_EQ(GetShellFolder("OrvaneNoSuchValue"), "");
    RegDeleteValueA(h, "OrvaneTestNumber");
    RegDeleteValueA(h, "OrvaneTestText");
    RegCloseKey(h);
}

namespace {

// Records the power calls instead of making them.
struct PowerLog {
    std::vector<std::string> calls;
    bool privilegeGranted = true;

    PowerLog()
    {
        TPowerApi& api = PowerApi();
        api.SetPrivilege = [this](HANDLE, const std::string& name, bool enable) {
            calls.push_back((enable ? "enable " : "disable ") + name);
            return privilegeGranted;
        };
        api.TerminateApplication = [this] { calls.push_back("terminate"); };
        api.ExitSession = [this](UINT flags) { calls.push_back("exit " + std::to_string(flags)); };
        api.SetPowerState = [this](bool suspend, bool force) {
            calls.push_back(std::string("power ") + (suspend ? "suspend" : "hibernate") + (force ? " force" : ""));
        };
    }
    ~PowerLog() { ResetPowerApi(); }
};

}  // namespace

TEST(ShutdownComputer, MapsEachActionToItsSystemCall)
{
    const std::string on = "enable SeShutdownPrivilege", off = "disable SeShutdownPrivilege";
    struct Case { int action; std::vector<std::string> calls; };
    const Case cases[] = {
        {0, {"terminate"}},
        {1, {on, "exit " + std::to_string(EWX_SHUTDOWN | EWX_POWEROFF), off}},
        {2, {on, "exit " + std::to_string(EWX_LOGOFF), off}},
        {3, {on, "exit " + std::to_string(EWX_REBOOT), off}},
        {4, {on, "power hibernate", off}},
        {5, {on, "power suspend", off}},
        {6, {}},
        {-1, {}},
    };
    for (const Case& c : cases) {
        PowerLog log;
        ShutdownComputer(c.action);
        EXPECT_EQ(log.calls, c.calls) << "action " << c.action;
    }
}

TEST(ShutdownComputer, WithoutThePrivilegeOnlyClosingTheProgramHappens)
{
    for (int action = 0; action <= 5; ++action) {
        PowerLog log;
        log.privilegeGranted = false;
        ShutdownComputer(action);
        if (action == 0) EXPECT_EQ(log.calls, std::vector<std::string>{"terminate"});
        else EXPECT_EQ(log.calls, std::vector<std::string>{"enable SeShutdownPrivilege"}) << action;
    }
}

TEST(SetProcessPrivilege, UnknownPrivilegeFails)
{
    EXPECT_FALSE(SetProcessPrivilege(nullptr, "SeNoSuchPrivilegeAtAll", true));
}
