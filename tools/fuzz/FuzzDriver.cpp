// The fuzz driver of the 32-bit Windows build. libFuzzer does not exist for MinGW, so this small driver
// calls the same entry point (LLVMFuzzerTestOneInput) that the native libFuzzer builds call: first with
// every file of the corpus, then with deterministic mutations of them. Each input is handed over flush
// against a page the process may not touch, so a reader that runs a byte past its input faults at once;
// that, any other fault, an exception that escapes the target and (with -timeout) an input that takes
// too long each end the run with the input written to a file.
//
//   fuzz_NAME [-runs=N] [-seed=S] [-max_len=N] [-max_total_time=SECONDS] [-timeout=SECONDS]
//             [-dict=FILE] [-artifact_prefix=PATH] CORPUS...
//
// CORPUS entries are files or folders (not recursed). -runs counts mutated inputs after the corpus
// (default 1000; 0 with -max_total_time runs until the time is up). The same seed gives the same
// inputs, so a failure found in the suite is found again by running the same command.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "GuardedBytes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
#ifdef ORV_FUZZ_CUSTOM_MUTATOR
extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize, unsigned seed);
#endif

namespace {

using Bytes = std::vector<uint8_t>;

struct TOptions {
  uint64_t Runs = 1000;
  uint64_t Seed = 1;
  size_t MaxLen = 65536;
  unsigned MaxTotalTime = 0;
  unsigned Timeout = 0;
  std::string ArtifactPrefix = "crash-";
  std::string Dict;
  std::vector<std::string> Corpus;
};

// splitmix64: small, fast and the same on every build.
class TRandom {
public:
  explicit TRandom(uint64_t seed) : state_(seed) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  size_t Below(size_t n) { return n ? size_t(Next() % n) : 0; }
  bool OneIn(size_t n) { return Below(n) == 0; }

private:
  uint64_t state_;
};

std::vector<Bytes> Corpus;
std::vector<Bytes> Dictionary;
TRandom Random(1);

// What the crash handler needs: the input being run.
const Bytes* CurrentInput = nullptr;
std::string CurrentName;
std::string ArtifactPrefix;

void WriteArtifact(const char* why) {
  std::fprintf(stderr, "==fuzz== %s on input %s\n", why, CurrentName.c_str());
  if (!CurrentInput) return;
  const std::string path = ArtifactPrefix + CurrentName;
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(CurrentInput->data()), std::streamsize(CurrentInput->size()));
  std::fprintf(stderr, "==fuzz== input (%u bytes) written to %s\n", unsigned(CurrentInput->size()), path.c_str());
  std::fflush(stderr);
}

LONG WINAPI OnFault(EXCEPTION_POINTERS* info) {
  char why[96];
  std::snprintf(why, sizeof why, "fault 0x%08lX at %p", info->ExceptionRecord->ExceptionCode,
                info->ExceptionRecord->ExceptionAddress);
  WriteArtifact(why);
  TerminateProcess(GetCurrentProcess(), 3);
  return EXCEPTION_EXECUTE_HANDLER;
}

// ---- mutations (the shape of libFuzzer's: a few stacked edits of one input) ----

const uint64_t InterestingValues[] = {0,          1,          2,          0x7F,       0x80,       0xFF,
                                      0x100,      0x7FFF,     0x8000,     0xFFFF,     0x10000,    0x40000000,
                                      0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0xFFFFFFF0, 0x100000000ull};

