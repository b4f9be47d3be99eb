#include "Component.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

bool SameTextCI(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower((unsigned char)a[i]) != std::tolower((unsigned char)b[i])) return false;
  return true;
}

bool IsValidIdent(const std::string& s) {
  if (s.empty()) return false;
  if (!(std::isalpha((unsigned char)s[0]) || s[0] == '_')) return false;
  for (char c : s)
    if (!(std::isalnum((unsigned char)c) || c == '_')) return false;
  return true;
}

// ---- class info ----

namespace {
std::map<std::string, const TClassInfo*>& ClassRegistry() {
  static std::map<std::string, const TClassInfo*> r;
  return r;
}
std::string Lower(std::string s) {
  for (auto& c : s) c = char(std::tolower((unsigned char)c));
  return s;
}
}  // namespace

TClassInfo::TClassInfo(const char* name, const TClassInfo* parent, TComponentFactory factory,
                       std::vector<TPropInfo> props)
    : FName(name), FParent(parent), FFactory(std::move(factory)), FProps(std::move(props)) {}

bool TClassInfo::InheritsFrom(const TClassInfo* other) const {
  for (const TClassInfo* c = this; c; c = c->FParent)
    if (c == other) return true;
  return false;
}

bool TClassInfo::InheritsFrom(const std::string& name) const {
  for (const TClassInfo* c = this; c; c = c->FParent)
    if (SameTextCI(c->FName, name)) return true;
  return false;
}

TComponent* TClassInfo::Create(TComponent* owner) const {
  if (!FFactory) throw EPropertyError("Class " + FName + " cannot be created from a layout");
  return FFactory(owner);
}

std::vector<const TPropInfo*> TClassInfo::AllProps() const {
  std::vector<const TPropInfo*> out;
  if (FParent) out = FParent->AllProps();
  for (const auto& p : FProps) {
    auto it = std::find_if(out.begin(), out.end(),
                           [&](const TPropInfo* q) { return SameTextCI(q->Name, p.Name); });
    if (it != out.end())
      *it = &p;
    else
      out.push_back(&p);
  }
  return out;
}

const TPropInfo* TClassInfo::FindProp(const std::string& name) const {
  for (const TClassInfo* c = this; c; c = c->FParent)
    for (const auto& p : c->FProps)
      if (SameTextCI(p.Name, name)) return &p;
  return nullptr;
}

void TClassInfo::Register(const TClassInfo& info) { ClassRegistry()[Lower(info.Name())] = &info; }

const TClassInfo* TClassInfo::Find(const std::string& name) {
  auto& r = ClassRegistry();
  auto it = r.find(Lower(name));
  return it == r.end() ? nullptr : it->second;
}

const TClassInfo& TObject::StaticClassInfo() {
  static const TClassInfo info("TObject", nullptr, nullptr, {});
  return info;
}

ORV_DEFINE_CLASS(TPersistent, TObject, nullptr, {})

void TPersistent::Assign(TPersistent* source) {
  if (source) return source->AssignTo(this);
  throw EPropertyError("Cannot assign a nil to a " + ClassName());
}

void TPersistent::AssignTo(TPersistent* dest) {
  throw EPropertyError("Cannot assign a " + ClassName() + " to a " + (dest ? dest->ClassName() : std::string("nil")));
}

void TPersistent::LoadFromLayoutData(const TLayoutData& data) {
  throw EPropertyError("A " + ClassName() + " cannot be loaded from '" + data.Path + "'");
}

// ---- collections ----

ORV_DEFINE_CLASS(TCollectionItem, TPersistent, nullptr, {})
ORV_DEFINE_CLASS(TCollection, TPersistent, nullptr, {})

TCollectionItem::TCollectionItem(TCollection* collection) : FCollection(collection) {
  if (collection) collection->FItems.push_back(this);
}

