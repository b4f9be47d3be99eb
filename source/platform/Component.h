// Component model: run-time class identity, the published-property table of every class, and
// TComponent with owner/owned lists, names, state and free notifications.
//
// Every class that layouts may create or the skin engine may inspect declares ORV_CLASS in its body
// and defines its class info in its .cpp with ORV_DEFINE_CLASS, listing its published properties in the
// order they are published. Properties are reached by name through GetPropText/SetPropText and friends;
// the layout reader and the skin engine use nothing else.
#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "Errors.h"

class TObject;
class TPersistent;
class TComponent;
class TClassInfo;

// Stores the value in the field; false when the field held it already, so a setter has nothing to tell.
template <class T>
bool ChangeField(T& field, const T& value) {
  if (field == value) return false;
  field = value;
  return true;
}

// Raised for a property or class that does not exist or a value that does not fit.
class EPropertyError : public Exception {
public:
  using Exception::Exception;
  const char* ClassName() const override { return "EPropertyError"; }
};

enum TPropKind {
  pkInteger,    // signed number; may carry identifiers (colours, cursors, modal results)
  pkBoolean,    // False / True
  pkEnum,       // identifier from a list, stored as its index
  pkSet,        // [ident, ident], stored as a bit mask of enum indexes
  pkString,     // text
  pkStrings,    // list of texts: ('a' 'b')
  pkObject,     // owned object filled in place (Font, Picture): its own properties by dotted name
  pkComponent,  // reference to another component by name (resolved after loading)
  pkEvent,      // handler bound by name
  pkData        // binary data from a file: kind 'path' (Glyph, SkinStream ...)
};

// Name <-> number pairs for integer properties that accept identifiers (clBtnFace, crHandPoint, mrOk).
struct TIdentMapEntry {
  int Value;
  const char* Name;
};
using TIdentMap = std::vector<TIdentMapEntry>;

// The layout reader hands raw data with the word that stood before the file name ("png", "bmp",
// "TPngPicture"), so one property can accept several formats.
struct TLayoutData {
  std::string Kind;
  std::string Path;
  std::vector<uint8_t> Bytes;
};

struct TPropInfo {
  std::string Name;
  TPropKind Kind = pkInteger;
  std::vector<std::string> EnumNames;          // pkEnum, pkSet
  const TIdentMap* Idents = nullptr;           // pkInteger
  const TClassInfo* ObjectClass = nullptr;     // pkObject, pkComponent: required class (may be null)
  bool HasDefault = false;                     // "stored" default for the ordinal kinds
  int64_t Default = 0;

  std::function<int64_t(TObject*)> GetOrd;                       // integer, boolean, enum, set
  std::function<void(TObject*, int64_t)> SetOrd;
  std::function<std::string(TObject*)> GetStr;                   // string
  std::function<void(TObject*, const std::string&)> SetStr;
  std::function<std::vector<std::string>(TObject*)> GetList;    // strings
  std::function<void(TObject*, const std::vector<std::string>&)> SetList;
  std::function<TObject*(TObject*)> GetObj;                      // object, component
  std::function<void(TObject*, TObject*)> SetObj;               // component (and optional object assign)
  std::function<void(TObject*, const std::any&)> SetEvent;      // event: std::function of the event's type
  std::function<bool(TObject*)> EventAssigned;
  std::function<void(TObject*, const TLayoutData&)> SetData;     // data
};

using TComponentFactory = std::function<TComponent*(TComponent* owner)>;

class TClassInfo {
public:
  TClassInfo(const char* name, const TClassInfo* parent, TComponentFactory factory,
             std::vector<TPropInfo> props);
  const std::string& Name() const { return FName; }
  const TClassInfo* Parent() const { return FParent; }
  bool InheritsFrom(const TClassInfo* other) const;
  bool InheritsFrom(const std::string& name) const;
  bool Creatable() const { return bool(FFactory); }
  TComponent* Create(TComponent* owner) const;
  // Own properties first-to-last, after the inherited ones; a redeclared name replaces the inherited entry.
  std::vector<const TPropInfo*> AllProps() const;
  const TPropInfo* FindProp(const std::string& name) const;  // case-insensitive, searches parents
  const std::vector<TPropInfo>& OwnProps() const { return FProps; }

  // Registry of classes that layouts may name.
  static void Register(const TClassInfo& info);
  static const TClassInfo* Find(const std::string& name);

private:
  std::string FName;
  const TClassInfo* FParent;
  TComponentFactory FFactory;
  std::vector<TPropInfo> FProps;
};

