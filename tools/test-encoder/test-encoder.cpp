// test-encoder: a console program that behaves like an FFmpeg-style encoder, for tests.
//
// It reads "-i <input>", "-f <format>", "-t <time>", "-ss <time>" and "-y"; every other option is taken
// as opaque (with one value when the next word does not start with '-'), and the last word is the output
// file. It prints a banner, the "Input #0"/"Duration:"/"Output #0" header lines and progress lines that
// end in a carriage return, writes the output file and exits.
//
// Behaviour is chosen by "key=value" settings, read first from the file "test-encoder.ini" beside the
// program (one setting a line) and then from the environment variable ORV_TEST_ENCODER (settings
// separated by ';'), which wins:
//   mode=normal|fail|crash|hang|garbage|silent   what to do (default normal)
//   exitcode=N        exit code (default 0, or 1 with mode=fail)
//   stream=stderr|stdout|both   where the console text goes (default stderr, as FFmpeg does); with
//                     "both" the banner and header lines go to stdout and the progress to stderr
//   split=N           write every piece of text in slices of N bytes, pausing between them (0: whole)
//   pace=MS           pause before each progress line (default 0)
//   quiet=MS          stay silent for MS before writing anything (default 0)
//   frames=N          number of progress lines (default 4)
//   duration=SECONDS  the input's duration (default 5.00)
//   tail=N            write N bytes of a fixed pattern (lines of digits) to the stream(s) just before exit
//   output=full|empty|none   what to write to the output file (default full; empty with mode=fail)
//   outputsize=N      make the full output N bytes long (padded after its text); with mode=hang,
//                     write N bytes of output before hanging
//   room=N            a nearly full disk: the output gets at most N bytes, then its write fails
//                     with "No space left on device" as a real full disk does, the part written
//                     stays, and the run fails (exit code 1 unless exitcode says otherwise)
//   log=PATH          append the program's full command line to PATH, one line per run
//   showpriority=1    print the process's priority class as "Priority class: N"
//   ready=PATH        create the file PATH once all console text of a "hang" run is written
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

std::map<std::string, std::string> settings;

std::string Setting(const std::string& key, const std::string& fallback)
{
    auto it = settings.find(key);
    return it == settings.end() || it->second.empty() ? fallback : it->second;
}

long SettingInt(const std::string& key, long fallback)
{
    const std::string text = Setting(key, "");
    return text.empty() ? fallback : std::strtol(text.c_str(), nullptr, 10);
}

std::string Trim(const std::string& s)
{
    size_t b = s.find_first_not_of(" \t\r\n"), e = s.find_last_not_of(" \t\r\n");
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

void AddSettings(const std::string& text, char separator)
{
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(separator, start);
        if (end == std::string::npos) end = text.size();
        const std::string item = text.substr(start, end - start);
        const size_t eq = item.find('=');
        if (eq != std::string::npos) settings[Trim(item.substr(0, eq))] = Trim(item.substr(eq + 1));
        start = end + 1;
    }
}

void LoadSettings()
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path, n);
    dir = dir.substr(0, dir.find_last_of("\\/") + 1);
    if (FILE* f = std::fopen((dir + "test-encoder.ini").c_str(), "rb")) {
        std::string text;
        char buf[512];
        size_t got;
        while ((got = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, got);
        std::fclose(f);
        AddSettings(text, '\n');
    }
    char env[4096];
    DWORD len = GetEnvironmentVariableA("ORV_TEST_ENCODER", env, sizeof env);
    if (len > 0 && len < sizeof env) AddSettings(std::string(env, len), ';');
}

// --- console text ---------------------------------------------------------------------------------

HANDLE out, err;
long splitSize = 0;

