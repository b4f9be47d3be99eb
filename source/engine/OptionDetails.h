// The encoder's option string for a profile: one builder per output format behind one dispatcher.
// Every builder loads its profile into the format's global settings record (replacing what was there),
// copies it and appends option fragments, each ending in one blank, to the string it is given.
#pragma once
#include <string>

// Empties EncoderOptions and fills it for the current output format (Options.OutputFormat); an index
// above 15 leaves it empty. A missing profile file means the format's defaults.
void BuildEncoderOptions(const std::string& ProfileFile, std::string& EncoderOptions);

// The sixteen builders, in the order of the output format index; each appends to EncoderOptions.
void BuildAVIOptions(const std::string& ProfileFile, std::string& EncoderOptions);
void BuildMP4Options(const std::string& ProfileFile, std::string& EncoderOptions);
void BuildTGPOptions(const std::string& ProfileFile, std::string& EncoderOptions);
void BuildMPEGOptions(const std::string& ProfileFile, std::string& EncoderOptions);
void BuildMovOptions(const std::string& ProfileFile, std::string& EncoderOptions);
void BuildWmvOptions(const std::string& ProfileFile, std::string& EncoderOptions);
void BuildRmOptions(const std::string& ProfileFile, std::string& EncoderOptions);
void BuildSwfOptions(const std::string& ProfileFile, std::string& EncoderOptions);
void BuildVobOptions(const std::string& ProfileFile, std::string& EncoderOptions);
void BuildAsfOptions(const std::string& ProfileFile, std::string& EncoderOptions);
void BuildAacOptions(const std::string& ProfileFile, std::string& EncoderOptions);
void BuildAc3Options(const std::string& ProfileFile, std::string& EncoderOptions);
void BuildMp2Options(const std::string& ProfileFile, std::string& EncoderOptions);
void BuildMp3Options(const std::string& ProfileFile, std::string& EncoderOptions);
void BuildAmrOptions(const std::string& ProfileFile, std::string& EncoderOptions);
void BuildWavOptions(const std::string& ProfileFile, std::string& EncoderOptions);

// True for a time text the encoder may be given: not empty, only digits, ':' and '.', at least one digit.
// Time control is emitted only when both the duration and the start time pass, so a hand-edited profile
// cannot slip other options onto the encoder's command line.
bool IsSafeTimeText(const std::string& Text);
