// The encoder's console output turned into progress.
//
// TEncoderOutputParser is fed the raw chunks the process runner reads from the encoder's standard output
// and standard error (both alike). It joins them into lines, picks the input and output names, the
// duration and the encoded time out of the lines it knows, keeps them in the run state (TOptions), and
// after every chunk (and every line handed on its own) reports what the progress window and the tray
// icon show.
//
// It never throws on encoder output: a value it cannot read ("N/A", an empty value, a unit it does not
// know) is ignored and the field keeps its previous value. Times are read both as plain seconds
// ("time=4.00") and as hours, minutes and seconds ("time=00:00:04.00").
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "ConversionFailures.h"
#include "ConversionTexts.h"
#include "globals.h"

// What changes on the progress window; fields that are not set stay as they are.
struct TProgressUpdate {
    std::optional<std::string> Status;          // lblStatus: "Status= 50%"
    std::optional<int32_t> FileBar;             // prgStatus
    std::optional<std::string> FileRemaining;   // lblStatusRemaining
    std::optional<std::string> Batch;           // lblBatch: "Batch=25%"
    std::optional<int32_t> BatchBar;            // prgBatch
    std::optional<std::string> BatchElapsed;    // lblBatchElapsed
    std::optional<std::string> BatchEstimated;  // lblBatchEstimated
    std::optional<std::string> BatchRemaining;  // lblBatchRemaining
    std::optional<std::string> Working;         // lblWorking
    std::optional<std::string> Output;          // lblOutput
    std::optional<std::string> Caption;         // the window's caption
    // Encoder output has arrived: start the animation if it is not running yet and show the header
    // text IDS_CONVERTING_LABEL_Converting.
    bool Converting = false;

    // Takes on what a later update sets: applied alone, the result shows what the two applied one
    // after the other would have shown.
    void Take(const TProgressUpdate& later);
    bool Empty() const;
};

// Reads an encoder time: plain seconds ("4.00", "-0.04") or h:m:s with decimal seconds ("00:01:30.50").
// False when the text is neither or the value does not fit 32 bits of milliseconds.
bool ReadEncoderTime(const std::string& text, int32_t& milliseconds);

class TEncoderOutputParser {
public:
    using TClock = std::function<double()>;  // now, in days (NowDays)

    TEncoderOutputParser(TOptions& state, const TConversionTexts& texts, TClock now);

    // The option string of the file being converted: a time limit (" -t ... -ss ...") is read from it.
    std::string EncoderOptions;
    // Lines are handled only while a batch runs; otherwise they are read and dropped.
    bool BatchRunning = false;

    // The last line of the current run that said why it failed; the driver clears it when a file starts.
    TEncoderErrorWatch Errors;

    std::function<void(const TProgressUpdate&)> OnProgress;
    std::function<void(const std::string&)> OnTrayHint;

    // One chunk of console bytes (up to `size` or the first zero byte), reported once after its last
    // complete line. `exited`: the encoder has ended and its last output is being drained, so a line
    // without its line break is handled at once.
    void Feed(const char* data, size_t size, bool exited);
    // Handles the text still waiting for its line break (the encoder's last line).
    void Flush();
    // One line, as Feed hands it on.
    void HandleLine(const std::string& line);

private:
    // Reads a line that is not blank while a batch runs; true when it did.
    bool ReadKnownLine(const std::string& line);
    void ReadLine(const std::string& line);
    void ReportProgress();

    TOptions& state_;
    const TConversionTexts& texts_;
    TClock now_;
};