size_t Mutate(uint8_t* data, size_t size, size_t maxSize) {
  const int edits = 1 + int(Random.Below(4));
  for (int e = 0; e < edits; ++e) {
    switch (Random.Below(12)) {
      case 0:  // erase a run of bytes
        if (size > 1) {
          const size_t at = Random.Below(size), n = 1 + Random.Below(std::min<size_t>(size - at, 64));
          std::memmove(data + at, data + at + n, size - at - n);
          size -= n;
        }
        break;
      case 1:  // insert a byte, or a run of one repeated byte
        if (size < maxSize) {
          const size_t at = Random.Below(size + 1);
          const size_t n = Random.OneIn(2) ? 1 : 1 + Random.Below(std::min<size_t>(maxSize - size, 128));
          std::memmove(data + at + n, data + at, size - at);
          std::memset(data + at, int(Random.Below(256)), n);
          size += n;
        }
        break;
      case 2:  // change a byte
        if (size) data[Random.Below(size)] = uint8_t(Random.Below(256));
        break;
      case 3:  // flip a bit
        if (size) data[Random.Below(size)] ^= uint8_t(1u << Random.Below(8));
        break;
      case 4:  // add a small number to an integer of 1, 2 or 4 bytes, either byte order
      case 5: {  // or overwrite one with an interesting value
        const size_t width = size_t(1) << Random.Below(3);
        if (size < width) break;
        const size_t at = Random.Below(size - width + 1);
        const bool bigEndian = Random.OneIn(2);
        uint64_t v = 0;
        for (size_t i = 0; i < width; ++i) v |= uint64_t(data[at + (bigEndian ? width - 1 - i : i)]) << (8 * i);
        if (Random.OneIn(2))
          v += uint64_t(int64_t(Random.Below(71)) - 35);
        else
          v = InterestingValues[Random.Below(std::size(InterestingValues))] - (Random.OneIn(4) ? 1 : 0);
        for (size_t i = 0; i < width; ++i) data[at + (bigEndian ? width - 1 - i : i)] = uint8_t(v >> (8 * i));
        break;
      }
      case 6:  // rewrite a decimal number in the text
        if (size) {
          size_t at = Random.Below(size);
          while (at < size && !(data[at] >= '0' && data[at] <= '9')) ++at;
          if (at == size) break;
          size_t end = at;
          while (end < size && data[end] >= '0' && data[end] <= '9') ++end;
          static const char* const numbers[] = {"0", "-1", "4294967295", "2147483648", "-2147483649", "65536",
                                                "99999999999999999999", "0x7FFFFFFF", "1e9", ""};
          const std::string n = Random.OneIn(3) ? std::to_string(Random.Next() % 100000)
                                                : numbers[Random.Below(std::size(numbers))];
          if (size - (end - at) + n.size() > maxSize) break;
          std::memmove(data + at + n.size(), data + end, size - end);
          std::memcpy(data + at, n.data(), n.size());
          size = size - (end - at) + n.size();
        }
        break;
      case 7:  // copy a part of the input over another place, or insert it there
        if (size > 1) {
          const size_t from = Random.Below(size), n = 1 + Random.Below(std::min<size_t>(size - from, 256));
          Bytes part(data + from, data + from + n);
          const size_t at = Random.Below(size);
          if (Random.OneIn(2) && size + n <= maxSize) {
            std::memmove(data + at + n, data + at, size - at);
            size += n;
          }
          std::memcpy(data + at, part.data(), std::min(n, size - at));
        }
        break;
      case 8:  // cross over: a part of another corpus input
        if (!Corpus.empty()) {
          const Bytes& other = Corpus[Random.Below(Corpus.size())];
          if (other.empty()) break;
          const size_t from = Random.Below(other.size());
          const size_t n = std::min<size_t>(1 + Random.Below(other.size() - from), 4096);
          const size_t at = Random.Below(size + 1);
          if (size + n > maxSize) break;
          std::memmove(data + at + n, data + at, size - at);
          std::memcpy(data + at, other.data() + from, n);
          size += n;
        }
        break;
      case 9:  // insert a word of the dictionary
        if (!Dictionary.empty()) {
          const Bytes& word = Dictionary[Random.Below(Dictionary.size())];
          const size_t at = Random.Below(size + 1);
          if (size + word.size() > maxSize) break;
          std::memmove(data + at + word.size(), data + at, size - at);
          std::memcpy(data + at, word.data(), word.size());
          size += word.size();
        }
        break;
      case 10:  // cut the end off
        if (size) size = Random.Below(size);
        break;
      default:  // shuffle a few neighbouring bytes
        if (size > 1) {
          const size_t at = Random.Below(size - 1), n = 2 + Random.Below(std::min<size_t>(size - at - 1, 7));
          for (size_t i = n - 1; i > 0; --i) std::swap(data[at + i], data[at + Random.Below(i + 1)]);
        }
        break;
    }
  }
  return size;
}

// ---- corpus, dictionary and options ----

bool ReadFile(const std::string& path, Bytes& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

void AddCorpus(const std::string& path, size_t maxLen) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    std::fprintf(stderr, "==fuzz== corpus entry %s not found\n", path.c_str());
    return;
  }
  std::vector<std::string> files;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((path + "\\*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files.push_back(path + "\\" + found.cFileName);
    } while (FindNextFileA(h, &found));
    FindClose(h);
    std::sort(files.begin(), files.end());  // the listing order is the file system's: fix it
  } else {
    files.push_back(path);
  }
  for (const std::string& f : files) {
    Bytes bytes;
    if (!ReadFile(f, bytes)) continue;
    if (bytes.size() > maxLen) bytes.resize(maxLen);
    Corpus.push_back(std::move(bytes));
  }
}

// libFuzzer's dictionary format: one "word" per line, with \\, \" and \xNN escapes; # starts a comment.
void ReadDictionary(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    const size_t open = line.find('"'), close = line.rfind('"');
    if (line.empty() || line[0] == '#' || open == std::string::npos || close <= open) continue;
    Bytes word;
    for (size_t i = open + 1; i < close; ++i) {
      if (line[i] == '\\' && i + 1 < close) {
        if (line[i + 1] == 'x' && i + 3 < close) {
          word.push_back(uint8_t(std::strtoul(line.substr(i + 2, 2).c_str(), nullptr, 16)));
          i += 3;
        } else {
          word.push_back(uint8_t(line[++i]));
        }
      } else {
        word.push_back(uint8_t(line[i]));
      }
    }
    if (!word.empty()) Dictionary.push_back(std::move(word));
  }
}

