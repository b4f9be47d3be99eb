#include "EncoderOutputParser.h"

#include <climits>
#include <cstring>
#include <vector>

#include "AppUtils.h"
#include "ConversionCore.h"
#include "FileUtils.h"
#include "Strings.h"

namespace {

const char* const LineBreak = "\r\n";
// What an old encoder prints as the time before the first frame: no position yet.
const char* const NoTimeYet = "10000000000.0";
const char* const NotAvailable = "N/A";
const char* const DurationPrefix = "  Duration: ";

bool Contains(const std::string& s, const char* part) { return s.find(part) != std::string::npos; }

// Every CR LF, LF CR, lone CR and lone LF becomes CR LF, so that each progress line (ended by a carriage
// return alone) is a line of its own.
std::string NormaliseLineBreaks(const std::string& text)
{
    std::string result;
    result.reserve(text.size() + 16);
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            result += c;
            continue;
        }
        const char pair = c == '\r' ? '\n' : '\r';
        if (i + 1 < text.size() && text[i + 1] == pair) ++i;
        result += LineBreak;
    }
    return result;
}

bool AllDigits(const std::string& s)
{
    if (s.empty() || s.size() > 9) return false;  // 9 digits cannot overflow the sums below
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

// Digits with at most one ".", at least one digit.
bool ReadPlainSeconds(const std::string& s, double& seconds)
{
    size_t digits = 0, dots = 0;
    for (char c : s) {
        if (c >= '0' && c <= '9') ++digits;
        else if (c == '.') ++dots;
        else return false;
    }
    if (digits == 0 || dots > 1 || s.size() > 20) return false;
    return TryStrToFloat(s, seconds);
}

// A plain decimal number (kbit/s, kB) rounded to a 32-bit integer.
bool ReadRoundedNumber(const std::string& text, int32_t& value)
{
    double number = 0;
    if (text.empty() || text == NotAvailable || !TryStrToFloat(text, number)) return false;
    if (!(number >= double(INT32_MIN) && number <= double(INT32_MAX))) return false;
    value = int32_t(RoundHalfEven(number));
    return true;
}

// numerator / denominator × 100, rounded half to even in exact integer arithmetic, kept within 0..100.
int32_t Percent(int64_t numerator, int64_t denominator)
{
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    const int64_t scaled = numerator * 100;
    int64_t quotient = scaled / denominator, remainder = scaled % denominator;
    if (remainder < 0) {  // floor division, so the remainder below is never negative
        --quotient;
        remainder += denominator;
    }
    if (2 * remainder > denominator || (2 * remainder == denominator && quotient % 2 != 0)) ++quotient;
    return int32_t(quotient < 0 ? 0 : quotient > 100 ? 100 : quotient);
}

}  // namespace

bool ReadEncoderTime(const std::string& text, int32_t& milliseconds)
{
    std::string t = Trim(text);
    const bool negative = !t.empty() && t[0] == '-';
    if (negative) t.erase(0, 1);
    std::vector<std::string> parts;
    for (size_t start = 0;;) {
        const size_t colon = t.find(':', start);
        parts.push_back(t.substr(start, colon == std::string::npos ? std::string::npos : colon - start));
        if (colon == std::string::npos) break;
        start = colon + 1;
    }
    if (parts.size() > 3) return false;
    double seconds = 0;
    if (!ReadPlainSeconds(parts.back(), seconds)) return false;
    int64_t total = RoundHalfEven(seconds * 1000);
    int64_t unit = 60000;  // minutes, then hours
    for (size_t i = parts.size() - 1; i-- > 0; unit *= 60) {
        if (!AllDigits(parts[i])) return false;
        total += int64_t(std::stoll(parts[i])) * unit;
    }
    if (negative) total = -total;
    if (total < INT32_MIN || total > INT32_MAX) return false;
    milliseconds = int32_t(total);
    return true;
}

namespace {

std::optional<std::string> TProgressUpdate::*const TextFields[] = {
    &TProgressUpdate::Status,         &TProgressUpdate::FileRemaining,  &TProgressUpdate::Batch,
    &TProgressUpdate::BatchElapsed,   &TProgressUpdate::BatchEstimated, &TProgressUpdate::BatchRemaining,
    &TProgressUpdate::Working,        &TProgressUpdate::Output,         &TProgressUpdate::Caption};
std::optional<int32_t> TProgressUpdate::*const BarFields[] = {&TProgressUpdate::FileBar,
                                                                     &TProgressUpdate::BatchBar};

}  // namespace

void TProgressUpdate::Take(const TProgressUpdate& later)
{
    for (auto field : TextFields)
        if (later.*field) this->*field = later.*field;
    for (auto field : BarFields)
        if (later.*field) this->*field = later.*field;
    Converting |= later.Converting;
}

bool TProgressUpdate::Empty() const
{
    for (auto field : TextFields)
        if (this->*field) return false;
    for (auto field : BarFields)
        if (this->*field) return false;
    return !Converting;
}

TEncoderOutputParser::TEncoderOutputParser(TOptions& state, const TConversionTexts& texts, TClock now)
    : state_(state), texts_(texts), now_(std::move(now))
{
}

