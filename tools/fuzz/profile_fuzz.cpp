// Fuzz target: profile files, read by each of the sixteen formats' option builders (which load the
// profile into the format's settings record and turn it into the encoder's options).
#include <cstdint>
#include <string>

#include "IniFileFuzzKit.h"
#include "OptionDetails.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TInputIniFile file(data, size, ".avo");
  using TBuilder = void (*)(const std::string&, std::string&);
  static const TBuilder builders[] = {BuildAVIOptions, BuildMP4Options, BuildTGPOptions, BuildMPEGOptions,
                                      BuildMovOptions, BuildWmvOptions, BuildRmOptions,  BuildSwfOptions,
                                      BuildVobOptions, BuildAsfOptions, BuildAacOptions, BuildAc3Options,
                                      BuildMp2Options, BuildMp3Options, BuildAmrOptions, BuildWavOptions};
  for (TBuilder build : builders) {
    std::string options;
    build(file.Path, options);
  }
  return 0;
}
