// TMessageForm: the standard message dialog (icon, message, one button per member of a button set).
// The skin finds the dialog by its class name, so the name must stay TMessageForm.
#pragma once

#include <string>
#include <vector>

#include "ExtCtrls.h"
#include "Forms.h"
#include "Prompter.h"
#include "StdCtrls.h"

class TMessageForm : public TForm {
  ORV_CLASS(TMessageForm)
public:
  explicit TMessageForm(TComponent* owner);

  TImage* imgIcon = nullptr;
  TLabel* lblMessage = nullptr;
  // In the fixed order of TMsgDlgBtn (Yes, No, OK, Cancel, ... Help), one per member of the set.
  std::vector<TButton*> ButtonList;
  std::vector<TMsgDlgBtn> ButtonKinds;  // the kind of each entry of ButtonList

  // The single-line width of a text in the dialog's font.
  int TextWidth(const std::string& text);

protected:
  void DeclareLayout(TLayoutBinder& binder) override;
};

// Builds the dialog (not shown): icon of the type (none for mtCustom), message, standard buttons
// with their standard captions and modal results, sized around the text and buttons.
TMessageForm* CreateMessageDialog(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons);

// The modal result a button of the standard dialog gives (mrNone for Help, which does not close).
int MessageButtonResult(TMsgDlgBtn button);
