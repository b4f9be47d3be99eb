#include "ConversionFailures.h"

#include <cstdio>

#include "Strings.h"

namespace {

// Words (in lower case) with which encoders (ffmpeg, the bridge, the runner) say why something failed.
// Chosen so that the warnings of a good run ("has not been used", "deprecated") do not match.
const char* const ErrorWords[] = {"error",     "fail",       "cannot",     "can't",       "could not",
                                  "couldn't",  "unable",     "invalid",    "no such",     "no space",
                                  "denied",    "does not",   "not found",  "unsupported", "not supported",
                                  "unknown",   "disk full",  "did not",    "not enough",  "no sound",
                                  "no picture"};

const char* const GenericFailureLines[] = {"Conversion failed!"};

// Lines that describe the run and never say why it failed, though a file name or a title in them
// may hold any word: progress, the input and output headers and the indented stream descriptions and
// metadata below them.
bool IsDescriptionLine(const std::string& line, const std::string& trimmed)
{
    return line[0] == ' ' || line[0] == '\t' || StartsText("frame=", trimmed) || StartsText("size=", trimmed) ||
           StartsText("Input #", trimmed) || StartsText("Output #", trimmed);
}

// At most `limit` characters: a longer text loses its middle to "...", so that what an error line says
// at its end ("...: No space left on device") and a name's extension stay.
std::string Shorten(const std::string& text, size_t limit)
{
    if (text.size() <= limit) return text;
    const size_t head = (limit - 3) / 3;
    return text.substr(0, head) + "..." + text.substr(text.size() - (limit - 3 - head));
}

}  // namespace

bool IsEncoderErrorLine(const std::string& line)
{
    const std::string trimmed = Trim(line);
    if (trimmed.empty() || IsDescriptionLine(line, trimmed)) return false;
    const std::string lower = LowerCase(trimmed);
    for (const char* word : ErrorWords)
        if (lower.find(word) != std::string::npos) return true;
    return false;
}

bool IsGenericFailureLine(const std::string& line)
{
    const std::string trimmed = Trim(line);
    for (const char* generic : GenericFailureLines)
        if (SameText(trimmed, generic)) return true;
    return false;
}

void TEncoderErrorWatch::See(const std::string& line)
{
    if (!IsEncoderErrorLine(line)) return;
    if (IsGenericFailureLine(line) && !line_.empty()) return;
    line_ = Trim(line);
}

std::string ExitCodeText(DWORD exitCode)
{
    if (exitCode < 0x10000000) return IntToStr(int64_t(exitCode));
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(exitCode));
    return text;
}

std::string ReasonWithFileNames(const std::string& reason, std::initializer_list<std::string> paths)
{
    std::string result = reason;
    for (const std::string& path : paths) {
        const size_t slash = path.find_last_of("\\/");
        if (slash != std::string::npos) result = StringReplaceAll(result, path, path.substr(slash + 1));
    }
    return result;
}

std::string FailureMessage(const TConversionTexts& texts, const std::vector<TFailedFile>& failures)
{
    std::string message = texts.IDS_MESSAGEBOX_AnErrorOccurred;
    if (failures.empty()) return message;
    message += "\r\n\r\n" + texts.IDS_MESSAGEBOX_FailedFiles;
    const size_t listed = failures.size() < MaxListedFailures ? failures.size() : MaxListedFailures;
    for (size_t i = 0; i < listed; ++i) {
        const TFailedFile& f = failures[i];
        message += "\r\n" + FormatText(texts.IDS_MESSAGEBOX_FailedFile,
                                       {Shorten(f.File, MaxFailedNameLength), Shorten(f.Reason, MaxFailureReasonLength)});
    }
    if (failures.size() > listed)
        message += "\r\n" + FormatText(texts.IDS_MESSAGEBOX_MoreFailedFiles, {IntToStr(int64_t(failures.size() - listed))});
    return message;
}

TOutputSnapshot TakeOutputSnapshot(const std::string& path)
{
    TOutputSnapshot snapshot;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return snapshot;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return snapshot;
    snapshot.Existed = true;
    snapshot.Size = int64_t(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
    snapshot.Written = data.ftLastWriteTime;
    return snapshot;
}

bool RemoveFailedOutput(const std::string& path, const TOutputSnapshot& before)
{
    const TOutputSnapshot now = TakeOutputSnapshot(path);
    if (!now.Existed) return false;
    const bool untouched = before.Existed && now.Size == before.Size &&
                           CompareFileTime(&now.Written, &before.Written) == 0;
    if (untouched) return false;
    return DeleteFileA(path.c_str()) != 0;
}
