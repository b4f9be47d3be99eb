#include "AboutWnd.h"

#include "MultiLanguages.h"
#include "ShellOpen.h"
#include "globals.h"

const char* const AboutOKPictures[4] = {"btnAboutOK_Normal.png", "btnAboutOK_Hover.png", "btnAboutOK_Down.png",
                                        "btnAboutOK_Disabled.png"};

TfrmAbout* frmAbout = nullptr;

ORV_DEFINE_LAYERED_CLASS(TfrmAbout, TfrmLayered, nullptr, {})

TfrmAbout::TfrmAbout(TComponent* owner) : TfrmLayered(owner) { InitLayout(); }

void TfrmAbout::DeclareLayout(TLayoutBinder& b) {
  TfrmLayered::DeclareLayout(b);
  b.Field("lblAbout", lblAbout);
  b.Field("lblTitle", lblTitle);
  b.Field("lblVersinoNumber", lblVersinoNumber);
  b.Field("lblVersion", lblVersion);
  b.Field("lblCopyrihght", lblCopyrihght);
  b.Field("lblWarning", lblWarning);
  b.Field("btnOnlineResources", btnOnlineResources);
  b.Field("btnTechnicalSupport", btnTechnicalSupport);
  b.Field("btnOK", btnOK);
  b.Handler("FormCreate", this, &TfrmAbout::FormCreate);
  b.Handler("btnOKClick", this, &TfrmAbout::btnOKClick);
  b.Handler("btnOnlineResourcesClick", this, &TfrmAbout::btnOnlineResourcesClick);
  b.Handler("btnTechnicalSupportClick", this, &TfrmAbout::btnTechnicalSupportClick);
}

void TfrmAbout::FormCreate(TObject*) {
  btnOK->SetPicNormal(SkinsDir + AboutOKPictures[0]);
  btnOK->SetPicMouseHover(SkinsDir + AboutOKPictures[1]);
  btnOK->SetPicMouseDown(SkinsDir + AboutOKPictures[2]);
  btnOK->SetPicDisabled(SkinsDir + AboutOKPictures[3]);
  SetBackgroundImage(SkinsDir + "imgAbout.png");
  SetTextQuality(TextQuality_ClearTypeGridFit);
  ApplyLanguage();
}

void TfrmAbout::ApplyLanguage() {
  lblTitle->SetCaption(AppTitle);
  lblCopyrihght->SetCaption(NoticeText);
  // GDI+ breaks lines at LF and would draw the CR of a CR LF as a box.
  std::string warning;
  for (char c : IDS_ABOUT_LABEL_Warning)
    if (c != '\r') warning += c;
  lblWarning->SetCaption(warning);
  lblVersinoNumber->SetCaption(IDS_ABOUT_LABEL_Version);
  btnTechnicalSupport->SetCaption(TechnicalSupportAddress);
  btnOnlineResources->SetCaption(OnlineResourcesAddress);
  lblVersion->SetCaption(VersionText);
  lblAbout->SetCaption(IDS_MAIN_MENUITEM_About);
  btnOK->SetCaption(IDS_ABOUT_BUTTON_OK);
}

void TfrmAbout::btnOKClick(TObject*) { Close(); }

void TfrmAbout::btnOnlineResourcesClick(TObject*) { OpenWithShell(Handle(), "Open", OnlineResourcesAddress); }

void TfrmAbout::btnTechnicalSupportClick(TObject*) {
  OpenWithShell(Handle(), "Open", std::string("mailto:") + TechnicalSupportAddress);
}
