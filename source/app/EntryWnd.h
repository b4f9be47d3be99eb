// TfrmEntry: the small window that asks for one entry: a label, an edit, OK and Cancel. OK keeps the
// window open, with the entry selected for correcting, until the entry passes the window's check;
// FAccepted tells the caller that it did. The caller takes the edit's text as typed.
#pragma once

#include <string>

#include "Forms.h"
#include "StdCtrls.h"

class TfrmEntry : public TForm {
  ORV_CLASS(TfrmEntry)
public:
  TButton *btnOK = nullptr, *btnCancel = nullptr;

  bool FAccepted = false;

  void FormCreate(TObject* Sender);
  void btnOKClick(TObject* Sender);

protected:
  explicit TfrmEntry(TComponent* owner) : TForm(owner) {}

  // Binds the window's label and edit under their layout names, the buttons and both handlers.
  void DeclareEntry(TLayoutBinder& b, const std::string& labelName, TLabel*& label, const std::string& editName,
                    TEdit*& edit);
  // The window's caption and the label's text, in the current language.
  virtual void SetTexts() = 0;
  // True when the entry is good; otherwise tells the user what is wrong with it and returns false.
  virtual bool CheckEntry() = 0;

private:
  TEdit** FEntry = nullptr;  // the derived window's edit field, bound once the layout is read
};
