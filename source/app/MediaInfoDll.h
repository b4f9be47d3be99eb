// The media-information library, loaded at run time from "videoinfo.Dll" in the program folder and
// called through its ANSI C interface.
//
// The entry points below are always callable: until the library is loaded (or when loading failed)
// they are stubs that answer like a library that knows nothing (null handle, 0, empty text), so a
// missing DLL shows up as files without media details and one clear message, never as a crash.
#pragma once

#include <array>
#include <cstddef>
#include <string>

// Stream kinds of MediaInfoA_Get.
enum TMediaStreamKind { mskGeneral = 0, mskVideo = 1, mskAudio = 2, mskText = 3, mskOther = 4, mskImage = 5, mskMenu = 6 };

// Kinds of information and search of MediaInfoA_Get.
const int MediaInfoText = 1;     // the value as text
const int MediaInfoByName = 0;   // the parameter is searched by name

typedef void* (__stdcall *TMediaInfoA_New)();
typedef void (__stdcall *TMediaInfoA_Delete)(void* Handle);
typedef size_t (__stdcall *TMediaInfoA_Open)(void* Handle, const char* FileName);
typedef void (__stdcall *TMediaInfoA_Close)(void* Handle);
typedef const char* (__stdcall *TMediaInfoA_Inform)(void* Handle, size_t Reserved);
typedef const char* (__stdcall *TMediaInfoA_Get)(void* Handle, int StreamKind, size_t StreamNumber,
                                                 const char* Parameter, int KindOfInfo, int KindOfSearch);
typedef const char* (__stdcall *TMediaInfoA_Option)(void* Handle, const char* Option, const char* Value);

extern TMediaInfoA_New MediaInfoA_New;
extern TMediaInfoA_Delete MediaInfoA_Delete;
extern TMediaInfoA_Open MediaInfoA_Open;
extern TMediaInfoA_Close MediaInfoA_Close;
extern TMediaInfoA_Inform MediaInfoA_Inform;
extern TMediaInfoA_Get MediaInfoA_Get;
extern TMediaInfoA_Option MediaInfoA_Option;

extern const char* const MediaInfoDllName;   // "videoinfo.Dll"

// Loads the library from Folder (with or without a trailing backslash; empty: the program folder)
// and binds every entry point. All or nothing: when the file or any entry point is missing, the
// stubs stay in place, False is returned and MediaInfoDllError() tells what is wrong. Loading
// again after a success does nothing and returns True.
bool LoadMediaInfoDll(const std::string& Folder = "");
// Returns to the stubs and frees the library.
void UnloadMediaInfoDll();
// LoadMediaInfoDll from the program folder when the first file is opened, not before: the program
// starts without waiting for the library.
void LoadMediaInfoDllOnFirstUse();
bool MediaInfoDllLoaded();
// Why the last LoadMediaInfoDll failed (empty after a success).
const std::string& MediaInfoDllError();
// The same in parts, for a message in the user's language: the library's path and the reason in the
// system's words with its error code or the missing function. Both empty after a success.
struct TMediaInfoDllFailure {
  std::string Path, Reason;
};
const TMediaInfoDllFailure& MediaInfoDllFailure();

// One open file: creates a handle, opens the file, and closes and frees the handle when it goes. Any
// thread may use one; the library is entered by one thread at a time (it is not safe with two inside it,
// even on different handles).
class TMediaInfoFile {
public:
  explicit TMediaInfoFile(const std::string& Path);
  ~TMediaInfoFile();
  TMediaInfoFile(const TMediaInfoFile&) = delete;
  TMediaInfoFile& operator=(const TMediaInfoFile&) = delete;

  bool Opened() const { return FOpened; }
  // The text value of Parameter in stream 0 of Kind (empty when the library gives nothing).
  std::string Get(TMediaStreamKind Kind, const std::string& Parameter) const;
  // The library's full report (the "Complete" option is set on the library as a whole first).
  std::string CompleteReport() const;

private:
  void* FHandle = nullptr;
  bool FOpened = false;
};

// The sixteen media values of a file-list entry, in the order of TFileItem's media fields.
const size_t MediaValueCount = 16;
struct TMediaValueParam {
  const char* Field;       // TFileItem field the value fills
  TMediaStreamKind Kind;
  const char* Parameter;   // asked first, exactly as the file list names it
  const char* Current;     // asked when Parameter gives nothing (current library's name), or null
};
extern const TMediaValueParam MediaValueParams[MediaValueCount];
typedef std::array<std::string, MediaValueCount> TMediaValues;

// Reads the sixteen values; a value the library does not give is empty (the caller shows its
// "none" text). Current libraries answer nothing for the older names "Codec/String" and the video
// "Bitrate"; for those the current name is asked when the older one gives an empty answer.
TMediaValues ReadMediaValues(const std::string& Path);
std::string ReadMediaValue(const TMediaInfoFile& File, const TMediaValueParam& Param);
