#include "globals.h"

#include <clocale>

#include "FileUtils.h"
#include "IniFile.h"
#include "OrvUtils.h"

const char* const AppTitle = "Orvane";

std::string ExeDir;
std::string ConfigIniFile;
std::string OptionsIniFile;
std::string LangsDir;
std::string LanguageFile;
std::string HelpFile;
std::string SkinsDir;

TStringList FilterList;
TStringList AVSExtList;

TOptions Options;

namespace {

const char* const kOptionsSection = "Orvaneoptions";

}  // namespace

void InitGlobals(const std::string& exeDir)
{
    // The encoder prints times and sizes with a point and profile files store them so.
    std::setlocale(LC_NUMERIC, "C");
    ExeDir = AddTrailingBackslash(exeDir.empty() ? ExtractFilePath(ModuleFileName()) : exeDir);
    ConfigIniFile = ExeDir + "config.ini";
    OptionsIniFile = ExeDir + "options.ini";
    const TIniFile config(ConfigIniFile);
    LangsDir = AddTrailingBackslash(ExeDir + "langs");
    const std::string languageName = config.ReadString("VideoAPP_Form", "LanguageFile", "English.ini");
    LanguageFile = LangsDir + languageName;
    const size_t keep = LanguageFile.size() >= 4 ? LanguageFile.size() - 4 : 0;
    Options.ProfileDir = AddTrailingBackslash(LanguageFile.substr(0, keep) + "_Profile\\");
    SkinsDir = AddTrailingBackslash(ExeDir + "skins");
    HelpFile = LangsDir + ExtractFileNameOnly(languageName) + "_help.chm";
}

void LoadOptions()
{
    Options.OutputFormat = 0;
    Options.EncoderPath = "avcore.dll";
    Options.Priority = 1;
    Options.ShutdownFlag = 1;
    Options.DeleteFileAfterProcessing = false;
    Options.ShutdownWindowsWhenDone = false;
    Options.LastOutputOpenDir = GetShellFolder("Personal");
    Options.ShowWindow = true;
    Options.UseDirectShow = false;

    if (!FileExists(OptionsIniFile)) SaveOptions();

    const TIniFile ini(OptionsIniFile);
    // Integers arrive as 32-bit numbers; the byte fields keep the low byte.
    Options.OutputFormat = uint8_t(ini.ReadInteger(kOptionsSection, "OutputFormat", Options.OutputFormat));
    Options.LastInputOpenDir = ini.ReadString(kOptionsSection, "LastInputOpenDir", Options.LastInputOpenDir);
    Options.LastOutputOpenDir = ini.ReadString(kOptionsSection, "LastOutputOpenDir", Options.LastOutputOpenDir);
    Options.Priority = uint8_t(ini.ReadInteger(kOptionsSection, "Priority", Options.Priority));
    Options.ShutdownFlag = uint8_t(ini.ReadInteger(kOptionsSection, "ShutdownFlag", Options.ShutdownFlag));
    Options.DeleteFileAfterProcessing =
        ini.ReadBool(kOptionsSection, "DeleteFileAfterProcessing", Options.DeleteFileAfterProcessing);
    Options.ShutdownWindowsWhenDone =
        ini.ReadBool(kOptionsSection, "ShutdownWindowsWhenDone", Options.ShutdownWindowsWhenDone);
    Options.ShowWindow = ini.ReadBool(kOptionsSection, "ShowWindow", Options.ShowWindow);
    Options.UseDirectShow = ini.ReadBool(kOptionsSection, "UseDirectShow", Options.UseDirectShow);
}

void SaveOptions()
{
    TIniFile ini(OptionsIniFile);
    ini.WriteInteger(kOptionsSection, "OutputFormat", Options.OutputFormat);
    ini.WriteString(kOptionsSection, "LastInputOpenDir", Options.LastInputOpenDir);
    ini.WriteString(kOptionsSection, "LastOutputOpenDir", Options.LastOutputOpenDir);
    ini.WriteInteger(kOptionsSection, "Priority", Options.Priority);
    ini.WriteInteger(kOptionsSection, "ShutdownFlag", Options.ShutdownFlag);
    ini.WriteBool(kOptionsSection, "DeleteFileAfterProcessing", Options.DeleteFileAfterProcessing);
    ini.WriteBool(kOptionsSection, "ShutdownWindowsWhenDone", Options.ShutdownWindowsWhenDone);
    ini.WriteBool(kOptionsSection, "ShowWindow", Options.ShowWindow);
    ini.WriteBool(kOptionsSection, "UseDirectShow", Options.UseDirectShow);
}
