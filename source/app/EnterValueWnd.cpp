#include "EnterValueWnd.h"

#include <cctype>

#include "MultiLanguages.h"
#include "Prompter.h"
#include "Strings.h"

ORV_DEFINE_CLASS(TfrmEnterValue, TfrmEntry, nullptr, {})

bool ConvertIntegerText(const std::string& text, int32_t& value, int& errorPos) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i < text.size() && (text[i] == 'x' || text[i] == 'X')) {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  const size_t firstDigit = i;
  const int64_t limit = negative ? int64_t(INT32_MAX) + 1 : INT32_MAX;
  int64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    int digit;
    if (std::isdigit(c))
      digit = c - '0';
    else if (base == 16 && std::isxdigit(c))
      digit = std::tolower(c) - 'a' + 10;
    else
      break;
    magnitude = magnitude * base + digit;
    if (magnitude > limit) break;  // stops at the digit that no longer fits
  }
  if (i == firstDigit || i < text.size()) {
    errorPos = int(i) + 1;
    return false;
  }
  value = int32_t(negative ? -magnitude : magnitude);
  return true;
}

TfrmEnterValue::TfrmEnterValue(TComponent* owner) : TfrmEntry(owner) { InitLayout(); }

void TfrmEnterValue::DeclareLayout(TLayoutBinder& b) {
  DeclareEntry(b, "lblDisplayMessage", lblDisplayMessage, "txtValue", txtValue);
}

void TfrmEnterValue::SetTexts() {
  SetCaption(IDS_NAME_FORM_Title);
  lblDisplayMessage->SetCaption(IDS_NAME_LABEL_LabelDisplayMessage);
}

bool TfrmEnterValue::CheckEntry() {
  int32_t value = 0;
  int errorPos = 0;
  if (!ConvertIntegerText(txtValue->GetCaption(), value, errorPos))
    PromptMessageBox(Format(IDS_INVAILD_VALUE, {errorPos}), IDS_INVAILD_VALUE_TITLE, MB_OK | MB_ICONEXCLAMATION);
  else if (value < FMinValue || value > FMaxValue)
    PromptMessageBox(Format(IDS_INVAILD_VALUE_BETWEEN, {FMinValue, FMaxValue}), IDS_INVAILD_VALUE_BETWEEN_TITLE,
                     MB_OK | MB_ICONEXCLAMATION);
  else
    return true;
  return false;
}
