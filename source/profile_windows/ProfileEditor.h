// The profile editor windows: one modal window per output format around the format's global settings
// record. The main window resets or loads the record, calls LoadSettings, shows the window modally and,
// only when it returned 1 (Save), calls SaveSettings and writes the profile file. The windows never read
// or write files.
//
// How a window is assembled
// -------------------------
// 1. Layout. "layouts/<Class>.layout" starts with one of two bases, which bring every control all windows
//    share (PanelTop with labDescription/EditDescription, PanelBottom with btnSave/btnClose, the page
//    control PageControlOptions and its tabs):
//      base 'layouts/ProfileEditorAudio.layout'   tabs TabSheetGeneral, TabSheetAudio
//      base 'layouts/ProfileEditorVideo.layout'   tabs TabSheetGeneral, TabSheetVideo, TabSheetAudio
//    The window's own layout then sizes the form, fills the tabs with `inherited TabSheetX: TTabSheet`
//    and includes the shared groups:
//      include 'layouts/ProfileTimeControl.layout'               GroupBoxTimeControl (General tab)
//      include 'layouts/ProfileAudioCodec.layout'                GroupBoxAudioCodec + ComboBoxAudioCodec
//      include 'layouts/ProfileAudioPage.layout' suffix 'Mp3'     one codec page's controls (lab<C> ...)
//      include 'layouts/ProfileAudioAC3Page.layout' suffix 'AC3'  the AC3 page (six channels)
//      include 'layouts/ProfileAudioPageNoRange.layout' suffix 'Armnb'  slider range fixed (AMR)
//      include 'layouts/ProfileAudioPcmPage.layout' suffix 'X'    a page without a bit-rate group
//      include 'layouts/ProfileVideoGeneral.layout'   video windows' General tab below the time
//                                                     group: video codec, same quality, audio codec,
//                                                     Disable audio
//    A group placed differently in one window is moved with `inherited Name: TClass Left = .. end` after
//    the include (also how a window gives a sample-rate list other items).
// 2. Class. Derive from TfrmProfileEditor, give the constructor the format and the language text of the
//    format's name (and a TControlSpelling where the layout names shared controls its own way), add the
//    groups in the order of the record's fields, then call InitLayout():
//      TfrmMp3Profile::TfrmMp3Profile(TComponent* owner)
//          : TfrmProfileEditor(owner, ofMp3, IDS_PROFILE_LABEL_MP3) {
//        TimeControl = AddGroup<TTimeControlGroup>();
//        AudioCodec = AddGroup<TCodecChoiceGroup>(AudioCodecChoice({&IDS_PROFILE_PAGECONTROL_Mp3}));
//        AudioMp3 = AddGroup<TAudioPageGroup>(AudioPageMp3("Mp3"));
//        InitLayout();
//      }
//    Frame groups for the General tab: TTimeControlGroup, TCodecChoiceGroup (AudioCodecChoice /
//    VideoCodecChoice), TCheckBoxFieldGroup (SameQualityField()), TDisableAudioGroup; audio pages:
//    TAudioPageGroup (AudioGroup.h). A group binds to its controls by name (the layout's names with the
//    group's suffix), declares its handlers under the names the layout binds, copies its record fields
//    by key, and brings its own update rules. The frame runs, for every group in order: DeclareLayout (when the layout is read),
//    ApplyLanguage and FormCreate (OnCreate), LoadSettings / SaveSettings (the main window's calls) and
//    FormShow (OnShow), then UpdateCodecPages of every codec choice. A window with rules of its own adds
//    a TEditorGroup subclass for them, or overrides ApplyLanguage, LoadSettings, SaveSettings or FormShow
//    (all virtual) and calls the base.
// 3. Table. Put the window's factory into the format's line of kFactories in ProfileEditors.cpp; the
//    main window finds editors only there.
#pragma once

#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"
#include "profiles.h"

class TfrmProfileEditor;

// Binds the handler `name` (a TNotifyEvent) to a method that needs no sender; `self` may be of a class
// derived from the method's.
template <class G, class M>
void BindNotify(TLayoutBinder& b, const std::string& name, G* self, void (M::*method)()) {
  b.Handle<TNotifyEvent>(name, [self, method](TObject*) { (self->*method)(); });
}

