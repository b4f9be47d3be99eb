// The texts the conversion driver and the output parser show, with their built-in English defaults.
//
// Each entry is named after its key in the language file. The driver holds one TConversionTexts; the
// main window refreshes it from the language string table (LanguageConversionTexts) before a batch and
// after the language changes. Until then the built-in texts stand.
#pragma once
#include <initializer_list>
#include <string>

#define ORV_CONVERSION_TEXTS(X)                                                                                \
    X(IDS_NoEncoder, "The file \"%s\" couldn't be found.")                                                     \
    X(IDS_LABEL_Hint, "Hint")                                                                                  \
    X(IDS_NoFiles, "There are no files to encode!")                                                            \
    X(IDS_MESSAGE_MustBeDiffer, "Input file and output file must be different!\r\n\r\nPlease correct this for \"%s\".") \
    X(IDS_MESSAGEBOX_DifferTitle, "Error!")                                                                    \
    X(IDS_MESSAGEBOX_FileExists, "File \"%s\" already exists.\r\n\r\nAre you sure you want to overwrite it?")   \
    X(IDS_MESSAGEBOX_Overwrite, "Overwrite file?")                                                             \
    X(IDS_MESSAGE_BUTTON_Yes, "Yes")                                                                           \
    X(IDS_MESSAGE_BUTTON_No, "No")                                                                             \
    X(IDS_SHUTDOWN_BUTTON_Cancel, "Cancel")                                                                    \
    X(IDS_MESSAGE_BUTTON_YesToAll, "Yes To All")                                                               \
    X(IDS_MESSAGEBOX_SureTOOverwrite, "Are you sure to overwrite all existing files?")                         \
    X(IDS_MESSAGEBOX_EmptyDir, "You must choose an output folder first!")                                      \
    X(IDS_MESSAGEBOX_Empty, "Empty Dir")                                                                       \
    X(IDS_MESSAGEBOX_SureToCreateDir, "Output directory do not exist, do you want to force create it?")        \
    X(IDS_MESSAGEBOX_CreatDir, "Create directory")                                                             \
    X(IDS_MESSAGEBOX_FallToCreateDir, "Fail to create directory! Please check if output folder have the right format!") \
    X(IDS_MESSAGEBOX_FallCreateDir, "Fail")                                                                    \
    X(IDS_MESSAGEBOX_TrayEncodingStart, "Starting...")                                                         \
    X(IDS_ID_EncodingInProgress, "Encoding in progress")                                                       \
    X(IDS_ID_StopEncoding, "Stopping encoding when done with current file...")                                 \
    X(IDS_LABEL_TrayInformation, "%s Information")                                                             \
    X(IDS_MESSAGEBOX_TrayConvertComplete, "Convertion complete!")                                              \
    X(IDS_CONVERTING_BUTTON_Status, "Status= ")                                                                \
    X(IDS_LABEL_EncodingFinished, "Encoding finished")                                                         \
    X(IDS_MESSAGEBOX_TrayEncodingDone, "Finished converting")                                                  \
    X(IDS_ID_BATCH, "Batch=")                                                                                  \
    X(IDS_MESSAGEBOX_AnErrorOccurred, "At least one error occurred.")                                          \
    X(IDS_MESSAGEBOX_Oops, "Oops, something wasn't as expected!")                                              \
    X(IDS_MESSAGEBOX_FailedFiles, "These files could not be converted:")                                       \
    X(IDS_MESSAGEBOX_FailedFile, "%s: %s")                                                                     \
    X(IDS_MESSAGEBOX_MoreFailedFiles, "... and %d more.")                                                      \
    X(IDS_MESSAGEBOX_EncoderExitCode, "The encoder ended with exit code %s.")                                  \
    X(IDS_MESSAGEBOX_NoOutputFile, "The encoder made no output file.")                                         \
    X(IDS_MESSAGEBOX_EncoderStillRunning,                                                                      \
      "The encoder of the previous conversion has not ended yet. Please wait a moment and try again.")         \
    X(IDS_ID_WORKING, "Working on file %d of %d: %s")                                                          \
    X(IDS_LABEL_OutputFile, "Output file: %s")                                                                 \
    X(IDS_MAIN_MENUITEM_Hint, "%s: %d%%")                                                                      \
    X(IDS_CONVERTING_StopEncoding,                                                                             \
      "Do you want to stop encoding now or stop encoding when the currently processed file is done?")          \
    X(IDS_CONVERTING_Question, "Question")                                                                     \
    X(IDS_CONVERTING_StopNow, "Stop now")                                                                      \
    X(IDS_CONVERTING_Whendone, "When done")                                                                    \
    X(IDS_CONVERTING_Cancel, "Cancel")                                                                         \
    X(IDS_SHUTDOWN_LABEL_TimeLeft, "Time left: %d")

// Texts that the language file does not carry yet (no key of their own): built-in only.
#define ORV_CONVERSION_BUILTIN_TEXTS(X)                                                                        \
    X(DuplicateOutput, "Two files of the list would be written to \"%s\".\r\n\r\nPlease remove one of them from the list.")

struct TConversionTexts {
#define ORV_DECLARE_TEXT(name, text) std::string name = text;
    ORV_CONVERSION_TEXTS(ORV_DECLARE_TEXT)
    ORV_CONVERSION_BUILTIN_TEXTS(ORV_DECLARE_TEXT)
#undef ORV_DECLARE_TEXT
};

// The current texts of the language string table (MultiLanguages.h); the built-in-only ones keep their
// defaults.
TConversionTexts LanguageConversionTexts();

// Fills a language text's placeholders in order: each "%s" or "%d" takes the next argument (numbers are
// passed as their decimal text), "%%" gives "%". A placeholder without an argument and any other "%"
// stay as they are, so a translated text can never make this fail.
std::string FormatText(const std::string& pattern, std::initializer_list<std::string> args);
