// TfrmEnterValue: asks for one integer within FMinValue .. FMaxValue. OK keeps the window open with a
// message until the entry is a valid number in range; FAccepted tells the caller that it was.
#pragma once

#include <cstdint>
#include <string>

#include "Forms.h"
#include "StdCtrls.h"

// The standard integer conversion: leading blanks, an optional sign, decimal digits or hexadecimal ones
// after "$", "x", "X", "0x" or "0X", nothing after them, within signed 32 bits. On failure ErrorPos is
// the 1-based position of the character where conversion stopped (1 for an empty text).
bool ConvertIntegerText(const std::string& text, int32_t& value, int& errorPos);

class TfrmEnterValue : public TForm {
  ORV_CLASS(TfrmEnterValue)
public:
  explicit TfrmEnterValue(TComponent* owner);

  TLabel* lblDisplayMessage = nullptr;
  TEdit* txtValue = nullptr;
  TButton *btnOK = nullptr, *btnCancel = nullptr;

  bool FAccepted = false;
  int32_t FMinValue = 0, FMaxValue = 0;

  void FormCreate(TObject* Sender);
  void btnOKClick(TObject* Sender);

protected:
  void DeclareLayout(TLayoutBinder& binder) override;

private:
  void Reject(const std::string& text, const std::string& caption);
};