#define ORV_CLASS(Class)                                              \
public:                                                               \
  static const TClassInfo& StaticClassInfo();                         \
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

class TObject {
public:
  virtual ~TObject() = default;
  static const TClassInfo& StaticClassInfo();
  virtual const TClassInfo& ClassInfo() const { return StaticClassInfo(); }
  const std::string& ClassName() const { return ClassInfo().Name(); }
  bool InheritsFrom(const TClassInfo& cls) const { return ClassInfo().InheritsFrom(&cls); }
  bool InheritsFrom(const std::string& name) const { return ClassInfo().InheritsFrom(name); }
};

// Checked down-cast by class info (works like Delphi's "is"/"as").
template <class T>
T* As(TObject* obj) {
  return obj && obj->InheritsFrom(T::StaticClassInfo()) ? static_cast<T*>(obj) : nullptr;
}

class TPersistent : public TObject {
  ORV_CLASS(TPersistent)
public:
  // Copies another object's state. A class that does not know the source asks the source to copy itself
  // (AssignTo); raises when neither knows the other.
  virtual void Assign(TPersistent* source);
  // Receives "kind 'file'" from a layout for an object property (pictures, bitmaps).
  virtual void LoadFromLayoutData(const TLayoutData& data);
  // Name used in messages about this object (a component's Name, else the class).
  virtual std::string GetNamePath() const { return ClassName(); }

protected:
  // Copies this object's state into `dest`, whose Assign does not know this class; raises here.
  virtual void AssignTo(TPersistent* dest);
};

// ---- collections ----
// A list of items owned by a persistent object (a title bar's buttons). Layouts fill it as
//   Buttons = <
//     item
//       ButtonType = skClose
//     end>
class TCollection;

class TCollectionItem : public TPersistent {
  ORV_CLASS(TCollectionItem)
public:
  explicit TCollectionItem(TCollection* collection);
  ~TCollectionItem() override;
  TCollection* Collection() const { return FCollection; }
  int Index() const;
  std::string GetNamePath() const override;

protected:
  // Tells the collection that this item (or, with allItems, every item) changed.
  void Changed(bool allItems);

private:
  friend class TCollection;
  TCollection* FCollection;
};

class TCollection : public TPersistent {
  ORV_CLASS(TCollection)
public:
  using TItemFactory = std::function<TCollectionItem*(TCollection*)>;
  TCollection(TPersistent* owner, TItemFactory factory) : FOwner(owner), FFactory(std::move(factory)) {}
  ~TCollection() override;
  TPersistent* Owner() const { return FOwner; }
  int Count() const { return int(FItems.size()); }
  TCollectionItem* Items(int i) const { return FItems.at(size_t(i)); }
  TCollectionItem* Add();  // a new item of the collection's class at the end
  void Delete(int index);
  void Clear();
  int IndexOf(const TCollectionItem* item) const;
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  // Runs after items were added, removed or changed (item null: any number of them).
  virtual void Update(TCollectionItem* item) { (void)item; }
  std::string GetNamePath() const override;

private:
  friend class TCollectionItem;
  void Changed(TCollectionItem* item);
  TPersistent* FOwner;
  TItemFactory FFactory;
  std::vector<TCollectionItem*> FItems;
  int FUpdateCount = 0;
};

// ---- property access by name (the layout reader and the skin engine use these) ----
// Names may be dotted ("Font.Style"); each step must be an object property.
const TPropInfo* FindPropInfo(TObject* obj, const std::string& name);
bool HasProp(TObject* obj, const std::string& name);
// Value as text: numbers in decimal, identifiers for enums/booleans/idents, sets as [a,b],
// strings as they are, component references as the component's name.
std::string GetPropText(TObject* obj, const std::string& name);
void SetPropText(TObject* obj, const std::string& name, const std::string& value);
int64_t GetOrdProp(TObject* obj, const std::string& name);
void SetOrdProp(TObject* obj, const std::string& name, int64_t value);
TObject* GetObjectProp(TObject* obj, const std::string& name);
// Raise EPropertyError for unknown names (class and property named) or bad values.
// The same reads for code that must never raise (the skin engine inspects controls of any class):
// a missing property, one of another kind or an object that is null gives -1, an empty text or null.
int64_t SafeGetOrdProp(TObject* obj, const std::string& name);
std::string SafeGetPropText(TObject* obj, const std::string& name);
TObject* SafeGetObjectProp(TObject* obj, const std::string& name);
// Writes when the property exists and takes the value; false otherwise.
bool SafeSetPropText(TObject* obj, const std::string& name, const std::string& value);

