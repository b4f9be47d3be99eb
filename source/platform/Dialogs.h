// The system's open and save dialogs.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "Component.h"

enum TOpenOption { ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofAllowMultiSelect,
                   ofPathMustExist, ofFileMustExist, ofEnableSizing };

class TOpenDialog : public TComponent {
  ORV_CLASS(TOpenDialog)
public:
  explicit TOpenDialog(TComponent* owner) : TComponent(owner) {}
  // "Name|*.a;*.b|Name|*.c" as the class library writes it.
  std::string GetFilter() const { return FFilter; }
  void SetFilter(const std::string& v) { FFilter = v; }
  std::string GetInitialDir() const { return FInitialDir; }
  void SetInitialDir(const std::string& v) { FInitialDir = v; }
  std::string GetFileName() const { return FFileName; }
  void SetFileName(const std::string& v) { FFileName = v; }
  std::string GetDefaultExt() const { return FDefaultExt; }
  void SetDefaultExt(const std::string& v) { FDefaultExt = v; }
  std::string GetTitle() const { return FTitle; }
  void SetTitle(const std::string& v) { FTitle = v; }
  unsigned GetOptions() const { return FOptions; }
  void SetOptions(unsigned v) { FOptions = v; }
  // Every chosen file with its full path (one for a single choice).
  const std::vector<std::string>& Files() const { return FFiles; }
  // Shows the dialog; true when the user chose. The owner is the active form.
  virtual bool Execute();

  // Tests answer instead of a person: return false for Cancel or fill `files` and return true.
  using TDialogChooser = std::function<bool(TOpenDialog* dialog, std::vector<std::string>& files)>;
  static TDialogChooser SetChooser(TDialogChooser chooser);

protected:
  virtual bool IsSave() const { return false; }
  std::string FFilter, FInitialDir, FFileName, FDefaultExt, FTitle;
  unsigned FOptions = (1u << ofHideReadOnly) | (1u << ofEnableSizing);
  std::vector<std::string> FFiles;
};

class TSaveDialog : public TOpenDialog {
  ORV_CLASS(TSaveDialog)
public:
  explicit TSaveDialog(TComponent* owner) : TOpenDialog(owner) {}

protected:
  bool IsSave() const override { return true; }
};

// Splits the multi-selection answer of the open dialog: folder, then names, each ending in a zero.
std::vector<std::string> SplitMultiSelection(const char* buffer);
