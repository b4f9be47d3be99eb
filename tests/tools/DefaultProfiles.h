// The sixteen output formats with their default profiles' option strings and what mediainfo reads in
// their output, for the tests that convert through the encoder bridge.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "EncoderRun.h"
#include "OptionDetails.h"
#include "globals.h"

struct TFormatCase {
  int Format;                  // output format index
  const char* Ext;             // output extension of the format (3GP: TGPFormat 0)
  const char* DefaultOptions;  // the option builder's string for the default profile (the line that
                               // the bridge's translation was checked against)
  const char* Container;       // mediainfo: General;%Format%
  const char* AudioFormat;     // mediainfo: Audio;%Format%
  bool Video;                  // a video stream is expected (none in the audio-only formats)
};

inline const TFormatCase DefaultProfileFormats[] = {
    {0, ".avi", "-y -f avi -vcodec msmpeg4 -b 1080k -r 25 -acodec mp3 -ac 2 -ab 96 -ar 22050 ", "AVI", "MPEG Audio", true},
    {1, ".mp4", "-y -f mp4 -vcodec h264 -s 320x240 -b 1200k -r 25 -acodec aac -ac 2 -ab 64 -ar 22050 ", "MPEG-4", "AAC", true},
    {2, ".3gp", "-y -f 3gp -vcodec h263 -s 176x144 -b 144k -r 12.5 -aspect 11:9 -acodec amr_nb -ac 1 -ar 8000 -ab 13 ", "MPEG-4", "AMR", true},
    {3, ".mpg", "-y -vcodec mpeg2video -b 2496k -r 25 -acodec ac3 -ac 2 -ar 48000 -ab 256 ", "MPEG-PS", "AC-3", true},
    {4, ".mov", "-y -f mov -vcodec h264 -b 1200k -r 25 -ac 2 -ab 64 -ar 22050 ", "MPEG-4", "AAC", true},
    {5, ".wmv", "-y -vcodec wmv2 -b 768k -r 25 -acodec mp3 -ac 2 -ar 22050 ", "Windows Media", "MPEG Audio", true},
    {6, ".rm", "-y -f rm -vcodec rv10 -b 768k -r 25 -acodec ac3 -ac 2 -ar 48000 -ab 256 ", "RealMedia", "AC-3", true},
    {7, ".swf", "-y -vcodec flv -b 768k -r 25 -acodec mp3 -ac 2 -ar 22050 ", "ShockWave", "MPEG Audio", true},
    {8, ".vob", "-y -f vob -vcodec mpeg2video -s 720x576 -b 6000k -r 25 -aspect 5:4 -acodec ac3 -ac 2 -ar 48000 -ab 384 ", "MPEG-PS", "AC-3", true},
    {9, ".asf", "-y -f asf -vcodec msmpeg4 -b 768k -r 25 -acodec mp3 -ac 2 -ab 64 -ar 22050 ", "Windows Media", "MPEG Audio", true},
    {10, ".aac", "-y -f aac -vn -acodec aac -ac 2 -ab 128 -ar 44100 ", "ADTS", "AAC", false},
    {11, ".ac3", "-y -f ac3 -vn -acodec ac3 -ac 2 -ar 48000 -ab 384 ", "AC-3", "AC-3", false},
    {12, ".mp2", "-y -f mp2 -vn -acodec mp2 -ac 2 -ab 160 -ar 44100 ", "MPEG Audio", "MPEG Audio", false},
    {13, ".mp3", "-y -f mp3 -vn -acodec mp3 -ac 2 -ab 128 -ar 44100 ", "MPEG Audio", "MPEG Audio", false},
    {14, ".amr", "-y -f amr -vn -acodec amr_nb -ac 1 -ar 8000 -ab 13 ", "AMR", "AMR", false},
    {15, ".wav", "-y -f wav -vn -acodec pcm_s16le -ac 2 -ar 44100 ", "Wave", "PCM", false},
};

// The option string of the format's default profile, as the conversion driver gets it.
inline std::string DefaultProfileOptions(const TFormatCase& F, const std::string& Folder) {
  // A profile file that does not exist: the builder uses the format's defaults.
  Options.OutputFormat = static_cast<TOutputFormat>(F.Format);
  std::string Result;
  BuildEncoderOptions(Folder + "no such profile.pro", Result);
  EXPECT_EQ(F.DefaultOptions, Result) << "format " << F.Format;
  return Result;
}

// The output holds the format's container with one sound stream of its kind and, for the video
// formats, one video stream (SWF: mediainfo counts the Flash video stream twice).
inline void ExpectStreamsOf(const TFormatCase& F, const std::string& Output) {
  std::string Info = MediainfoSays(Output, "General;%Format%|%AudioCount%|%VideoCount%");
  std::string Expected = std::string(F.Container) + "|1|" + (F.Video ? (F.Format == 7 ? "2" : "1") : "");
  EXPECT_EQ(Expected, Info);
  EXPECT_EQ(F.AudioFormat, MediainfoSays(Output, "Audio;%Format%"));
}