// ---- helpers to declare properties (used in the class-info definitions) ----
template <class C>
TPropInfo IntProp(const char* name, int (C::*get)() const, void (C::*set)(int),
                  const TIdentMap* idents = nullptr) {
  TPropInfo p;
  p.Name = name;
  p.Kind = pkInteger;
  p.Idents = idents;
  p.GetOrd = [get](TObject* o) -> int64_t { return (static_cast<C*>(o)->*get)(); };
  if (set) p.SetOrd = [set](TObject* o, int64_t v) { (static_cast<C*>(o)->*set)(int(v)); };
  return p;
}

template <class C>
TPropInfo BoolProp(const char* name, bool (C::*get)() const, void (C::*set)(bool)) {
  TPropInfo p;
  p.Name = name;
  p.Kind = pkBoolean;
  p.EnumNames = {"False", "True"};
  p.GetOrd = [get](TObject* o) -> int64_t { return (static_cast<C*>(o)->*get)() ? 1 : 0; };
  if (set) p.SetOrd = [set](TObject* o, int64_t v) { (static_cast<C*>(o)->*set)(v != 0); };
  return p;
}

template <class C, class E>
TPropInfo EnumProp(const char* name, std::vector<std::string> names, E (C::*get)() const,
                   void (C::*set)(E)) {
  TPropInfo p;
  p.Name = name;
  p.Kind = pkEnum;
  p.EnumNames = std::move(names);
  p.GetOrd = [get](TObject* o) -> int64_t { return int64_t((static_cast<C*>(o)->*get)()); };
  if (set) p.SetOrd = [set](TObject* o, int64_t v) { (static_cast<C*>(o)->*set)(E(v)); };
  return p;
}

// Sets are unsigned bit masks: bit i stands for EnumNames[i].
template <class C>
TPropInfo SetProp(const char* name, std::vector<std::string> names, unsigned (C::*get)() const,
                  void (C::*set)(unsigned)) {
  TPropInfo p;
  p.Name = name;
  p.Kind = pkSet;
  p.EnumNames = std::move(names);
  p.GetOrd = [get](TObject* o) -> int64_t { return (static_cast<C*>(o)->*get)(); };
  if (set) p.SetOrd = [set](TObject* o, int64_t v) { (static_cast<C*>(o)->*set)(unsigned(v)); };
  return p;
}

template <class C>
TPropInfo StrProp(const char* name, std::string (C::*get)() const,
                  void (C::*set)(const std::string&)) {
  TPropInfo p;
  p.Name = name;
  p.Kind = pkString;
  p.GetStr = [get](TObject* o) { return (static_cast<C*>(o)->*get)(); };
  if (set) p.SetStr = [set](TObject* o, const std::string& v) { (static_cast<C*>(o)->*set)(v); };
  return p;
}

template <class C>
TPropInfo StringsProp(const char* name, std::vector<std::string> (C::*get)() const,
                      void (C::*set)(const std::vector<std::string>&)) {
  TPropInfo p;
  p.Name = name;
  p.Kind = pkStrings;
  p.GetList = [get](TObject* o) { return (static_cast<C*>(o)->*get)(); };
  if (set) p.SetList = [set](TObject* o, const std::vector<std::string>& v) { (static_cast<C*>(o)->*set)(v); };
  return p;
}

// Owned object filled in place (its setter, if given, assigns another object of the class).
template <class C, class T>
TPropInfo ObjProp(const char* name, T* (C::*get)() const, void (C::*set)(T*) = nullptr) {
  TPropInfo p;
  p.Name = name;
  p.Kind = pkObject;
  p.ObjectClass = &T::StaticClassInfo();
  p.GetObj = [get](TObject* o) -> TObject* { return (static_cast<C*>(o)->*get)(); };
  if (set)
    p.SetObj = [set](TObject* o, TObject* v) { (static_cast<C*>(o)->*set)(static_cast<T*>(v)); };
  return p;
}