void WriteRaw(HANDLE h, const char* data, size_t size)
{
    if (h == nullptr || h == INVALID_HANDLE_VALUE) return;
    while (size > 0) {
        DWORD piece = splitSize > 0 && size > size_t(splitSize) ? DWORD(splitSize) : DWORD(size), written = 0;
        if (!WriteFile(h, data, piece, &written, nullptr) || written == 0) return;
        data += written;
        size -= written;
        if (splitSize > 0 && size > 0) Sleep(1);  // let the reader see the slice on its own
    }
}

void Write(HANDLE h, const std::string& text) { WriteRaw(h, text.data(), text.size()); }

std::string Printf(const char* format, ...)
{
    char buf[2048];
    va_list args;
    va_start(args, format);
    int n = std::vsnprintf(buf, sizeof buf, format, args);
    va_end(args);
    return std::string(buf, n < 0 ? 0 : (n < int(sizeof buf) ? n : int(sizeof buf) - 1));
}

// "HH:MM:SS.ss" or plain seconds, as FFmpeg takes them for -t and -ss.
double SecondsOf(const std::string& text)
{
    double total = 0;
    size_t start = 0;
    for (;;) {
        size_t colon = text.find(':', start);
        total = total * 60 + std::atof(text.substr(start, colon - start).c_str());
        if (colon == std::string::npos) break;
        start = colon + 1;
    }
    return total;
}

std::string DurationText(double seconds)
{
    int cs = int(seconds * 100 + 0.5);
    return Printf("%02d:%02d:%02d.%02d", cs / 360000, cs / 6000 % 60, cs / 100 % 60, cs % 100);
}

std::string ExtensionOf(const std::string& path)
{
    size_t dot = path.find_last_of('.'), slash = path.find_last_of("\\/");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    return path.substr(dot + 1);
}

// Lines of eight digits counting up, cut to `size` bytes: easy to check for gaps and repeats.
std::string TailPattern(long size)
{
    std::string pattern;
    for (long i = 0; long(pattern.size()) < size; ++i) pattern += Printf("%08ld\n", i);
    pattern.resize(size > 0 ? size_t(size) : 0);
    return pattern;
}

// An unhandled access violation. The filter ends the process with the exception code as its exit code,
// as Windows does for a crashed console program once its error report is dismissed, without starting a
// debugger that would wait for a person. The exception is raised rather than caused by a stray write:
// under an emulator a fault at address 0 sometimes arrives as an illegal instruction, and the exit code
// must not depend on that.
LONG WINAPI EndOnCrash(EXCEPTION_POINTERS* info)
{
    TerminateProcess(GetCurrentProcess(), info->ExceptionRecord->ExceptionCode);
    return EXCEPTION_EXECUTE_HANDLER;
}

void Crash()
{
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    SetUnhandledExceptionFilter(EndOnCrash);
    const ULONG_PTR writeToAddressZero[] = {1, 0};
    RaiseException(EXCEPTION_ACCESS_VIOLATION, EXCEPTION_NONCONTINUABLE, 2, writeToAddressZero);
}

enum class WriteResult { Written, CannotOpen, DiskFull };

// Writes the output in pieces, as an encoder does while it runs. `room` < 0: as much as the disk takes;
// otherwise at most `room` bytes fit. What was written before a failed write stays in the file.
WriteResult WriteOutput(const std::string& path, const std::string& content, long room)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return WriteResult::CannotOpen;
    WriteResult result = WriteResult::Written;
    for (size_t at = 0; at < content.size() && result == WriteResult::Written;) {
        size_t piece = content.size() - at < 4096 ? content.size() - at : 4096;
        if (room >= 0 && at + piece > size_t(room)) {
            piece = size_t(room) - at;
            result = WriteResult::DiskFull;
        }
        DWORD done = 0;
        if (piece > 0 && (!WriteFile(file, content.data() + at, DWORD(piece), &done, nullptr) || done < piece))
            result = WriteResult::DiskFull;  // a real disk that is full (the only failure of a local write)
        at += done;
    }
    if (!CloseHandle(file)) result = WriteResult::DiskFull;
    return result;
}

}  // namespace