// The fields of one format's global settings record, by key, in the forms the controls need. A key the
// record does not have raises Exception: it is a mistake of the window's tables, never of a profile file.
class TProfileRecord {
public:
  explicit TProfileRecord(TOutputFormat format);
  bool Has(const std::string& key) const;
  std::string Text(const std::string& key) const;
  bool Bool(const std::string& key) const;
  int32_t Int(const std::string& key) const;
  void SetText(const std::string& key, const std::string& value);
  void SetBool(const std::string& key, bool value);
  // List indexes are bytes: -1 (no selection) is stored as 255.
  void SetInt(const std::string& key, int32_t value);

private:
  size_t IndexOf(const std::string& key) const;
  TSettingsFields& FFields;
};

// How a window's layout spells the shared controls it names its own way: the standard name (before a
// group's suffix) -> the window's. The AAC window writes short kind prefixes (lblDescription,
// grpTimeControl, chkAutoSetAudioBitrate ...); every other window uses the standard names.
using TControlSpelling = std::map<std::string, std::string>;
// `name` as `spelling` writes it; the name itself where it has no entry (or there is no spelling).
std::string Spelled(const TControlSpelling* spelling, const std::string& name);

// One reusable part of an editor window (the time control group, one audio page, a codec choice ...).
// Its controls are found by name when the layout is read; every name it uses ends in its suffix.
class TEditorGroup {
public:
  explicit TEditorGroup(std::string suffix = std::string()) : FSuffix(std::move(suffix)) {}
  virtual ~TEditorGroup() = default;
  const std::string& Suffix() const { return FSuffix; }

  virtual void DeclareLayout(TLayoutBinder& binder) = 0;
  virtual void ApplyLanguage() {}
  virtual void FormCreate() {}
  virtual void LoadSettings(TProfileRecord& record) {}
  virtual void SaveSettings(TProfileRecord& record) {}
  virtual void FormShow() {}

protected:
  std::string Named(const std::string& base) const { return Spelled(FSpelling, base) + FSuffix; }
  template <class T>
  void Field(TLayoutBinder& b, const std::string& base, T*& field) {
    b.Field(Named(base), field);
  }
  // Binds `method` under base + suffix + tail, e.g. ("CheckBoxAutoSetAudioBitrate", "Click").
  template <class G>
  void Handler(TLayoutBinder& b, const std::string& base, const std::string& tail, G* self, void (G::*method)()) {
    BindNotify(b, Named(base) + tail, self, method);
  }

private:
  friend class TfrmProfileEditor;  // gives its groups the window's spelling before they declare the layout
  std::string FSuffix;
  const TControlSpelling* FSpelling = nullptr;
};

// A codec list on the General tab and the page control whose pages it chooses. UpdateCodecPages hides
// every page's tab and shows the page of the list's index (page order = item order).
struct TCodecChoice {
  std::string ListName;        // "ComboBoxAudioCodec"
  std::string PageControlName; // "PageControlACodec"
  std::string FieldKey;        // "AudioCodec"
  std::vector<const std::string*> Items;  // language texts of the list's items, in order
  std::string GroupBoxName;    // "GroupBoxAudioCodec" (empty: none)
  const std::string* GroupBoxCaption = nullptr;
};
TCodecChoice AudioCodecChoice(std::vector<const std::string*> items);
TCodecChoice VideoCodecChoice(std::vector<const std::string*> items);

class TCodecChoiceGroup : public TEditorGroup {
public:
  explicit TCodecChoiceGroup(TCodecChoice choice) : FChoice(std::move(choice)) {}
  void DeclareLayout(TLayoutBinder& b) override;
  void ApplyLanguage() override;
  void LoadSettings(TProfileRecord& r) override;
  void SaveSettings(TProfileRecord& r) override;
  virtual void UpdateCodecPages();

  TGroupBox* GroupBox = nullptr;
  TComboBox* List = nullptr;
  TPageControl* Pages = nullptr;

protected:
  TCodecChoice FChoice;
};

