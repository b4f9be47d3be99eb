// The test encoder (tools/test-encoder) installed into a test's temp folder under the encoder's real
// name, and chosen through its settings variable.
#pragma once
#include <windows.h>

#include <string>

#include "TempDir.h"

// The test encoder as built: beside the tools, never in the program folder.
inline std::string TestEncoderProgram() { return std::string(ORV_BUILD_DIR) + "tools\\test-encoder.exe"; }

// Copies the test encoder to `dir` as `name`; returns the full path.
inline std::string InstallTestEncoder(const TempDir& dir, const std::string& name = "avcore.dll")
{
    const std::string source = TestEncoderProgram();
    const std::string target = dir / name;
    CopyFileA(source.c_str(), target.c_str(), FALSE);
    return target;
}

// Sets the encoder's behaviour for every child started from now on ("mode=fail;stream=both").
inline void SetTestEncoderSettings(const std::string& settings)
{
    SetEnvironmentVariableA("ORV_TEST_ENCODER", settings.empty() ? nullptr : settings.c_str());
}
