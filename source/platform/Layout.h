// The layout reader: builds a window's components from its layout text.
//
//   base 'layouts/TfrmProfileBase.layout'        (optional: an inherited layout, read first)
//   object frmName: TfrmName
//     Caption = 'Profile name'                   properties in the order they are applied
//     Font.Style = [fsBold]                      object properties are filled in place
//     Items = ('one' 'two')                      lists of texts
//     Glyph = bmp 'pictures/skin.bmp'            data from a file under resources/
//     OnShow = FormShow                          handlers bound by name
//     object btnOK: TButton ... end              child components (controls get the parent)
//     inherited btnSave: TButton ... end         a component the base layout made, changed here
//     include 'layouts/AudioGroup.layout' suffix 'Mp3'
//   end
//
// Values: numbers ($hex too), 'texts' with '' for a quote and #13 character codes (joined with +),
// identifiers (enums, True/False, colours, component names), sets [a, b]. In an included group every
// '$' in a component name, handler name or component reference stands for the suffix.
// Every error names the file and line.
#pragma once

#include <any>
#include <functional>
#include <string>
#include <vector>

#include "Component.h"

class ELayoutError : public EPropertyError {
public:
  ELayoutError(const std::string& file, int line, const std::string& msg)
      : EPropertyError(file + "(" + std::to_string(line) + "): " + msg), File(file), Line(line) {}
  std::string File;
  int Line;
};

// What a window offers its layout: its handler methods by name and its component fields.
class TLayoutBinder {
public:
  template <class C, class... A>
  void Handler(const std::string& name, C* obj, void (C::*method)(A...)) {
    std::function<void(A...)> f = [obj, method](A... a) { (obj->*method)(std::forward<A>(a)...); };
    FHandlers.push_back({name, std::any(f)});
  }
  // Any callable stored as the exact event type, e.g. Handle<TNotifyEvent>("x", [](TObject*){}).
  template <class F>
  void Handle(const std::string& name, F f) {
    FHandlers.push_back({name, std::any(f)});
  }
  template <class T>
  void Field(const std::string& name, T*& field) {
    const TClassInfo* cls = &T::StaticClassInfo();
    FFields.push_back({name, cls, [&field](TComponent* c) { field = static_cast<T*>(c); }});
  }
  const std::any* FindHandler(const std::string& name) const;
  // Resolves every declared field among root's owned components; raises for a missing one.
  void BindFields(TComponent* root, const std::string& layoutName) const;

private:
  struct THandlerEntry {
    std::string Name;
    std::any Fn;
  };
  struct TFieldEntry {
    std::string Name;
    const TClassInfo* Class;
    std::function<void(TComponent*)> Set;
  };
  std::vector<THandlerEntry> FHandlers;
  std::vector<TFieldEntry> FFields;
};

// Where layouts and the files they name come from: by default the resources embedded in the
// program ("layouts/TfrmMain.layout", "pictures/x.png"). Tests point it at a folder.
using TLayoutSource = std::function<std::vector<uint8_t>(const std::string& name)>;
void SetLayoutSource(TLayoutSource source);  // empty restores the embedded resources
TLayoutSource FolderLayoutSource(const std::string& folder);
std::vector<uint8_t> ReadLayoutFile(const std::string& name);

// Reads the named layout into root: creates the components (owned by root), applies the properties,
// binds handlers, resolves references, then calls Loaded on every component it touched.
void ReadLayout(TComponent* root, const std::string& layoutName, const TLayoutBinder& binder);
void ReadLayoutText(TComponent* root, const std::string& text, const std::string& fileName,
                    const TLayoutBinder& binder);
