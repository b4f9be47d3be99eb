#include "MediaInfoDll.h"

#include <windows.h>

#include "Errors.h"

const char* const MediaInfoDllName = "videoinfo.Dll";

namespace {

// Stubs: what a library that knows nothing would answer.
void* __stdcall StubNew() { return nullptr; }
void __stdcall StubDelete(void*) {}
size_t __stdcall StubOpen(void*, const char*) { return 0; }
void __stdcall StubClose(void*) {}
const char* __stdcall StubInform(void*, size_t) { return ""; }
const char* __stdcall StubGet(void*, int, size_t, const char*, int, int) { return ""; }
const char* __stdcall StubOption(void*, const char*, const char*) { return ""; }

HMODULE Library = nullptr;
std::string LoadError;
TMediaInfoDllFailure LoadFailure;
bool LoadPending = false;

std::string ProgramFolder() {
  char Path[MAX_PATH];
  DWORD Length = GetModuleFileNameA(nullptr, Path, MAX_PATH);
  std::string Result(Path, Length);
  size_t Slash = Result.find_last_of("\\/");
  return Slash == std::string::npos ? std::string() : Result.substr(0, Slash + 1);
}

void BindStubs() {
  MediaInfoA_New = StubNew;
  MediaInfoA_Delete = StubDelete;
  MediaInfoA_Open = StubOpen;
  MediaInfoA_Close = StubClose;
  MediaInfoA_Inform = StubInform;
  MediaInfoA_Get = StubGet;
  MediaInfoA_Option = StubOption;
}

template <class T> T ProcAs(FARPROC Proc) { return reinterpret_cast<T>(reinterpret_cast<void*>(Proc)); }

std::string Text(const char* Value) { return Value ? std::string(Value) : std::string(); }

// The library is not safe with two threads inside it at once, even on different handles: three threads
// reading files without this lock crashed in the heap within a few thousand files. Every call into it,
// and its loading on first use, holds the lock.
class TLibraryLock {
public:
  TLibraryLock() { EnterCriticalSection(&Section()); }
  ~TLibraryLock() { LeaveCriticalSection(&Section()); }
  TLibraryLock(const TLibraryLock&) = delete;
  TLibraryLock& operator=(const TLibraryLock&) = delete;

private:
  struct TSection {
    TSection() { InitializeCriticalSection(&Value); }
    CRITICAL_SECTION Value;  // initialised in place: a critical section must not be copied
  };
  static CRITICAL_SECTION& Section() {
    static TSection section;
    return section.Value;
  }
};

}  // namespace

TMediaInfoA_New MediaInfoA_New = StubNew;
TMediaInfoA_Delete MediaInfoA_Delete = StubDelete;
TMediaInfoA_Open MediaInfoA_Open = StubOpen;
TMediaInfoA_Close MediaInfoA_Close = StubClose;
TMediaInfoA_Inform MediaInfoA_Inform = StubInform;
TMediaInfoA_Get MediaInfoA_Get = StubGet;
TMediaInfoA_Option MediaInfoA_Option = StubOption;

bool LoadMediaInfoDll(const std::string& Folder) {
  if (Library) return true;
  std::string Dir = Folder.empty() ? ProgramFolder() : Folder;
  if (!Dir.empty() && Dir.back() != '\\' && Dir.back() != '/') Dir += '\\';
  std::string Path = Dir + MediaInfoDllName;

  // No "cannot find" or "bad image" dialog from the system: the caller reports it.
  UINT OldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  HMODULE Module = LoadLibraryA(Path.c_str());
  DWORD Error = GetLastError();
  SetErrorMode(OldMode);
  if (!Module) {
    LoadError = "The media information library \"" + Path + "\" could not be loaded (system error " +
                std::to_string(Error) + "). Media details will not be available.";
    LoadFailure = {Path, SysErrorMessage(Error) + " (" + std::to_string(Error) + ")"};
    return false;
  }

  struct Binding {
    const char* Name;
    FARPROC* Target;
  };
  FARPROC Procs[7] = {};
  const Binding Bindings[] = {
      {"MediaInfoA_New", &Procs[0]},    {"MediaInfoA_Delete", &Procs[1]}, {"MediaInfoA_Open", &Procs[2]},
      {"MediaInfoA_Close", &Procs[3]},  {"MediaInfoA_Inform", &Procs[4]}, {"MediaInfoA_Get", &Procs[5]},
      {"MediaInfoA_Option", &Procs[6]},
  };
  for (const Binding& B : Bindings) {
    *B.Target = GetProcAddress(Module, B.Name);
    if (!*B.Target) {
      FreeLibrary(Module);
      LoadError = "The media information library \"" + Path + "\" has no function \"" + B.Name +
                  "\". Media details will not be available.";
      LoadFailure = {Path, SysErrorMessage(ERROR_PROC_NOT_FOUND) + " (" + B.Name + ")"};
      return false;
    }
  }
  MediaInfoA_New = ProcAs<TMediaInfoA_New>(Procs[0]);
  MediaInfoA_Delete = ProcAs<TMediaInfoA_Delete>(Procs[1]);
  MediaInfoA_Open = ProcAs<TMediaInfoA_Open>(Procs[2]);
  MediaInfoA_Close = ProcAs<TMediaInfoA_Close>(Procs[3]);
  MediaInfoA_Inform = ProcAs<TMediaInfoA_Inform>(Procs[4]);
  MediaInfoA_Get = ProcAs<TMediaInfoA_Get>(Procs[5]);
  MediaInfoA_Option = ProcAs<TMediaInfoA_Option>(Procs[6]);
  Library = Module;
  LoadError.clear();
  LoadFailure = TMediaInfoDllFailure();
  return true;
}

