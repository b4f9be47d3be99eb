// The frame controller: pushing its settings to the controls that joined it (by name to the edits,
// through UpdateFrame to the radio buttons and progress bars), its update counter, its own rules and older
// form data, the links that clear when either side goes; and the storage location component.
#include <gtest/gtest.h>

#include "FcEdit.h"
#include "FcPrgres.h"
#include "FcRadChk.h"
#include "FcSpnEdt.h"
#include "Forms.h"
#include "Layout.h"

TEST(FcFrameController, EditsTakeTheSettingsTheirNotificationsAllow) {
  TFcFrameController controller(nullptr);
  controller.SetFrameStyle(fsGroove);
  TFcEdit edit(nullptr);
  TFcSpinEdit spin(nullptr);
  SetPropText(&spin, "FrameControllerNotifications", "[fcpFocusColor,fcpFrameStyle,fcpFlatButtons]");
  EXPECT_EQ(GetPropText(&spin, "FrameControllerNotifications"), "[fcpFocusColor, fcpFlatButtons, fcpFrameStyle]");
  edit.FrameLink().Set(&controller);
  spin.FrameLink().Set(&controller);
  EXPECT_EQ(controller.Controls().size(), 2u);
  EXPECT_EQ(GetObjectProp(&edit, "FrameController"), &controller);
  // Joining takes everything the control allows.
  EXPECT_EQ(edit.GetFrameStyle(), fsGroove);
  EXPECT_EQ(spin.GetFrameStyle(), fsGroove);
  EXPECT_TRUE(spin.GetFlatButtons());  // the controller's default
  EXPECT_FALSE(edit.GetFlatButtons()); // an edit has no such property to take

  controller.SetFrameColor(clRed);
  controller.SetFocusColor(clYellow);
  EXPECT_EQ(edit.GetFrameColor(), clRed);
  EXPECT_EQ(spin.GetFrameColor(), clBtnShadow) << "not in its notifications";
  EXPECT_EQ(edit.GetFocusColor(), clYellow);
  EXPECT_EQ(spin.GetFocusColor(), clYellow);

  // While updating nothing is pushed; the last EndUpdate pushes everything.
  controller.BeginUpdate();
  controller.BeginUpdate();
  controller.SetFrameHotStyle(fsBump);
  controller.EndUpdate();
  EXPECT_EQ(edit.GetFrameHotStyle(), fsFlatBold);
  controller.EndUpdate();
  EXPECT_EQ(edit.GetFrameHotStyle(), fsBump);

  edit.FrameLink().Set(nullptr);
  controller.SetFrameColor(clBlue);
  EXPECT_EQ(edit.GetFrameColor(), clRed);
  EXPECT_EQ(controller.Controls().size(), 1u);
}

TEST(FcFrameController, OwnRulesAndOlderFormData) {
  TFcFrameController c(nullptr);
  SetPropText(&c, "ParentColor", "True");
  c.SetColor(clAqua);  // the focus colour was the colour, so it moves along; ParentColor goes off
  EXPECT_EQ(c.GetFocusColor(), clAqua);
  EXPECT_FALSE(c.GetParentColor());
  c.SetFocusColor(clWhite);
  c.SetColor(clLime);
  EXPECT_EQ(c.GetFocusColor(), clWhite);

  c.SetFrameSides(1u << sdLeft);
  c.SetFrameHotTrack(true);
  EXPECT_TRUE(c.GetFrameVisible());
  EXPECT_EQ(c.GetFrameSides(), AllSides);

  TFcFrameController old(nullptr);
  SetPropText(&old, "FrameFlat", "True");
  EXPECT_TRUE(old.GetFrameHotTrack());
  EXPECT_EQ(old.GetFrameStyle(), fsStatus);
  EXPECT_EQ(old.GetFrameHotStyle(), fsLowered);
  SetPropText(&old, "FrameFocusStyle", "fsBump");
  EXPECT_EQ(old.GetFrameHotStyle(), fsBump);
  SetPropText(&old, "FrameFlatStyle", "fsGroove");  // read and dropped
  EXPECT_EQ(old.GetFrameStyle(), fsStatus);

  TFcEdit edit(nullptr);
  SetPropText(&edit, "FrameFlatStyle", "fsGroove");
  SetPropText(&edit, "FrameFocusStyle", "fsPopup");
  SetPropText(&edit, "About", "anything");
  EXPECT_EQ(edit.GetFrameHotStyle(), fsPopup);
  EXPECT_EQ(GetPropText(&edit, "About"), "");

  // Assigning copies every setting and pushes them once.
  edit.FrameLink().Set(&c);
  c.Assign(&old);
  EXPECT_EQ(c.GetFrameStyle(), fsStatus);
  EXPECT_EQ(c.GetFrameHotStyle(), fsBump);
  EXPECT_EQ(edit.GetFrameStyle(), fsStatus);
  EXPECT_EQ(edit.GetFrameHotStyle(), fsBump);
  edit.FrameLink().Set(nullptr);
}