TCollectionItem::~TCollectionItem() {
  if (!FCollection) return;
  auto& items = FCollection->FItems;
  items.erase(std::remove(items.begin(), items.end(), this), items.end());
  FCollection->Changed(nullptr);
}

int TCollectionItem::Index() const { return FCollection ? FCollection->IndexOf(this) : -1; }

std::string TCollectionItem::GetNamePath() const {
  return FCollection ? FCollection->GetNamePath() + "[" + std::to_string(Index()) + "]" : ClassName();
}

void TCollectionItem::Changed(bool allItems) {
  if (FCollection) FCollection->Changed(allItems ? nullptr : this);
}

TCollection::~TCollection() {
  FUpdateCount = 1;  // no updates while the items go
  Clear();
}

TCollectionItem* TCollection::Add() {
  TCollectionItem* item = FFactory(this);
  if (item->FCollection != this) {
    delete item;
    throw EPropertyError("The item does not belong to " + GetNamePath());
  }
  Changed(nullptr);
  return item;
}

void TCollection::Delete(int index) { delete FItems.at(size_t(index)); }

void TCollection::Clear() {
  if (FItems.empty()) return;
  BeginUpdate();
  while (!FItems.empty()) delete FItems.back();
  EndUpdate();
}

int TCollection::IndexOf(const TCollectionItem* item) const {
  auto it = std::find(FItems.begin(), FItems.end(), item);
  return it == FItems.end() ? -1 : int(it - FItems.begin());
}

void TCollection::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0) Changed(nullptr);
}

void TCollection::Changed(TCollectionItem* item) {
  if (FUpdateCount == 0) Update(item);
}

std::string TCollection::GetNamePath() const {
  return FOwner ? FOwner->GetNamePath() + "." + ClassName() : ClassName();
}

// ---- property access ----

namespace {

std::string UnknownProp(TObject* obj, const std::string& name) {
  std::string owner = obj ? obj->ClassName() : "nil";
  if (auto* p = dynamic_cast<TPersistent*>(obj)) owner = p->GetNamePath() + " (" + obj->ClassName() + ")";
  return "Property '" + name + "' does not exist in " + owner;
}

// Walks a dotted name to the object that holds the last part.
TObject* ResolveHolder(TObject* obj, const std::string& name, std::string& last) {
  size_t start = 0;
  for (;;) {
    size_t dot = name.find('.', start);
    if (dot == std::string::npos) {
      last = name.substr(start);
      return obj;
    }
    std::string part = name.substr(start, dot - start);
    if (!obj) throw EPropertyError(UnknownProp(obj, name));
    const TPropInfo* p = obj->ClassInfo().FindProp(part);
    if (!p || p->Kind != pkObject || !p->GetObj) throw EPropertyError(UnknownProp(obj, part));
    obj = p->GetObj(obj);
    if (!obj) throw EPropertyError("Property '" + part + "' holds no object");
    start = dot + 1;
  }
}

const TPropInfo& Need(TObject* holder, const std::string& last) {
  const TPropInfo* p = holder ? holder->ClassInfo().FindProp(last) : nullptr;
  if (!p) throw EPropertyError(UnknownProp(holder, last));
  return *p;
}

int EnumIndex(const TPropInfo& p, const std::string& ident) {
  for (size_t i = 0; i < p.EnumNames.size(); ++i)
    if (SameTextCI(p.EnumNames[i], ident)) return int(i);
  return -1;
}

bool ParseNumber(const std::string& s, int64_t& out) {
  if (s.empty()) return false;
  const char* b = s.c_str();
  char* e = nullptr;
  bool neg = false;
  if (*b == '-' || *b == '+') {
    neg = *b == '-';
    ++b;
  }
  int base = 10;
  if (*b == '$') {
    base = 16;
    ++b;
  } else if (b[0] == '0' && (b[1] == 'x' || b[1] == 'X')) {
    base = 16;
    b += 2;
  }
  if (!*b) return false;
  unsigned long long v = std::strtoull(b, &e, base);
  if (*e) return false;
  int64_t r = int64_t(v);
  // Hex literals such as $FF000000 are 32-bit colour values: keep them as signed 32-bit numbers.
  if (base == 16 && v <= 0xFFFFFFFFull) r = int64_t(int32_t(uint32_t(v)));
  out = neg ? -r : r;
  return true;
}

std::string Trimmed(const std::string& s) {
  size_t a = 0, b = s.size();
  while (a < b && std::isspace((unsigned char)s[a])) ++a;
  while (b > a && std::isspace((unsigned char)s[b - 1])) --b;
  return s.substr(a, b - a);
}

}  // namespace

