#include "MessageForm.h"

#include <algorithm>

ORV_DEFINE_CLASS(TMessageForm, TForm, nullptr, {})

namespace {

struct TButtonKind {
  const char* Name;
  const char* Caption;
  int Result;
};
// Indexed by TMsgDlgBtn. Help has no result: there is no help file to open, and it must not be
// mistaken for an answer.
const TButtonKind kButtonKinds[] = {
    {"Yes", "&Yes", mrYes},          {"No", "&No", mrNo},
    {"OK", "OK", mrOk},              {"Cancel", "Cancel", mrCancel},
    {"Abort", "&Abort", mrAbort},    {"Retry", "&Retry", mrRetry},
    {"Ignore", "&Ignore", mrIgnore}, {"All", "&All", mrAll},
    {"NoToAll", "N&o to All", mrNoToAll}, {"YesToAll", "Yes to &All", mrYesToAll},
    {"Help", "&Help", mrNone},
};

const int kMargin = 12;
const int kButtonHeight = 25;
const int kButtonMinWidth = 75;
const int kButtonGap = 8;

LPCSTR IconOf(TMsgDlgType type) {
  switch (type) {
    case mtWarning: return IDI_WARNING;
    case mtError: return IDI_ERROR;
    case mtInformation: return IDI_INFORMATION;
    case mtConfirmation: return IDI_QUESTION;
    default: return nullptr;
  }
}

}  // namespace

int MessageButtonResult(TMsgDlgBtn button) { return kButtonKinds[button].Result; }

TMessageForm::TMessageForm(TComponent* owner) : TForm(owner) { InitLayout(); }

void TMessageForm::DeclareLayout(TLayoutBinder& b) {
  b.Field("imgIcon", imgIcon);
  b.Field("lblMessage", lblMessage);
}

int TMessageForm::TextWidth(const std::string& text) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, GetFont()->Handle());
  SIZE size{};
  GetTextExtentPoint32A(dc, text.c_str(), int(text.size()), &size);
  SelectObject(dc, old);
  DeleteDC(dc);
  return size.cx;
}

TMessageForm* CreateMessageDialog(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons) {
  auto* f = new TMessageForm(Application);
  try {
    if (LPCSTR icon = IconOf(type)) {
      f->imgIcon->GetPicture()->Icon()->SetHandle(CopyIcon(LoadIconA(nullptr, icon)));
    } else {
      f->imgIcon->SetVisible(false);
    }
    const int textLeft = type == mtCustom ? kMargin : f->imgIcon->GetLeft() + f->imgIcon->GetWidth() + kMargin;

    // The message wraps at half the screen's width.
    RECT text{0, 0, std::max(100, GetSystemMetrics(SM_CXSCREEN) / 2), 0};
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, f->GetFont()->Handle());
    DrawTextA(dc, message.c_str(), int(message.size()), &text, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    DeleteDC(dc);
    f->lblMessage->SetCaption(message);
    f->lblMessage->SetBounds(textLeft, kMargin, text.right, text.bottom);

    int buttonWidth = kButtonMinWidth;
    for (int b = mbYes; b <= mbHelp; ++b) {
      if (!((buttons >> b) & 1u)) continue;
      auto* btn = new TButton(f);
      btn->SetName("btn" + std::string(kButtonKinds[b].Name));
      btn->SetParent(f);
      btn->SetCaption(kButtonKinds[b].Caption);
      btn->SetModalResult(kButtonKinds[b].Result);
      f->ButtonList.push_back(btn);
      f->ButtonKinds.push_back(TMsgDlgBtn(b));
      buttonWidth = std::max(buttonWidth, f->TextWidth(kButtonKinds[b].Caption) + 16);
    }
    auto has = [&](TMsgDlgBtn b) { return ((buttons >> b) & 1u) != 0; };
    // Enter answers OK or Yes; Escape answers Cancel, else No, else OK.
    TMsgDlgBtn defaultKind = has(mbOK) || !has(mbYes) ? mbOK : mbYes;
    TMsgDlgBtn cancelKind = has(mbCancel) ? mbCancel : has(mbNo) ? mbNo : mbOK;
    const int n = int(f->ButtonList.size());
    for (int i = 0; i < n; ++i) {
      if (f->ButtonKinds[i] == defaultKind) {
        TButton* btn = f->ButtonList[i];
        btn->SetDefault(true);
        // Focus can only go to a shown window.
        f->OnShow = [f, btn](TObject*) { f->SetActiveControl(btn); };
      }
      if (f->ButtonKinds[i] == cancelKind) f->ButtonList[i]->SetCancel(true);
    }

    const int contentHeight = std::max<int>(text.bottom, type == mtCustom ? 0 : f->imgIcon->GetHeight());
    const int buttonsWidth = n * buttonWidth + std::max(0, n - 1) * kButtonGap;
    const int clientWidth = std::max<int>(textLeft + text.right + kMargin, buttonsWidth + 2 * kMargin);
    const int buttonTop = kMargin + contentHeight + kMargin;
    f->SetClientWidth(clientWidth);
    f->SetClientHeight(buttonTop + kButtonHeight + kMargin);
    int left = (clientWidth - buttonsWidth) / 2;
    for (TButton* btn : f->ButtonList) {
      btn->SetBounds(left, buttonTop, buttonWidth, kButtonHeight);
      left += buttonWidth + kButtonGap;
    }
  } catch (...) {
    f->Free();
    throw;
  }
  return f;
}