// Reference to another component of the same layout.
template <class C, class T>
TPropInfo RefProp(const char* name, T* (C::*get)() const, void (C::*set)(T*)) {
  TPropInfo p;
  p.Name = name;
  p.Kind = pkComponent;
  p.ObjectClass = &T::StaticClassInfo();
  p.GetObj = [get](TObject* o) -> TObject* { return (static_cast<C*>(o)->*get)(); };
  p.SetObj = [set](TObject* o, TObject* v) { (static_cast<C*>(o)->*set)(static_cast<T*>(v)); };
  return p;
}

// Event stored in a std::function member; a bound handler must have exactly that type.
template <class C, class F>
TPropInfo EventProp(const char* name, F C::*member) {
  TPropInfo p;
  p.Name = name;
  p.Kind = pkEvent;
  p.SetEvent = [member, name](TObject* o, const std::any& h) {
    if (!h.has_value()) {
      static_cast<C*>(o)->*member = nullptr;
      return;
    }
    const F* f = std::any_cast<F>(&h);
    if (!f) throw EPropertyError(std::string("Handler for ") + name + " has the wrong parameters");
    static_cast<C*>(o)->*member = *f;
  };
  p.EventAssigned = [member](TObject* o) { return bool(static_cast<C*>(o)->*member); };
  return p;
}

template <class C>
TPropInfo DataProp(const char* name, void (C::*set)(const TLayoutData&)) {
  TPropInfo p;
  p.Name = name;
  p.Kind = pkData;
  p.SetData = [set](TObject* o, const TLayoutData& d) { (static_cast<C*>(o)->*set)(d); };
  return p;
}

template <class C>
TComponentFactory FactoryOf() {
  return [](TComponent* owner) -> TComponent* { return new C(owner); };
}

// Defines Class::StaticClassInfo() and registers the class by name.
//   ORV_DEFINE_CLASS(TButton, TButtonControl, FactoryOf<TButton>(), { ...props... })
#define ORV_DEFINE_CLASS(Class, Parent, Factory, ...)                                        \
  const TClassInfo& Class::StaticClassInfo() {                                               \
    static const TClassInfo info(#Class, &Parent::StaticClassInfo(), Factory, __VA_ARGS__);  \
    return info;                                                                             \
  }                                                                                          \
  static const bool Class##_registered = (TClassInfo::Register(Class::StaticClassInfo()), true);

// ---- TComponent ----
enum TComponentStateFlag : unsigned {
  csLoading = 1,
  csReading = 2,
  csDestroying = 4,
  csDesigning = 8,  // never set in this program; kept so code that tests it reads naturally
  csFreeNotification = 16
};
enum TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
  ORV_CLASS(TComponent)
public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;
  // Frees the component: runs BeforeDestruction (OnDestroy of forms) and deletes it.
  void Free();
  virtual void BeforeDestruction();

  TComponent* Owner() const { return FOwner; }
  int ComponentCount() const { return int(FComponents.size()); }
  TComponent* Components(int i) const { return FComponents.at(size_t(i)); }
  const std::vector<TComponent*>& ComponentList() const { return FComponents; }
  TComponent* FindComponent(const std::string& name) const;  // case-insensitive, owned only
  void InsertComponent(TComponent* c);
  void RemoveComponent(TComponent* c);
  void DestroyComponents();

  std::string GetName() const { return FName; }
  virtual void SetName(const std::string& name);  // validates the identifier and uniqueness in the owner
  int GetTag() const { return FTag; }
  void SetTag(int v) { FTag = v; }
  unsigned ComponentState() const { return FComponentState; }
  bool IsLoading() const { return FComponentState & csLoading; }
  bool IsDestroying() const { return FComponentState & csDestroying; }
  void SetLoading(bool on);  // the layout reader brackets reading with this

  // Called once after all properties of a layout were applied (csLoading is cleared first).
  virtual void Loaded();
  // The layout reader nests this component inside `parent`'s block (controls take it as parent).
  virtual void SetParentComponent(TComponent* parent) { (void)parent; }
  // A component this one refers to is inserted or removed.
  virtual void Notification(TComponent* component, TOperation op);
  // Asks for opRemove when `component` is destroyed, whoever owns it.
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);

  std::string GetNamePath() const override { return FName.empty() ? ClassName() : FName; }
  void MarkDestroying() { FComponentState |= csDestroying; }

protected:
  unsigned FComponentState = 0;

private:
  TComponent* FOwner = nullptr;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
  std::string FName;
  int FTag = 0;
};

bool IsValidIdent(const std::string& s);
bool SameTextCI(const std::string& a, const std::string& b);
