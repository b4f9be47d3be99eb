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
//      include 'layouts/ProfileAudioPcmPage.layout' suffix 'X'    a page without a bit-rate group
//    A group placed differently in one window is moved with `inherited Name: TClass Left = .. end` after
//    the include (also how a window gives a sample-rate list other items).
// 2. Class. Derive from TfrmProfileEditor, give the constructor the format and the language text of the
//    format's name, add the groups in the order of the record's fields, then call InitLayout():
//      TfrmMp3Profile::TfrmMp3Profile(TComponent* owner)
//          : TfrmProfileEditor(owner, ofMp3, IDS_PROFILE_LABEL_MP3) {
//        TimeControl = AddGroup<TTimeControlGroup>();
//        AudioCodec = AddGroup<TCodecChoiceGroup>(AudioCodecChoice({&IDS_PROFILE_PAGECONTROL_Mp3}));
//        AudioMp3 = AddGroup<TAudioPageGroup>(AudioPageMp3("Mp3"));
//        InitLayout();
//      }
//    A group binds to its controls by name (the layout's names with the group's suffix), declares its
//    handlers under the names the layout binds, copies its record fields by key, and brings its own
//    update rules. The frame runs, for every group in order: DeclareLayout (when the layout is read),
//    ApplyLanguage and FormCreate (OnCreate), LoadSettings / SaveSettings (the main window's calls) and
//    FormShow (OnShow), then UpdateCodecPages of every codec choice. A window with rules of its own adds
//    a TEditorGroup subclass for them, or overrides ApplyLanguage / FormShow and calls the base first.
// 3. Table. Add the window's factory to ProfileEditorFactories() in ProfileEditors.cpp; the main window
//    finds editors only there.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"
#include "profiles.h"

class TfrmProfileEditor;

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
  std::string Named(const std::string& base) const { return base + FSuffix; }
  template <class T>
  void Field(TLayoutBinder& b, const std::string& base, T*& field) {
    b.Field(Named(base), field);
  }
  // Binds `method` under base + suffix + tail, e.g. ("CheckBoxAutoSetAudioBitrate", "Click").
  template <class G>
  void Handler(TLayoutBinder& b, const std::string& base, const std::string& tail, G* self, void (G::*method)()) {
    b.Handle<TNotifyEvent>(Named(base) + tail, [self, method](TObject*) { (self->*method)(); });
  }

private:
  std::string FSuffix;
};

// A codec list on the General tab and the page control whose pages it chooses. UpdateCodecPages hides
// every page's tab and shows the page of the list's index (page order = item order).
struct TCodecChoice {
  std::string ListName;        // "ComboBoxAudioCodec"
  std::string PageControlName; // "PageControlACodec"
  std::string FieldKey;        // "AudioCodec"
  std::vector<const std::string*> Items;  // language texts of the list's items, in order
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

  TComboBox* List = nullptr;
  TPageControl* Pages = nullptr;

protected:
  TCodecChoice FChoice;
};

// The names of the frame's controls (the AAC window spells them its own way).
struct TProfileFrameNames {
  std::string labDescription = "labDescription", EditDescription = "EditDescription";
  std::string PageControlOptions = "PageControlOptions", TabSheetGeneral = "TabSheetGeneral";
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
  void LoadSettings();
  void SaveSettings();

  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
  void btnSaveClick(TObject* Sender);

  virtual void ApplyLanguage();
  void UpdateCodecPages();

  const std::vector<std::unique_ptr<TEditorGroup>>& Groups() const { return FGroups; }

protected:
  TfrmProfileEditor(TComponent* owner, TOutputFormat format, const std::string& formatName,
                    TProfileFrameNames names = TProfileFrameNames());
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
  TProfileFrameNames FNames;
  std::vector<std::unique_ptr<TEditorGroup>> FGroups;
};

// Format(pattern, [arg]) for a language pattern with one %s; a pattern without one is shown as it is.
std::string FormatText(const std::string& pattern, const std::string& arg);

// The value dialog that the video pages' Configure buttons open. It belongs to the application, which
// installs it at start-up; until then (and in tests that install nothing) it answers with the default.
using TInputIntegerFn = int32_t (*)(TCustomForm* owner, const std::string& caption, const std::string& prompt,
                                    int32_t min, int32_t max, int32_t def);
void SetEditorInputInteger(TInputIntegerFn fn);
int32_t EditorInputInteger(TCustomForm* owner, const std::string& caption, const std::string& prompt, int32_t min,
                           int32_t max, int32_t def);
