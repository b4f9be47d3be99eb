// TConversionHost: all the conversion driver (ConversionDriver.h) asks of the windows: the main window's
// file list, folder box and profile lists, its messages, the tray icon, the progress window and the
// shutdown window. The main window implements it, tests fake it; the driver knows no window.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "EncoderOutputParser.h"  // TProgressUpdate
#include "globals.h"

// Its answers are the class library's modal results (mrOk, mrCancel, mrYes, ...; Controls.h).

class TConversionHost {
public:
    virtual ~TConversionHost() = default;

    // --- the file list (lsvFileName); entry 0 is the file converted next
    virtual int FileCount() const = 0;
    virtual std::string FileCaption(int index) const = 0;   // the source's full path
    virtual std::string FileSizeText(int index) const = 0;  // its TFileItem's FileSize (bytes, decimal)
    // Removes the entry and frees its TFileItem (TfrmMain.RemoveFile).
    virtual void RemoveFile(int index) = 0;
    // A failed file: the entry moves to the end of the list and shows the error image (image 1).
    virtual void FileFailed(int index) = 0;
    // Changes of the list between these two are not painted; EndListUpdate paints the list once.
    virtual void BeginListUpdate() = 0;
    virtual void EndListUpdate() = 0;

    // --- the main window
    virtual std::string OutputFolderText() const = 0;                 // the folder box's text
    virtual std::string ProfileName(TOutputFormat format) const = 0;  // the text of that format's profile list
    // PostMessage(WM_STARTNEXTFILE) to the main window, whose handler calls StartNextFileMessage.
    virtual void PostStartNextFile() = 0;
    // After afterMs, once, calls the driver's HeldProgressDue (a later call starts the wait afresh).
    virtual void ScheduleHeldProgress(UINT afterMs) = 0;

    // --- messages, owned by the main window
    // A message box (MB_ flags for icon, buttons and default button); returns IDOK, IDYES, ...
    virtual int ShowMessage(const std::string& text, const std::string& caption, UINT flags) = 0;
    // CustomMessageDlg of the confirmation type with the buttons Yes, No, Cancel and, when four captions
    // are given, Yes to all, captioned in that order. Returns mrYes, mrNo, mrCancel, mrYesToAll, or
    // mrCancel when the dialog was closed.
    virtual int AskQuestion(const std::string& text, const std::string& caption,
                            const std::vector<std::string>& buttonCaptions) = 0;

    // --- the tray icon
    virtual void SetTrayHint(const std::string& hint) = 0;
    // Balloon with the information icon and a 10-second timeout.
    virtual void ShowBalloon(const std::string& title, const std::string& text) = 0;

    // --- the progress window (frmProgress)
    // Creates it owned by the main window, sets its caption and stop-when-done label, ResetProgress.
    virtual void CreateProgress(const std::string& caption, const std::string& stopWhenDoneText) = 0;
    virtual void UpdateProgress(const TProgressUpdate& update) = 0;
    // Shows it modally, centred on the screen; the batch runs in here. Returns 1 when the driver ended
    // the batch (FinishProgress), 2 when the user chose "Stop now".
    virtual int ShowProgressModal() = 0;
    // The batch is over: FFinished := True (closing asks nothing) and ModalResult := 1.
    virtual void FinishProgress() = 0;
    virtual void FreeProgress() = 0;

    // --- after the batch
    // Creates TfrmShutdown owned by the main window, shows it modally, frees it; returns its modal
    // result (1: the countdown ran out).
    virtual int ShowShutdownCountdown() = 0;
};