void TEncoderOutputParser::Feed(const char* data, size_t size, bool exited)
{
    std::string text = state_.PendingOutput + NormaliseLineBreaks(std::string(data, strnlen(data, size)));
    state_.PendingOutput.clear();
    if (!exited) {
        // The text after the last line break waits for the rest of its line.
        const size_t last = text.rfind(LineBreak);
        const size_t keep = last == std::string::npos ? 0 : last + 2;
        state_.PendingOutput = text.substr(keep);
        text.resize(keep);
    }
    // Every line is read, but the window and the tray hint are told once, after the chunk's last line:
    // nothing repaints between the lines of one chunk, and an encoder's last chunk often holds dozens
    // of progress lines, which would otherwise all be shown between its exit and the next file's start.
    bool read = false;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(LineBreak, start);
        if (end == std::string::npos) end = text.size();
        read |= ReadKnownLine(text.substr(start, end - start));
        start = end + 2;
    }
    if (read) ReportProgress();
}

void TEncoderOutputParser::Flush()
{
    const std::string rest = state_.PendingOutput;
    state_.PendingOutput.clear();
    HandleLine(rest);
}

void TEncoderOutputParser::HandleLine(const std::string& line)
{
    if (ReadKnownLine(line)) ReportProgress();
}

bool TEncoderOutputParser::ReadKnownLine(const std::string& line)
{
    if (Trim(line).empty() || !BatchRunning) return false;
    Errors.See(line);
    ReadLine(line);
    return true;
}

void TEncoderOutputParser::ReadLine(const std::string& line)
{
    if (Contains(line, "Input #0, ")) {
        const std::string name = ExtractBetween(line, "from '", "':");
        if (!name.empty() && name != NotAvailable) {
            // The DirectShow script stands for the real source.
            state_.SourceName = ExtractFileExt(name) == ".avs" ? state_.CurrentInputFile : name;
        }
    }
    if (Contains(line, "Output #0, ")) {
        const std::string name = ExtractBetween(line, "to '", "':");
        if (!name.empty() && name != NotAvailable) state_.TargetName = name;
    }
    if (line.compare(0, std::strlen(DurationPrefix), DurationPrefix) == 0) {
        const size_t comma = line.find(',');
        const size_t from = std::strlen(DurationPrefix) - 1;
        int32_t ms = 0;
        if (comma != std::string::npos && ReadEncoderTime(line.substr(from, comma - from), ms)) state_.DurationMs = ms;
    }
    // A time-limited conversion ends after its duration: the input's own duration no longer counts.
    const std::string options = " " + EncoderOptions + " ";
    if (Contains(options, " -t ")) {
        int32_t limit = 0, start = 0;
        if (ReadEncoderTime(ExtractBetween(options, " -t ", " -ss "), limit)) {
            if (!ReadEncoderTime(ExtractBetween(options, " -ss ", " "), start)) start = 0;
            if (int64_t(limit) + start < state_.DurationMs) state_.DurationMs = limit;
        }
    }
    if (Contains(line, " time=")) {
        const std::string time = ExtractBetween(line, " time=", " ");
        int32_t ms = 0;
        if (time == NoTimeYet) state_.TimeMs = 0;
        else if (time != NotAvailable && ReadEncoderTime(time, ms)) state_.TimeMs = ms;
    }
    if (Contains(line, " bitrate=")) ReadRoundedNumber(ExtractBetween(line, " bitrate=", "kbits/s"), state_.BitrateKbps);
    if (Contains(line, "size=")) {
        if (!ReadRoundedNumber(ExtractBetween(line, "size=", "kB "), state_.SizeKB))
            ReadRoundedNumber(ExtractBetween(line, "size=", "KiB"), state_.SizeKB);
    }
}

void TEncoderOutputParser::ReportProgress()
{
    TOptions& s = state_;
    const double now = now_();
    TProgressUpdate update;
    update.BatchElapsed = FormatSpan(now - s.BatchStartTime);
    if (s.DurationMs != 0 && s.TimeMs != 0) {
        s.FilePercent = Percent(s.TimeMs, s.DurationMs);
        update.Status = texts_.IDS_CONVERTING_BUTTON_Status + IntToStr(s.FilePercent) + "%";
        update.FileBar = s.FilePercent;
        const double fileElapsed = now - s.FileStartTime;
        const double fileEstimate = double(s.DurationMs) * fileElapsed / s.TimeMs;
        update.FileRemaining = FormatSpan(fileEstimate - fileElapsed);
        s.BytesProgress = s.BytesDone + s.CurrentFileBytes * s.FilePercent / 100;
        if (s.BytesProgress != 0 && s.TotalBytes != 0) {
            s.BatchPercent = Percent(s.BytesProgress, s.TotalBytes);
            update.Batch = texts_.IDS_ID_BATCH + IntToStr(s.BatchPercent) + "%";
            update.BatchBar = s.BatchPercent;
            const double batchElapsed = now - s.BatchStartTime;
            const double batchEstimate = double(s.TotalBytes) * batchElapsed / double(s.BytesProgress);
            update.BatchEstimated = FormatSpan(batchEstimate);
            update.BatchRemaining = FormatSpan(batchEstimate - batchElapsed);
        }
    }
    update.Working = FormatText(texts_.IDS_ID_WORKING, {IntToStr(s.FilesDone + s.FilesFailed + 1),
                                                        IntToStr(s.TotalFiles), ExtractFileName(s.SourceName)});
    update.Output = FormatText(texts_.IDS_LABEL_OutputFile, {ExtractFileName(s.TargetName)});
    update.Converting = true;
    if (OnProgress) OnProgress(update);
    if (OnTrayHint) OnTrayHint(FormatText(texts_.IDS_MAIN_MENUITEM_Hint, {s.SourceName, IntToStr(s.FilePercent)}));
}