// A Boolean field shown by a check box in a captioned group box ("Same Quality", VideoSameQuality).
struct TCheckBoxField {
  std::string GroupBoxName;
  const std::string* GroupBoxCaption;
  std::string CheckBoxName;
  const std::string* CheckBoxCaption;
  std::string FieldKey;
};
TCheckBoxField SameQualityField();  // GroupBoxSameQuality / CheckBoxSameQuality / VideoSameQuality

class TCheckBoxFieldGroup : public TEditorGroup {
public:
  explicit TCheckBoxFieldGroup(TCheckBoxField field) : FField(std::move(field)) {}
  void DeclareLayout(TLayoutBinder& b) override;
  void ApplyLanguage() override;
  void LoadSettings(TProfileRecord& r) override;
  void SaveSettings(TProfileRecord& r) override;

  TGroupBox* GroupBox = nullptr;
  TCheckBox* CheckBox = nullptr;

protected:
  TCheckBoxField FField;
};

// Disable audio (video windows): the check box AudioDisableAudio; while it is ticked the audio codec
// group and list are disabled and the Audio tab is hidden. The record keeps the audio settings. Its
// click binding is CheckBoxDisableAudioClick (a window whose layout does not bind it still applies the
// rule when shown).
class TDisableAudioGroup : public TCheckBoxFieldGroup {
public:
  TDisableAudioGroup();
  void DeclareLayout(TLayoutBinder& b) override;
  void FormShow() override { UpdateAudioEnabled(); }
  virtual void UpdateAudioEnabled();

  TGroupBox* GroupBoxAudioCodec = nullptr;
  TComboBox* ComboBoxAudioCodec = nullptr;
  TTabSheet* TabSheetAudio = nullptr;
};

// The frame every editor window derives from.
class TfrmProfileEditor : public TForm {
  ORV_CLASS(TfrmProfileEditor)
public:
  TPanel *PanelTop = nullptr, *PanelBottom = nullptr;
  TLabel* labDescription = nullptr;
  TEdit* EditDescription = nullptr;
  TButton *btnSave = nullptr, *btnClose = nullptr;
  TPageControl* PageControlOptions = nullptr;
  TTabSheet *TabSheetGeneral = nullptr, *TabSheetAudio = nullptr;

  TOutputFormat Format() const { return FFormat; }
  // Record into controls / controls into record (the main window's two calls).
  virtual void LoadSettings();
  virtual void SaveSettings();

  void FormCreate(TObject* Sender);
  virtual void FormShow(TObject* Sender);
  void btnSaveClick(TObject* Sender);

  virtual void ApplyLanguage();
  void UpdateCodecPages();

  const std::vector<std::unique_ptr<TEditorGroup>>& Groups() const { return FGroups; }

protected:
  // `spelling`: where the window's layout names shared controls otherwise (kept, not copied).
  TfrmProfileEditor(TComponent* owner, TOutputFormat format, const std::string& formatName,
                    const TControlSpelling* spelling = nullptr);
  template <class G, class... A>
  G* AddGroup(A&&... args) {
    auto g = std::make_unique<G>(std::forward<A>(args)...);
    G* raw = g.get();
    FGroups.push_back(std::move(g));
    return raw;
  }
  void DeclareLayout(TLayoutBinder& b) override;

  TOutputFormat FFormat;
  const std::string& FFormatName;  // a language text, read when the texts are applied
  const TControlSpelling* FSpelling;
  std::vector<std::unique_ptr<TEditorGroup>> FGroups;
};

// Enables or disables every control of the list (a group's dependent controls follow one choice).
void EnableControls(std::initializer_list<TControl*> controls, bool enabled);

// Format(pattern, [arg]) for a language pattern with one %s; a pattern without one is shown as it is.
std::string FormatText(const std::string& pattern, const std::string& arg);

// The value dialog that the video pages' Configure buttons open. It belongs to the application, which
// installs it at start-up; until then (and in tests that install nothing) it answers with the default.
using TInputIntegerFn = int32_t (*)(TCustomForm* owner, const std::string& caption, const std::string& prompt,
                                    int32_t min, int32_t max, int32_t def);
void SetEditorInputInteger(TInputIntegerFn fn);
int32_t EditorInputInteger(TCustomForm* owner, const std::string& caption, const std::string& prompt, int32_t min,
                           int32_t max, int32_t def);
