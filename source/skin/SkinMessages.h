// The skin engine's private window messages and the constants its layers share.
//
// The engine is built in layers. A file includes only files of its own layer or of a lower one, and
// the files of one layer include each other without a circle; where a lower layer must reach a higher
// one it declares a small interface or notification that the higher one fills. The engine uses the
// platform layer only. From the bottom (tools/include-graph/skin_layers.py checks this):
//   1. these messages: SkinMessages
//   2. the skin file and its records: SkinPackFormat, SkinLzh, SkinnerIni, SkinPackReader, SkinImageUtils
//   3. the data component: SkinnerData
//   4. the manager and its popup-menu skinners: SkinManage
//   5. the form skinner: SkinnerForm, SkinnerFrame, SkinnerMenu, SkinnerMenuItems, SkinnerCommands,
//      SkinnerToolBars
//   6. the control skinner base: SkinnerControl
//   7. the control skinners: SkinnerButton, SkinnerMenuButton, SkinnerMediaPlayer, SkinnerBox, SkinnerTabs,
//      SkinnerCheck, SkinnerTrackBar, SkinnerEdit, SkinnerCombo, SkinnerScroll, SkinnerHeader
//   8. the dispatch that chooses them: SkinnerDispatch
#pragma once

#include <windows.h>

// Sent or posted to the windows the engine skins (what each one does is said where it is handled).
constexpr UINT SM_REAPPLYSKIN = 0x3401;   // to a skinned form: take the skin again
constexpr UINT SM_PAINTFRAME = 0x3502;    // to a skinned window: repaint the whole frame
constexpr UINT SM_FINISHSKIN = 0x3503;    // posted after attaching, lParam 1000: finish skinning
// To a skinned control: wParam 0 switches its skinner off (the control paints as if unskinned), a
// positive wParam switches it on again; the skinner stays attached either way.
constexpr UINT SM_SWITCHSKINNER = 0x3506;
// Sent to the window of the skinned form when a tab's close box was clicked; wParam the tab control's
// window, lParam the tab's index. An answer of 0 (also the default of a window that does not know the
// message) frees that page; any other answer keeps it.
constexpr UINT SM_CLOSETAB = 0x3507;
// To the window, for the application's own caption buttons: posted with wParam the button's Action
// when it is clicked; sent with wParam its Visibility (1000..2000) and lParam its Action to ask whether
// it shows (an answer above 0).
constexpr UINT SM_CAPTIONBUTTONACTION = 0x3514;
constexpr UINT SM_CAPTIONBUTTONVISIBLE = 0x3515;
constexpr UINT SM_MDIREDRAW = 0x3516;     // posted to the MDI client: redraw it and all its children
constexpr UINT SM_RECREATESCROLL = 0x3517;  // a scroll-bar skinner's control window was re-created
constexpr UINT SM_MENUBARCLICK = 0x3518;  // to a skinned window, lParam a screen point: open the bar item there
constexpr UINT SM_ISSKINNED = 0x3523;     // any window: 1 when it is skinned
// To an edit skinner, lParam 16802: the edit paints its text into the DC in wParam; answers 16802.
constexpr UINT SM_PAINTEDITTO = 0xBC4A;
constexpr UINT SM_PAINTFRAMETO = 0xBC4B;  // lParam 16802: paint the skinned frame into the DC in wParam
constexpr UINT SM_SKINQUERY = 0xBC4D;     // a skinned form answers 16802 for lParam 16802, else 1
// Sent by some controls when their data changes; check and radio skinners repaint on it.
constexpr UINT SM_DATACHANGED = 0xB0D0;

// The payload of the engine's own notices (CN_NOTIFY, 0xBC4A, 0xBC4B, 0xBC4D).
constexpr LPARAM SkinNoticeParam = 16802;
// The lParam of SM_FINISHSKIN.
constexpr LPARAM SkinFinishParam = 1000;