TEST(FcFrameController, RadioButtonsAndProgressBarsUpdateThemselvesWhileFramesShow) {
  TFcFrameController c(nullptr);
  TFcRadioButton radio(nullptr);
  TFcProgressBar bar(nullptr);
  radio.FrameLink().Set(&c);
  bar.FrameLink().Set(&c);
  c.SetColor(clYellow);
  c.SetFrameColor(clRed);
  c.SetFrameStyle(fsGroove);
  EXPECT_FALSE(radio.GetHotTrack()) << "FrameVisible is off";
  EXPECT_NE(radio.GetFillColor(), clYellow);
  EXPECT_EQ(bar.GetBorderOuter(), fsLowered);

  c.SetFrameHotColor(clFuchsia);
  c.SetFrameHotTrack(true);  // which also shows the frames
  EXPECT_TRUE(radio.GetHotTrack());
  EXPECT_EQ(radio.GetFillColor(), clYellow);
  EXPECT_EQ(radio.GetFrameColor(), clRed);
  EXPECT_EQ(radio.GetHotTrackStyle(), htsFrame);
  EXPECT_EQ(radio.GetHotTrackColor(), clFuchsia);
  EXPECT_EQ(bar.GetBorderOuter(), fsGroove);
  EXPECT_EQ(bar.GetFlatColor(), clRed);
  EXPECT_EQ(bar.GetFlatColorAdjustment(), 0);
  EXPECT_EQ(bar.GetBackColor(), clYellow);

  // A bar that takes only the frame style keeps its own colours.
  TFcProgressBar styleOnly(nullptr);
  SetPropText(&styleOnly, "FrameControllerNotifications", "[fcpFrameStyle]");
  styleOnly.FrameLink().Set(&c);
  EXPECT_EQ(styleOnly.GetBorderOuter(), fsGroove);
  EXPECT_EQ(styleOnly.GetBackColor(), clWhite);
  EXPECT_EQ(styleOnly.GetFlatColorAdjustment(), 30);
}

TEST(FcFrameController, LinksClearWhenEitherSideGoes) {
  auto* controller = new TFcFrameController(nullptr);
  TFcProgressBar bar(nullptr);
  {
    TFcEdit edit(nullptr);
    edit.FrameLink().Set(controller);
    bar.FrameLink().Set(controller);
    EXPECT_EQ(controller->Controls().size(), 2u);
  }
  EXPECT_EQ(controller->Controls().size(), 1u);
  controller->Free();
  EXPECT_EQ(bar.FrameLink().Get(), nullptr);
  EXPECT_EQ(GetObjectProp(&bar, "FrameController"), nullptr);
}

TEST(FcFrameController, LayoutsLinkControlsToTheirController) {
  // The reference is resolved after the properties: the controls still get the controller's settings,
  // older controller data included.
  auto* form = new TForm(nullptr);
  ReadLayoutText(form,
                 "object frmFc: TForm\n"
                 "  object fc: TFcFrameController\n"
                 "    FrameFlat = True\n"
                 "    FrameFocusStyle = fsBump\n"
                 "    FrameFlatStyle = fsGroove\n"
                 "    FrameColor = clRed\n"
                 "  end\n"
                 "  object edt: TFcEdit\n"
                 "    FrameController = fc\n"
                 "    FrameControllerNotifications = [fcpFrameStyle, fcpFrameHotStyle, fcpFrameHotTrack]\n"
                 "    About = 'x'\n"
                 "  end\n"
                 "  object prg: TFcProgressBar\n"
                 "    FrameController = fc\n"
                 "  end\n"
                 "end\n",
                 "fc.layout", TLayoutBinder());
  auto* fc = As<TFcFrameController>(form->FindComponent("fc"));
  auto* edit = As<TFcEdit>(form->FindComponent("edt"));
  auto* bar = As<TFcProgressBar>(form->FindComponent("prg"));
  ASSERT_TRUE(fc && edit && bar);
  EXPECT_EQ(fc->Controls().size(), 2u);
  EXPECT_TRUE(fc->GetFrameVisible());
  EXPECT_EQ(edit->GetFrameStyle(), fsStatus);
  EXPECT_EQ(edit->GetFrameHotStyle(), fsBump);
  EXPECT_TRUE(edit->GetFrameHotTrack());
  EXPECT_EQ(edit->GetFrameColor(), clBtnShadow) << "not in its notifications";
  EXPECT_EQ(bar->GetBorderOuter(), fsStatus);
  EXPECT_EQ(bar->GetFlatColor(), clRed);
  form->Free();
}

TEST(FcRegIniFile, IniFileAndRegistryKeyFollowTheirSettings) {
  TFcRegIniFile store(nullptr);
  EXPECT_EQ(GetPropText(&store, "RegAccess"), "[keyAllAccess]");
  EXPECT_EQ(store.GetRegKey(), hkeyCurrentUser);
  store.SetPath("orvane_fc_test.ini");
  EXPECT_EQ(store.IniFileName(), "orvane_fc_test.ini");
  ASSERT_NE(store.IniFile(), nullptr);
  EXPECT_EQ(store.IniFile()->FileName, "orvane_fc_test.ini");
  SetPropText(&store, "SpecialFolder", "sfUserAppDataRoaming");
  std::string inFolder = store.IniFileName();
  EXPECT_GT(inFolder.size(), std::string("\\orvane_fc_test.ini").size());
  EXPECT_EQ(inFolder.substr(inFolder.size() - 19), "\\orvane_fc_test.ini");
  EXPECT_EQ(store.IniFile()->FileName, inFolder) << "made again after the change";
  EXPECT_EQ(store.RegistryKey(), nullptr);

  store.SetPathType(ptRegistry);
  EXPECT_EQ(store.IniFile(), nullptr);
  store.SetPath("Software\\OrvaneFcTest");
  SetPropText(&store, "RegAccess", "[keyRead,keyWrite]");
  EXPECT_EQ(store.AccessRights(), REGSAM(KEY_READ | KEY_WRITE));
  HKEY key = store.RegistryKey();
  ASSERT_NE(key, nullptr);
  DWORD value = 7;
  EXPECT_EQ(RegSetValueExA(key, "v", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value), ERROR_SUCCESS);
  store.SetPathType(ptIniFile);  // closes the key
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\OrvaneFcTest");
}
