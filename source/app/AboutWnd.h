// TfrmAbout: the layered about window with the program's title, version, notice and two links. Created
// on first use and kept, so its texts are those of the language current at its creation.
#pragma once

#include "BuildInfo.h"
#include "LayeredButton.h"
#include "LayeredLabel.h"
#include "LayeredWnd.h"

// The OK button's state pictures under SkinsDir.
extern const char* const AboutOKPictures[4];  // normal, hovered, pressed, disabled

class TfrmAbout : public TfrmLayered {
  ORV_CLASS(TfrmAbout)
public:
  explicit TfrmAbout(TComponent* owner);

  TLayeredLabel *lblAbout = nullptr, *lblTitle = nullptr, *lblVersinoNumber = nullptr, *lblVersion = nullptr,
                *lblCopyrihght = nullptr, *lblWarning = nullptr;
  TLayeredButton *btnOnlineResources = nullptr, *btnTechnicalSupport = nullptr, *btnOK = nullptr;

  void FormCreate(TObject* Sender);
  void ApplyLanguage();
  void btnOKClick(TObject* Sender);
  void btnOnlineResourcesClick(TObject* Sender);
  void btnTechnicalSupportClick(TObject* Sender);

protected:
  void DeclareLayout(TLayoutBinder& binder) override;
};

extern TfrmAbout* frmAbout;
