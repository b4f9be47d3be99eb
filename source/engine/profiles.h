// Profile files: reset, load and save of the sixteen settings records (declared in Settings.h), and a
// table that lets callers drive the sixteen formats by their output format index.
//
// A profile file is an INI file with one section "General" holding one key per record field.
//   Reset: every field of the format's global instance gets its default; the description default is
//          the text of IDS_NO_DESCRIPTION at the moment of the call.
//   Load:  Reset, then every key is read with the field's current value as default (a missing file,
//          section or key, an empty or unparsable number keep the default; a Byte keeps the low 8 bits
//          of the number; a Boolean is any non-zero number).
//   Save:  writes every key in the format's order; other keys and sections of the file stay. Raises
//          EIniFileException "Unable to write to <path>" when the file cannot be written (for example
//          when its folder is missing).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "globals.h"

void ResetAVISettings();
void LoadAVIProfile(const std::string& fileName);
void SaveAVIProfile(const std::string& fileName);
void ResetMP4Settings();
void LoadMP4Profile(const std::string& fileName);
void SaveMP4Profile(const std::string& fileName);
void ResetTGPSettings();
void LoadTGPProfile(const std::string& fileName);
void SaveTGPProfile(const std::string& fileName);
void ResetMPEGSettings();
void LoadMPEGProfile(const std::string& fileName);
void SaveMPEGProfile(const std::string& fileName);
void ResetMovSettings();
void LoadMovProfile(const std::string& fileName);
void SaveMovProfile(const std::string& fileName);
void ResetWmvSettings();
void LoadWmvProfile(const std::string& fileName);
void SaveWmvProfile(const std::string& fileName);
void ResetRmSettings();
void LoadRmProfile(const std::string& fileName);
void SaveRmProfile(const std::string& fileName);
void ResetSwfSettings();
void LoadSwfProfile(const std::string& fileName);
void SaveSwfProfile(const std::string& fileName);
void ResetVobSettings();
void LoadVobProfile(const std::string& fileName);
void SaveVobProfile(const std::string& fileName);
void ResetAsfSettings();
void LoadAsfProfile(const std::string& fileName);
void SaveAsfProfile(const std::string& fileName);
void ResetAacSettings();
void LoadAacProfile(const std::string& fileName);
void SaveAacProfile(const std::string& fileName);
void ResetAc3Settings();
void LoadAc3Profile(const std::string& fileName);
void SaveAc3Profile(const std::string& fileName);
void ResetMp2Settings();
void LoadMp2Profile(const std::string& fileName);
void SaveMp2Profile(const std::string& fileName);
void ResetMp3Settings();
void LoadMp3Profile(const std::string& fileName);
void SaveMp3Profile(const std::string& fileName);
void ResetAmrSettings();
void LoadAmrProfile(const std::string& fileName);
void SaveAmrProfile(const std::string& fileName);
void ResetWavSettings();
void LoadWavProfile(const std::string& fileName);
void SaveWavProfile(const std::string& fileName);

// The output format indices.
enum : TOutputFormat {
    ofAVI, ofMP4, ofTGP, ofMPEG, ofMov, ofWmv, ofRm, ofSwf, ofVob, ofAsf,  // video
    ofAac, ofAc3, ofMp2, ofMp3, ofAmr, ofWav,                              // audio only
    OutputFormatCount
};

enum class TFieldKind : uint8_t { String, Boolean, Byte, Integer };

// The fields of one format's settings record in save order, giving access to its global instance by
// position. Reset, load and save of every format run through here.
class TSettingsFields {
public:
    virtual ~TSettingsFields() = default;
    virtual size_t Count() const = 0;
    virtual const char* Key(size_t i) const = 0;
    virtual TFieldKind Kind(size_t i) const = 0;

    // Value of field i of the global instance as the profile file holds it ("1"/"0", decimal, text).
    virtual std::string Text(size_t i) const = 0;
    // Stores `text` into field i as loading would (an unparsable number keeps the current value).
    virtual void SetText(size_t i, const std::string& text) = 0;
    virtual void SetDefault(size_t i) = 0;

    // Position of `key` (without regard to case), or Count() when the format has no such key.
    size_t IndexOf(const std::string& key) const;

    void Reset();
    void Load(const std::string& fileName);
    void Save(const std::string& fileName) const;
};

struct TOutputFormatInfo {
    TOutputFormat Index;
    const char* Name;       // "AVI", "3GP"
    const char* ShortName;  // name of the profile folder: "avi", "3gp", "mpg"
    std::string TOptions::*ProfileDir;  // the format's profile folder in Options
    void (*Reset)();
    void (*Load)(const std::string& fileName);
    void (*Save)(const std::string& fileName);
    TSettingsFields& (*Fields)();  // the format's fields and its global instance
};

// The format with the given index; nullptr above 15.
const TOutputFormatInfo* FindOutputFormat(TOutputFormat format);
// As FindOutputFormat, but raises Exception for an index above 15.
const TOutputFormatInfo& OutputFormatInfo(TOutputFormat format);
// Extension of the format's profile files: the first two letters of its short name and "o" ("avo", "mpo").
std::string ProfileExtension(TOutputFormat format);