const TPropInfo* FindPropInfo(TObject* obj, const std::string& name) {
  std::string last;
  TObject* holder = ResolveHolder(obj, name, last);
  return holder ? holder->ClassInfo().FindProp(last) : nullptr;
}

bool HasProp(TObject* obj, const std::string& name) {
  try {
    return FindPropInfo(obj, name) != nullptr;
  } catch (const EPropertyError&) {
    return false;
  }
}

namespace {
// Runs a property read or write; any error of the property system gives the fallback.
template <class T, class F>
T OrFallback(TObject* obj, T fallback, F access) {
  if (!obj) return fallback;
  try {
    return access();
  } catch (const Exception&) {
    return fallback;
  }
}
}  // namespace

int64_t SafeGetOrdProp(TObject* obj, const std::string& name) {
  return OrFallback<int64_t>(obj, -1, [&] { return GetOrdProp(obj, name); });
}

std::string SafeGetPropText(TObject* obj, const std::string& name) {
  return OrFallback<std::string>(obj, std::string(), [&] { return GetPropText(obj, name); });
}

TObject* SafeGetObjectProp(TObject* obj, const std::string& name) {
  return OrFallback<TObject*>(obj, nullptr, [&] { return GetObjectProp(obj, name); });
}

bool SafeSetPropText(TObject* obj, const std::string& name, const std::string& value) {
  return OrFallback<bool>(obj, false, [&] {
    SetPropText(obj, name, value);
    return true;
  });
}

std::string GetPropText(TObject* obj, const std::string& name) {
  std::string last;
  TObject* h = ResolveHolder(obj, name, last);
  const TPropInfo& p = Need(h, last);
  switch (p.Kind) {
    case pkInteger: {
      int64_t v = p.GetOrd(h);
      if (p.Idents)
        for (const auto& e : *p.Idents)
          if (e.Value == v) return e.Name;
      return std::to_string(v);
    }
    case pkBoolean:
    case pkEnum: {
      int64_t v = p.GetOrd(h);
      return v >= 0 && size_t(v) < p.EnumNames.size() ? p.EnumNames[size_t(v)] : std::to_string(v);
    }
    case pkSet: {
      uint64_t v = uint64_t(p.GetOrd(h));
      std::string r = "[";
      for (size_t i = 0; i < p.EnumNames.size(); ++i)
        if (v & (1ull << i)) {
          if (r.size() > 1) r += ", ";
          r += p.EnumNames[i];
        }
      return r + "]";
    }
    case pkString:
      return p.GetStr(h);
    case pkStrings: {
      std::string r;
      for (const auto& s : p.GetList(h)) r += s + "\r\n";
      return r;
    }
    case pkComponent: {
      auto* c = dynamic_cast<TComponent*>(p.GetObj(h));
      return c ? c->GetName() : std::string();
    }
    case pkObject: {
      TObject* o = p.GetObj(h);
      return o ? o->ClassName() : std::string();
    }
    case pkEvent:
      return p.EventAssigned && p.EventAssigned(h) ? "(assigned)" : std::string();
    case pkData:
      return std::string();
  }
  return std::string();
}