bool ParseOptions(int argc, char** argv, TOptions& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&](const char* name, std::string& out) {
      const size_t n = std::strlen(name);
      if (a.compare(0, n, name) != 0) return false;
      out = a.substr(n);
      return true;
    };
    std::string v;
    if (value("-runs=", v)) o.Runs = std::strtoull(v.c_str(), nullptr, 10);
    else if (value("-seed=", v)) o.Seed = std::strtoull(v.c_str(), nullptr, 10);
    else if (value("-max_len=", v)) o.MaxLen = size_t(std::strtoul(v.c_str(), nullptr, 10));
    else if (value("-max_total_time=", v)) o.MaxTotalTime = unsigned(std::strtoul(v.c_str(), nullptr, 10));
    else if (value("-timeout=", v)) o.Timeout = unsigned(std::strtoul(v.c_str(), nullptr, 10));
    else if (value("-artifact_prefix=", v)) o.ArtifactPrefix = v;
    else if (value("-dict=", v)) o.Dict = v;
    else if (a.size() > 1 && a[0] == '-') {
      std::fprintf(stderr, "==fuzz== unknown option %s\n", a.c_str());
      return false;
    } else o.Corpus.push_back(a);
  }
  return o.MaxLen > 0;
}

// ---- running ----

std::atomic<int64_t> InputStarted{0};  // milliseconds since the start; 0 while no input runs
std::atomic<bool> Done{false};

int64_t Milliseconds(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

bool RunOne(const Bytes& input, const std::string& name, std::chrono::steady_clock::time_point start) {
  CurrentInput = &input;
  CurrentName = name;
  TGuardedBytes guarded(input);
  InputStarted = std::max<int64_t>(1, Milliseconds(start));
  try {
    LLVMFuzzerTestOneInput(guarded.Data(), guarded.Size());
  } catch (const std::exception& e) {
    WriteArtifact((std::string("uncaught exception: ") + e.what()).c_str());
    return false;
  } catch (...) {
    WriteArtifact("uncaught exception");
    return false;
  }
  InputStarted = 0;
  return true;
}

}  // namespace

// The default mutator, for targets whose own mutator first edits the input the usual way.
extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize) { return Mutate(data, size, maxSize); }

int main(int argc, char** argv) {
  TOptions o;
  if (!ParseOptions(argc, argv, o)) {
    std::fprintf(stderr, "usage: %s [-runs=N] [-seed=S] [-max_len=N] [-max_total_time=S] [-timeout=S] "
                         "[-dict=FILE] [-artifact_prefix=PATH] CORPUS...\n", argv[0]);
    return 2;
  }
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  SetUnhandledExceptionFilter(OnFault);
  ArtifactPrefix = o.ArtifactPrefix;
  Random = TRandom(o.Seed);
  for (const std::string& c : o.Corpus) AddCorpus(c, o.MaxLen);
  if (!o.Dict.empty()) ReadDictionary(o.Dict);
  if (Corpus.empty()) Corpus.push_back(Bytes());

  const auto start = std::chrono::steady_clock::now();
  std::thread watchdog;
  if (o.Timeout) {
    watchdog = std::thread([&] {
      while (!Done) {
        const int64_t began = InputStarted;
        if (began && Milliseconds(start) - began > int64_t(o.Timeout) * 1000) {
          WriteArtifact("timeout");
          TerminateProcess(GetCurrentProcess(), 4);
        }
        Sleep(200);
      }
    });
  }
  bool ok = true;
  uint64_t runs = 0;
  for (size_t i = 0; ok && i < Corpus.size(); ++i) ok = RunOne(Corpus[i], "corpus-" + std::to_string(i), start);
  const bool untilTime = o.MaxTotalTime && o.Runs == 0;
  Bytes buffer, last;
  while (ok && (untilTime || runs < o.Runs)) {
    if (o.MaxTotalTime && Milliseconds(start) >= int64_t(o.MaxTotalTime) * 1000) break;
    // Half of the inputs start from a corpus file, half go on from the previous input: without coverage
    // to steer by, that walk is what reaches inputs several edits away from any file.
    const Bytes base = last.empty() || Random.OneIn(2) ? Corpus[Random.Below(Corpus.size())] : last;
    buffer.assign(base.begin(), base.end());
    buffer.resize(std::max(o.MaxLen, base.size()));
#ifdef ORV_FUZZ_CUSTOM_MUTATOR
    size_t size = LLVMFuzzerCustomMutator(buffer.data(), base.size(), o.MaxLen, unsigned(Random.Next()));
#else
    size_t size = Mutate(buffer.data(), base.size(), o.MaxLen);
#endif
    buffer.resize(size);
    last = buffer;
    ok = RunOne(buffer, "seed" + std::to_string(o.Seed) + "-run" + std::to_string(runs), start);
    ++runs;
  }
  Done = true;
  if (watchdog.joinable()) watchdog.join();
  std::printf("==fuzz== %s: %u corpus inputs and %llu mutations in %.1f s\n", ok ? "done" : "FAILED",
              unsigned(Corpus.size()), (unsigned long long)runs, double(Milliseconds(start)) / 1000.0);
  return ok ? 0 : 1;
}
