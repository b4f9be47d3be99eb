// TfrmEnterValue: asks for one integer within FMinValue .. FMaxValue.
#pragma once

#include <cstdint>
#include <string>

#include "EntryWnd.h"

// The standard integer conversion: leading blanks, an optional sign, decimal digits or hexadecimal ones
// after "$", "x", "X", "0x" or "0X", nothing after them, within signed 32 bits. On failure ErrorPos is
// the 1-based position of the character where conversion stopped (1 for an empty text).
bool ConvertIntegerText(const std::string& text, int32_t& value, int& errorPos);

class TfrmEnterValue : public TfrmEntry {
  ORV_CLASS(TfrmEnterValue)
public:
  explicit TfrmEnterValue(TComponent* owner);

  TLabel* lblDisplayMessage = nullptr;
  TEdit* txtValue = nullptr;
  int32_t FMinValue = 0, FMaxValue = 0;

protected:
  void DeclareLayout(TLayoutBinder& binder) override;
  void SetTexts() override;
  bool CheckEntry() override;
};
