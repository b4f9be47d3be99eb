// encoder-options INDEX PROFILE-FILE
// Prints, on one line, the option string that the program would hand the encoder for output format
// INDEX (0 AVI ... 15 WAV) with that profile file, so a profile can be checked without the program's
// windows. A missing profile file means the format's defaults, as in a conversion. The profile file is
// only read.
#include <cstdio>
#include <string>

#include "OptionDetails.h"
#include "Strings.h"
#include "globals.h"

int main(int argc, char** argv)
{
    int32_t index = -1;
    if (argc != 3 || !TryStrToInt(argv[1], index) || index < 0 || index > 15) {
        std::fprintf(stderr,
                     "usage: encoder-options INDEX PROFILE-FILE\n"
                     "  INDEX  output format: 0 AVI, 1 MP4, 2 3GP, 3 MPEG, 4 MOV, 5 WMV, 6 RM, 7 SWF, 8 VOB,\n"
                     "         9 ASF, 10 AAC, 11 AC3, 12 MP2, 13 MP3, 14 AMR, 15 WAV\n");
        return 2;
    }
    Options.OutputFormat = static_cast<TOutputFormat>(index);
    std::string options;
    BuildEncoderOptions(argv[2], options);
    std::fputs((options + "\n").c_str(), stdout);
    return 0;
}