void UnloadMediaInfoDll() {
  LoadPending = false;
  BindStubs();
  if (Library) FreeLibrary(Library);
  Library = nullptr;
}

void LoadMediaInfoDllOnFirstUse() { LoadPending = !Library; }

bool MediaInfoDllLoaded() { return Library != nullptr; }

const std::string& MediaInfoDllError() { return LoadError; }

const TMediaInfoDllFailure& MediaInfoDllFailure() { return LoadFailure; }

TMediaInfoFile::TMediaInfoFile(const std::string& Path) {
  TLibraryLock lock;
  if (LoadPending) {
    LoadPending = false;
    LoadMediaInfoDll();  // a failure leaves the stubs: the file is refused like any unreadable one
  }
  FHandle = MediaInfoA_New();
  if (FHandle) FOpened = MediaInfoA_Open(FHandle, Path.c_str()) != 0;
}

TMediaInfoFile::~TMediaInfoFile() {
  if (!FHandle) return;
  TLibraryLock lock;
  MediaInfoA_Close(FHandle);
  // Closing alone keeps the handle's memory; every added file would leak it.
  MediaInfoA_Delete(FHandle);
}

std::string TMediaInfoFile::Get(TMediaStreamKind Kind, const std::string& Parameter) const {
  if (!FHandle) return std::string();
  TLibraryLock lock;
  return Text(MediaInfoA_Get(FHandle, Kind, 0, Parameter.c_str(), MediaInfoText, MediaInfoByName));
}

std::string TMediaInfoFile::CompleteReport() const {
  if (!FHandle) return std::string();
  TLibraryLock lock;
  MediaInfoA_Option(nullptr, "Complete", "");
  return Text(MediaInfoA_Inform(FHandle, 0));
}

const TMediaValueParam MediaValueParams[MediaValueCount] = {
    {"CompleteName", mskGeneral, "CompleteName", nullptr},
    {"FileSize", mskGeneral, "FileSize", nullptr},
    {"Format", mskGeneral, "Format", nullptr},
    {"PlayTime", mskGeneral, "PlayTime/String3", nullptr},
    {"AudioCount", mskGeneral, "AudioCount", nullptr},
    {"VideoCount", mskGeneral, "VideoCount", nullptr},
    {"VideoCodec", mskVideo, "Codec/String", "Format/String"},
    {"Width", mskVideo, "Width", nullptr},
    {"Height", mskVideo, "Height", nullptr},
    {"VideoBitrate", mskVideo, "Bitrate", "BitRate"},
    {"AspectRatio", mskVideo, "AspectRatio", nullptr},
    {"FrameRate", mskVideo, "FrameRate", nullptr},
    {"AudioCodec", mskAudio, "Codec/String", "Format/String"},
    {"AudioBitRate", mskAudio, "BitRate", nullptr},
    {"Channels", mskAudio, "Channel(s)", nullptr},
    {"SamplingRate", mskAudio, "SamplingRate", nullptr},
};

std::string ReadMediaValue(const TMediaInfoFile& File, const TMediaValueParam& Param) {
  std::string Value = File.Get(Param.Kind, Param.Parameter);
  if (Value.empty() && Param.Current) Value = File.Get(Param.Kind, Param.Current);
  return Value;
}

TMediaValues ReadMediaValues(const std::string& Path) {
  TMediaValues Values;
  TMediaInfoFile File(Path);
  for (size_t I = 0; I < MediaValueCount; ++I) Values[I] = ReadMediaValue(File, MediaValueParams[I]);
  return Values;
}