void SetPropText(TObject* obj, const std::string& name, const std::string& value) {
  std::string last;
  TObject* h = ResolveHolder(obj, name, last);
  const TPropInfo& p = Need(h, last);
  auto readOnly = [&]() { return EPropertyError("Property '" + name + "' is read-only"); };
  auto bad = [&]() {
    return EPropertyError("'" + value + "' is not a valid value for property '" + name + "' of " +
                          h->ClassName());
  };
  std::string v = Trimmed(value);
  switch (p.Kind) {
    case pkInteger: {
      if (!p.SetOrd) throw readOnly();
      int64_t n;
      if (!ParseNumber(v, n)) {
        bool found = false;
        if (p.Idents)
          for (const auto& e : *p.Idents)
            if (SameTextCI(e.Name, v)) {
              n = e.Value;
              found = true;
              break;
            }
        if (!found) throw bad();
      }
      p.SetOrd(h, n);
      return;
    }
    case pkBoolean:
    case pkEnum: {
      if (!p.SetOrd) throw readOnly();
      int i = EnumIndex(p, v);
      int64_t n;
      if (i < 0) {
        if (!ParseNumber(v, n) || n < 0 || size_t(n) >= p.EnumNames.size()) throw bad();
        i = int(n);
      }
      p.SetOrd(h, i);
      return;
    }
    case pkSet: {
      if (!p.SetOrd) throw readOnly();
      std::string s = v;
      if (!s.empty() && s.front() == '[') s.erase(0, 1);
      if (!s.empty() && s.back() == ']') s.pop_back();
      uint64_t mask = 0;
      size_t start = 0;
      while (start <= s.size()) {
        size_t comma = s.find(',', start);
        std::string item = Trimmed(s.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (!item.empty()) {
          int i = EnumIndex(p, item);
          if (i < 0) throw bad();
          mask |= 1ull << i;
        }
        if (comma == std::string::npos) break;
        start = comma + 1;
      }
      p.SetOrd(h, int64_t(mask));
      return;
    }
    case pkString:
      if (!p.SetStr) throw readOnly();
      p.SetStr(h, value);
      return;
    case pkStrings: {
      if (!p.SetList) throw readOnly();
      std::vector<std::string> items;
      size_t start = 0;
      while (start < value.size()) {
        size_t eol = value.find('\n', start);
        std::string line = value.substr(start, eol == std::string::npos ? std::string::npos : eol - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        items.push_back(line);
        if (eol == std::string::npos) break;
        start = eol + 1;
      }
      p.SetList(h, items);
      return;
    }
    case pkComponent: {
      if (!p.SetObj) throw readOnly();
      if (v.empty() || SameTextCI(v, "nil")) {
        p.SetObj(h, nullptr);
        return;
      }
      // Look the name up in the owners' chain of the object that holds the property.
      TComponent* found = nullptr;
      for (auto* c = dynamic_cast<TComponent*>(h); c && !found; c = c->Owner())
        found = c->FindComponent(v);
      if (!found) throw EPropertyError("Component '" + v + "' not found for property '" + name + "'");
      if (p.ObjectClass && !found->InheritsFrom(*p.ObjectClass))
        throw EPropertyError("Component '" + v + "' is not a " + p.ObjectClass->Name());
      p.SetObj(h, found);
      return;
    }
    case pkObject:
    case pkEvent:
    case pkData:
      throw EPropertyError("Property '" + name + "' cannot be set from text");
  }
}

int64_t GetOrdProp(TObject* obj, const std::string& name) {
  std::string last;
  TObject* h = ResolveHolder(obj, name, last);
  const TPropInfo& p = Need(h, last);
  if (!p.GetOrd) throw EPropertyError("Property '" + name + "' is not ordinal");
  return p.GetOrd(h);
}

void SetOrdProp(TObject* obj, const std::string& name, int64_t value) {
  std::string last;
  TObject* h = ResolveHolder(obj, name, last);
  const TPropInfo& p = Need(h, last);
  if (!p.SetOrd) throw EPropertyError("Property '" + name + "' is not a writable ordinal property");
  p.SetOrd(h, value);
}

TObject* GetObjectProp(TObject* obj, const std::string& name) {
  std::string last;
  TObject* h = ResolveHolder(obj, name, last);
  const TPropInfo& p = Need(h, last);
  if (!p.GetObj) throw EPropertyError("Property '" + name + "' is not an object property");
  return p.GetObj(h);
}

// ---- TComponent ----

ORV_DEFINE_CLASS(TComponent, TPersistent, nullptr,
                 {StrProp<TComponent>("Name", &TComponent::GetName, &TComponent::SetName),
                  IntProp<TComponent>("Tag", &TComponent::GetTag, &TComponent::SetTag)})

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  FComponentState |= csDestroying;
  // Tell everyone who asked that this component goes away.
  auto notifies = FFreeNotifies;
  FFreeNotifies.clear();
  for (TComponent* c : notifies) {
    auto& back = c->FFreeNotifies;
    back.erase(std::remove(back.begin(), back.end(), this), back.end());
    c->Notification(this, opRemove);
  }
  DestroyComponents();
  if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::Free() {
  if (FComponentState & csDestroying) return;
  BeforeDestruction();
  delete this;
}

void TComponent::BeforeDestruction() { FComponentState |= csDestroying; }

void TComponent::DestroyComponents() {
  while (!FComponents.empty()) {
    TComponent* c = FComponents.back();
    FComponents.pop_back();
    c->FOwner = nullptr;
    Notification(c, opRemove);
    c->Free();
  }
}

TComponent* TComponent::FindComponent(const std::string& name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : FComponents)
    if (SameTextCI(c->FName, name)) return c;
  return nullptr;
}

void TComponent::InsertComponent(TComponent* c) {
  if (c->FOwner) c->FOwner->RemoveComponent(c);
  if (!c->FName.empty() && FindComponent(c->FName))
    throw EPropertyError("A component named " + c->FName + " already exists");
  FComponents.push_back(c);
  c->FOwner = this;
  Notification(c, opInsert);
}

void TComponent::RemoveComponent(TComponent* c) {
  auto it = std::find(FComponents.begin(), FComponents.end(), c);
  if (it == FComponents.end()) return;
  FComponents.erase(it);
  c->FOwner = nullptr;
  if (!(FComponentState & csDestroying)) Notification(c, opRemove);
}

void TComponent::SetName(const std::string& name) {
  if (name == FName) return;
  if (!name.empty() && !IsValidIdent(name)) throw EPropertyError("'" + name + "' is not a valid component name");
  if (FOwner && !name.empty()) {
    TComponent* other = FOwner->FindComponent(name);
    if (other && other != this) throw EPropertyError("A component named " + name + " already exists");
  }
  FName = name;
}

void TComponent::SetLoading(bool on) {
  if (on)
    FComponentState |= csLoading | csReading;
  else
    FComponentState &= ~unsigned(csLoading | csReading);
}

void TComponent::Loaded() {}

// Owned components hear about inserts and removals in their owner (a sibling reference is cleared this way).
void TComponent::Notification(TComponent* component, TOperation op) {
  if (op == opRemove && component) RemoveFreeNotification(component);
  auto owned = FComponents;
  for (TComponent* c : owned)
    if (c != component) c->Notification(component, op);
}

void TComponent::FreeNotification(TComponent* component) {
  if (!component || component == this) return;
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component) == FFreeNotifies.end())
    FFreeNotifies.push_back(component);
  auto& back = component->FFreeNotifies;
  if (std::find(back.begin(), back.end(), this) == back.end()) back.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  FFreeNotifies.erase(std::remove(FFreeNotifies.begin(), FFreeNotifies.end(), component), FFreeNotifies.end());
  if (component) {
    auto& back = component->FFreeNotifies;
    back.erase(std::remove(back.begin(), back.end(), this), back.end());
  }
}