int main(int argc, char** argv)
{
    LoadSettings();
    out = GetStdHandle(STD_OUTPUT_HANDLE);
    err = GetStdHandle(STD_ERROR_HANDLE);
    splitSize = SettingInt("split", 0);

    if (!Setting("log", "").empty()) {
        if (FILE* f = std::fopen(Setting("log", "").c_str(), "ab")) {
            std::fprintf(f, "%s\r\n", GetCommandLineA());
            std::fclose(f);
        }
    }

    if (const long quiet = SettingInt("quiet", 0)) Sleep(DWORD(quiet));

    std::string input, format, output;
    double limit = -1, start = 0;
    std::vector<std::string> args(argv + 1, argv + argc);
    for (size_t i = 0; i + 1 < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 2 < args.size() && (args[i + 1].empty() || args[i + 1][0] != '-');
        if (a == "-i" && i + 2 < args.size()) input = args[++i];
        else if (a == "-f" && hasValue) format = args[++i];
        else if (a == "-t" && hasValue) limit = SecondsOf(args[++i]);
        else if (a == "-ss" && hasValue) start = SecondsOf(args[++i]);
        else if (a == "-y") continue;
        else if (!a.empty() && a[0] == '-' && hasValue) ++i;
    }
    if (args.size() >= 2) output = args.back();

    const std::string mode = Setting("mode", "normal");
    const std::string stream = Setting("stream", "stderr");
    HANDLE info = stream == "stdout" || stream == "both" ? out : err;
    HANDLE progress = stream == "stdout" ? out : err;
    const int exitCode = int(SettingInt("exitcode", mode == "fail" ? 1 : 0));

    if (mode == "silent") {
        if (Setting("output", "full") != "none" && !output.empty()) {
            if (FILE* f = std::fopen(output.c_str(), "wb")) std::fclose(f);
        }
        return exitCode;
    }

    Write(info,
          "FFmpeg version SVN-r16573, Copyright (c) 2000-2009 Fabrice Bellard, et al.\n"
          "  configuration: --enable-memalign-hack --enable-gpl --enable-libmp3lame --enable-libfaac\n"
          "  libavutil     49.14. 0 / 49.14. 0\n"
          "  libavcodec    52.11. 0 / 52.11. 0\n"
          "  libavformat   52.25. 0 / 52.25. 0\n"
          "  built on Jan 24 2009 02:30:50, gcc: 4.2.4\n");
    if (SettingInt("showpriority", 0)) Write(info, Printf("Priority class: %lu\n", GetPriorityClass(GetCurrentProcess())));
    if (args.size() < 2 || input.empty()) {
        Write(err, "Must supply at least one input file and one output file\n");
        return exitCode ? exitCode : 1;
    }

    const double duration = std::atof(Setting("duration", "5.00").c_str());
    std::string inFormat = ExtensionOf(input);
    if (inFormat.empty()) inFormat = "avi";
    if (format.empty()) format = ExtensionOf(output).empty() ? "avi" : ExtensionOf(output);
    Write(info, Printf("Input #0, %s, from '%s':\n", inFormat.c_str(), input.c_str()));
    Write(info, Printf("  Duration: %s, start: 0.000000, bitrate: 1024 kb/s\n", DurationText(duration).c_str()));
    Write(info, "    Stream #0.0: Video: mpeg4, yuv420p, 320x240 [PAR 1:1 DAR 4:3], 25.00 tb(r)\n"
                "    Stream #0.1: Audio: mp3, 44100 Hz, stereo, s16, 128 kb/s\n");
    Write(info, Printf("Output #0, %s, to '%s':\n", format.c_str(), output.c_str()));
    Write(info, "    Stream #0.0: Video: mpeg4, yuv420p, 320x240 [PAR 1:1 DAR 4:3], q=2-31, 200 kb/s, 25.00 tb(c)\n"
                "    Stream #0.1: Audio: mp2, 44100 Hz, stereo, s16, 64 kb/s\n"
                "Stream mapping:\n"
                "  Stream #0.0 -> #0.0\n"
                "  Stream #0.1 -> #0.1\n"
                "Press [q] to stop encoding\n");

    if (mode == "hang") {
        // With an output size, the part of the output written before it hangs.
        if (SettingInt("outputsize", 0) > 0 && !output.empty())
            WriteOutput(output, TailPattern(SettingInt("outputsize", 0)), -1);
        Write(progress, TailPattern(SettingInt("tail", 0)));
        if (!Setting("ready", "").empty()) {
            if (FILE* f = std::fopen(Setting("ready", "").c_str(), "wb")) std::fclose(f);
        }
        Sleep(INFINITE);
    }

    double length = duration - start;
    if (limit >= 0 && limit < length) length = limit;
    if (length < 0) length = 0;
    const long frames = SettingInt("frames", 4), pace = SettingInt("pace", 0);
    for (long n = 1; n <= frames; ++n) {
        if (pace > 0) Sleep(DWORD(pace));
        const double t = length * n / frames;
        const int frame = int(t * 25 + 0.5);
        const int kb = int(t * 25.6 + 0.5);
        const double rate = t > 0 ? kb * 8.192 / t : 0;
        Write(progress, Printf("frame=%5d fps=  0 q=2.0 size=%8dkB time=%.2f bitrate=%6.1fkbits/s    \r", frame,
                               kb, t, rate));
        if (mode == "crash" && n == 1) Crash();
    }
    if (mode == "crash") Crash();

    if (mode == "garbage") {
        static const char junk[] = "frame=    1 fps=  0 q=2.0 size=N/A time=N/A bitrate=N/A    \r"
                                   "frame=    2 size=      kB time= bitrate=kbits/s\r"
                                   "frame=    3 size=  12kB time=00:00:01.00 bitrate=abc kbits/s\r"
                                   "  Duration: N/A, start: 0.000000\n"
                                   "  Duration: 00:00:0\n"
                                   "Input #0, avi, from '\n"
                                   "Output #0, , to '':\n"
                                   "\x01\x02\xff\xfe binary\0after zero\r\r\n\n\r"
                                   "time=10000000000.0 \rframe=4 time=1.5";
        WriteRaw(progress, junk, sizeof junk - 1);
        Write(progress, "\n");
    }

    Write(progress, Printf("\nvideo:%dkB audio:%dkB global headers:0kB muxing overhead 1.234567%%\n",
                           int(length * 20), int(length * 8)));

    const std::string tail = TailPattern(SettingInt("tail", 0));
    Write(progress, tail);
    if (stream == "both") Write(out, tail);

    const std::string written = Setting("output", mode == "fail" ? "empty" : "full");
    if (written != "none" && !output.empty()) {
        std::string content;
        if (written == "full") {
            content = Printf("test-encoder output\r\ninput=%s\r\nformat=%s\r\nlength=%s\r\n", input.c_str(),
                             format.c_str(), DurationText(length).c_str());
            for (const std::string& a : args) content += Printf("arg=%s\r\n", a.c_str());
            const long size = SettingInt("outputsize", 0);
            if (size > long(content.size())) content += TailPattern(size - long(content.size()));
        }
        switch (WriteOutput(output, content, SettingInt("room", -1))) {
        case WriteResult::Written: break;
        case WriteResult::CannotOpen:
            Write(err, output + ": could not open the output file\n");
            return exitCode ? exitCode : 1;
        case WriteResult::DiskFull:
            Write(err, "av_interleaved_write_frame(): No space left on device\n"
                       "Error writing trailer of " + output + ": No space left on device\n"
                       "Conversion failed!\n");
            return exitCode ? exitCode : 1;
        }
    }
    if (mode == "fail") Write(err, "Error while encoding: test failure\n");
    return exitCode;
}
