#include "Layout.h"

#include <cctype>
#include <fstream>
#include <iterator>

#include "Controls.h"
#include "Resources.h"

// ---- binder ----

const std::any* TLayoutBinder::FindHandler(const std::string& name) const {
  for (const auto& h : FHandlers)
    if (SameTextCI(h.Name, name)) return &h.Fn;
  return nullptr;
}

void TLayoutBinder::BindFields(TComponent* root, const std::string& layoutName) const {
  for (const auto& f : FFields) {
    TComponent* c = SameTextCI(root->GetName(), f.Name) ? root : root->FindComponent(f.Name);
    if (!c) throw EPropertyError(layoutName + ": component '" + f.Name + "' is missing from the layout");
    if (!c->InheritsFrom(*f.Class))
      throw EPropertyError(layoutName + ": component '" + f.Name + "' is a " + c->ClassName() + ", not a " +
                           f.Class->Name());
    f.Set(c);
  }
}

// ---- sources ----

namespace {
TLayoutSource gSource;
}

void SetLayoutSource(TLayoutSource source) { gSource = std::move(source); }

TLayoutSource FolderLayoutSource(const std::string& folder) {
  return [folder](const std::string& name) {
    std::string path = folder + "\\" + name;
    std::ifstream f(path, std::ios::binary);
    if (!f) throw EPropertyError("Layout file \"" + path + "\" not found");
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
  };
}

std::vector<uint8_t> ReadLayoutFile(const std::string& name) {
  if (gSource) return gSource(name);
  return EmbeddedFileBytes(name);
}

// ---- reader ----

namespace {

enum TTokenKind { tkEnd, tkIdent, tkString, tkNumber, tkSymbol };

struct TToken {
  TTokenKind Kind = tkEnd;
  std::string Text;
  int Line = 0;
};

class TLexer {
public:
  TLexer(const std::string& text, const std::string& file) : File(file), S(text) { Next(); }
  const std::string File;
  TToken Tok;

  [[noreturn]] void Fail(const std::string& msg) const { throw ELayoutError(File, Tok.Line, msg); }

  void Next() {
    SkipSpace();
    Tok = TToken();
    Tok.Line = Line;
    if (P >= S.size()) return;
    char c = S[P];
    if (std::isalpha((unsigned char)c) || c == '_' || (c == '$' && P + 1 < S.size() && !std::isxdigit((unsigned char)S[P + 1]))) {
      size_t b = P;
      while (P < S.size() && (std::isalnum((unsigned char)S[P]) || S[P] == '_' || S[P] == '.' || S[P] == '$')) ++P;
      Tok.Kind = tkIdent;
      Tok.Text = S.substr(b, P - b);
      return;
    }
    if (std::isdigit((unsigned char)c) || c == '-' || c == '$') {
      size_t b = P++;
      if (c == '$')
        while (P < S.size() && std::isxdigit((unsigned char)S[P])) ++P;
      else
        while (P < S.size() && (std::isdigit((unsigned char)S[P]) || S[P] == '.')) ++P;
      Tok.Kind = tkNumber;
      Tok.Text = S.substr(b, P - b);
      if (Tok.Text == "-") Fail("Number expected");
      return;
    }
    if (c == '\'' || c == '#') {
      Tok.Kind = tkString;
      Tok.Text = ReadString();
      return;
    }
    Tok.Kind = tkSymbol;
    Tok.Text = std::string(1, c);
    ++P;
  }

  bool IsSymbol(char c) const { return Tok.Kind == tkSymbol && Tok.Text[0] == c; }
  bool IsWord(const char* w) const { return Tok.Kind == tkIdent && SameTextCI(Tok.Text, w); }
  void Expect(char c) {
    if (!IsSymbol(c)) Fail(std::string("'") + c + "' expected");
    Next();
  }
  std::string ExpectIdent() {
    if (Tok.Kind != tkIdent) Fail("Identifier expected");
    std::string t = Tok.Text;
    Next();
    return t;
  }
  std::string ExpectString() {
    if (Tok.Kind != tkString) Fail("Text in quotes expected");
    std::string t = Tok.Text;
    Next();
    return t;
  }

private:
  void SkipSpace() {
    for (;;) {
      while (P < S.size() && std::isspace((unsigned char)S[P])) {
        if (S[P] == '\n') ++Line;
        ++P;
      }
      if (P + 1 < S.size() && S[P] == '/' && S[P + 1] == '/') {
        while (P < S.size() && S[P] != '\n') ++P;
        continue;
      }
      break;
    }
  }
  // 'it''s'#13#10'next' + 'more'
  std::string ReadString() {
    std::string out;
    for (;;) {
      if (P < S.size() && S[P] == '\'') {
        ++P;
        for (;;) {
          if (P >= S.size() || S[P] == '\n') throw ELayoutError(File, Line, "Unterminated text");
          if (S[P] == '\'') {
            if (P + 1 < S.size() && S[P + 1] == '\'') {
              out += '\'';
              P += 2;
              continue;
            }
            ++P;
            break;
          }
          out += S[P++];
        }
      } else if (P < S.size() && S[P] == '#') {
        ++P;
        size_t b = P;
        while (P < S.size() && std::isdigit((unsigned char)S[P])) ++P;
        if (b == P) throw ELayoutError(File, Line, "Character code expected after #");
        out += char(std::stoi(S.substr(b, P - b)));
      } else {
        // A '+' joins texts across lines.
        size_t save = P;
        int saveLine = Line;
        SkipSpace();
        if (P < S.size() && S[P] == '+') {
          ++P;
          SkipSpace();
          if (P < S.size() && (S[P] == '\'' || S[P] == '#')) continue;
        }
        P = save;
        Line = saveLine;
        break;
      }
    }
    return out;
  }

  const std::string& S;
  size_t P = 0;
  int Line = 1;
};

enum TValueKind { vkNumber, vkString, vkIdent, vkSet, vkList, vkData };
struct TValue {
  TValueKind Kind;
  std::string Text;                // number, string, identifier; set as "[a, b]"
  std::vector<std::string> Items;  // list
  std::string DataKind, DataPath;  // data
};

struct TFixup {
  TObject* Holder;
  std::string Prop;
  std::string Name;
  std::string File;
  int Line;
};

class TReader {
public:
  TReader(TComponent* root, const TLayoutBinder& binder) : Root(root), Binder(binder) {}

  void ReadFile(const std::string& text, const std::string& file, bool isGroup, TComponent* parent,
                const std::string& suffix) {
    TLexer lx(text, file);
    if (!isGroup && lx.IsWord("base")) {
      lx.Next();
      std::string base = lx.ExpectString();
      ReadNamed(base, false, nullptr, suffix);
    }
    if (isGroup) {
      while (lx.Tok.Kind != tkEnd) ReadObject(lx, parent, suffix, false);
    } else {
      ReadObject(lx, nullptr, suffix, true);
      if (lx.Tok.Kind != tkEnd) lx.Fail("Text after the end of the layout");
    }
  }

  void ReadNamed(const std::string& name, bool isGroup, TComponent* parent, const std::string& suffix) {
    auto bytes = ReadLayoutFile(name);
    std::string text(bytes.begin(), bytes.end());
    ReadFile(text, name, isGroup, parent, suffix);
  }

  void Finish() {
    for (const auto& f : Fixups) {
      try {
        SetPropText(f.Holder, f.Prop, f.Name);
      } catch (const ELayoutError&) {
        throw;
      } catch (const std::exception& e) {
        throw ELayoutError(f.File, f.Line, e.what());
      }
    }
    for (TComponent* c : Loaded) c->SetLoading(false);
    for (TComponent* c : Loaded) c->Loaded();
    if (auto* w = dynamic_cast<TWinControl*>(Root)) w->AlignLoadedTree();
  }

  std::vector<TComponent*> Loaded;

private:
  static std::string Suffixed(const std::string& name, const std::string& suffix) {
    std::string r;
    for (char c : name)
      if (c == '$')
        r += suffix;
      else
        r += c;
    return r;
  }

  void Track(TComponent* c) {
    for (TComponent* x : Loaded)
      if (x == c) return;
    c->SetLoading(true);
    Loaded.push_back(c);
  }

  void ReadObject(TLexer& lx, TComponent* parent, const std::string& suffix, bool isRoot) {
    int line = lx.Tok.Line;
    bool inherited = lx.IsWord("inherited");
    if (!inherited && !lx.IsWord("object")) lx.Fail("'object' expected");
    lx.Next();
    std::string name = Suffixed(lx.ExpectIdent(), suffix);
    lx.Expect(':');
    std::string className = lx.ExpectIdent();
    TComponent* obj = nullptr;
    if (isRoot) {
      if (!Root->InheritsFrom(className))
        throw ELayoutError(lx.File, line, "The layout is for " + className + ", not for " + Root->ClassName());
      obj = Root;
      Track(Root);
      SetRootName(name);  // the derived layout's name wins over its base's
    } else if (inherited) {
      obj = SameTextCI(Root->GetName(), name) ? Root : Root->FindComponent(name);
      if (!obj) throw ELayoutError(lx.File, line, "Inherited component '" + name + "' does not exist");
      if (!obj->InheritsFrom(className))
        throw ELayoutError(lx.File, line, "Component '" + name + "' is a " + obj->ClassName() + ", not a " + className);
      Track(obj);
    } else {
      const TClassInfo* cls = TClassInfo::Find(className);
      if (!cls) throw ELayoutError(lx.File, line, "Class " + className + " not found");
      try {
        obj = cls->Create(Root);
        Track(obj);
        obj->SetName(name);
        if (parent) obj->SetParentComponent(parent);
      } catch (const ELayoutError&) {
        throw;
      } catch (const std::exception& e) {
        throw ELayoutError(lx.File, line, e.what());
      }
    }
    while (!lx.IsWord("end")) {
      if (lx.Tok.Kind == tkEnd) lx.Fail("'end' expected for " + name);
      if (lx.IsWord("object") || lx.IsWord("inherited")) {
        ReadObject(lx, obj, suffix, false);
      } else if (lx.IsWord("include")) {
        int incLine = lx.Tok.Line;
        lx.Next();
        std::string file = lx.ExpectString();
        std::string incSuffix;
        if (lx.IsWord("suffix")) {
          lx.Next();
          incSuffix = lx.ExpectString();
        }
        try {
          ReadNamed(file, true, obj, incSuffix);
        } catch (const ELayoutError&) {
          throw;
        } catch (const std::exception& e) {
          throw ELayoutError(lx.File, incLine, e.what());
        }
      } else {
        ReadProperty(lx, obj, suffix);
      }
    }
    lx.Next();
  }

  void SetRootName(const std::string& name) {
    // A second window of the same class under the same owner gets a numbered name.
    std::string n = name;
    for (int i = 1; Root->Owner(); ++i) {
      TComponent* other = Root->Owner()->FindComponent(n);
      if (!other || other == Root) break;
      n = name + "_" + std::to_string(i);
    }
    Root->SetName(n);
  }

  TValue ReadValue(TLexer& lx) {
    TValue v;
    switch (lx.Tok.Kind) {
      case tkNumber:
        v.Kind = vkNumber;
        v.Text = lx.Tok.Text;
        lx.Next();
        return v;
      case tkString:
        v.Kind = vkString;
        v.Text = lx.Tok.Text;
        lx.Next();
        return v;
      case tkIdent:
        v.Text = lx.Tok.Text;
        lx.Next();
        if (lx.Tok.Kind == tkString) {
          v.Kind = vkData;
          v.DataKind = v.Text;
          v.DataPath = lx.Tok.Text;
          lx.Next();
        } else {
          v.Kind = vkIdent;
        }
        return v;
      case tkSymbol:
        if (lx.IsSymbol('[')) {
          lx.Next();
          v.Kind = vkSet;
          v.Text = "[";
          while (!lx.IsSymbol(']')) {
            if (v.Text.size() > 1) {
              lx.Expect(',');
              v.Text += ", ";
            }
            v.Text += lx.ExpectIdent();
          }
          lx.Next();
          v.Text += "]";
          return v;
        }
        if (lx.IsSymbol('(')) {
          lx.Next();
          v.Kind = vkList;
          while (!lx.IsSymbol(')')) v.Items.push_back(lx.ExpectString());
          lx.Next();
          return v;
        }
        break;
      case tkEnd:
        break;
    }
    lx.Fail("Value expected");
  }

  void ReadProperty(TLexer& lx, TObject* obj, const std::string& suffix) {
    int line = lx.Tok.Line;
    std::string prop = lx.ExpectIdent();
    lx.Expect('=');
    if (lx.IsSymbol('<')) {
      ReadCollection(lx, obj, prop, suffix, line);
      return;
    }
    TValue v = ReadValue(lx);
    try {
      ApplyProperty(obj, prop, v, suffix, lx.File, line);
    } catch (const ELayoutError&) {
      throw;
    } catch (const std::exception& e) {
      throw ELayoutError(lx.File, line, e.what());
    }
  }

  // < item Prop = value ... end item ... end >: the collection is emptied, then one item is added per block.
  void ReadCollection(TLexer& lx, TObject* obj, const std::string& prop, const std::string& suffix, int line) {
    TCollection* collection = nullptr;
    try {
      const TPropInfo* p = FindPropInfo(obj, prop);
      if (!p || p->Kind != pkObject) throw EPropertyError("Property '" + prop + "' does not hold a collection");
      collection = As<TCollection>(GetObjectProp(obj, prop));
      if (!collection) throw EPropertyError("Property '" + prop + "' does not hold a collection");
      collection->Clear();
    } catch (const ELayoutError&) {
      throw;
    } catch (const std::exception& e) {
      throw ELayoutError(lx.File, line, e.what());
    }
    lx.Next();
    while (!lx.IsSymbol('>')) {
      if (!lx.IsWord("item")) lx.Fail("'item' or '>' expected");
      int itemLine = lx.Tok.Line;
      lx.Next();
      TCollectionItem* item;
      try {
        item = collection->Add();
      } catch (const std::exception& e) {
        throw ELayoutError(lx.File, itemLine, e.what());
      }
      while (!lx.IsWord("end")) {
        if (lx.Tok.Kind == tkEnd) lx.Fail("'end' expected for an item of " + prop);
        ReadProperty(lx, item, suffix);
      }
      lx.Next();
    }
    lx.Next();
  }

  void ApplyProperty(TObject* obj, const std::string& prop, const TValue& v, const std::string& suffix,
                     const std::string& file, int line) {
    const TPropInfo* p = FindPropInfo(obj, prop);
    if (!p) {
      auto* c = dynamic_cast<TComponent*>(obj);
      auto* per = dynamic_cast<TPersistent*>(obj);
      std::string who = c ? c->GetName() + " (" + c->ClassName() + ")" : per ? per->GetNamePath() : obj->ClassName();
      throw EPropertyError("Property '" + prop + "' does not exist in " + who);
    }
    // The object that holds the last part of a dotted name.
    TObject* holder = obj;
    size_t dot = prop.find_last_of('.');
    if (dot != std::string::npos) holder = GetObjectProp(obj, prop.substr(0, dot));
    switch (p->Kind) {
      case pkEvent: {
        if (v.Kind != vkIdent) throw EPropertyError("A handler name is expected for " + prop);
        std::string handler = Suffixed(v.Text, suffix);
        if (SameTextCI(handler, "nil")) {
          p->SetEvent(holder, std::any());
          return;
        }
        const std::any* h = Binder.FindHandler(handler);
        if (!h) throw EPropertyError("Handler '" + handler + "' for " + prop + " not found");
        p->SetEvent(holder, *h);
        return;
      }
      case pkComponent:
        if (v.Kind != vkIdent) throw EPropertyError("A component name is expected for " + prop);
        Fixups.push_back({obj, prop, Suffixed(v.Text, suffix), file, line});
        return;
      case pkObject: {
        if (v.Kind != vkData) throw EPropertyError("A file is expected for " + prop + " (for example: png 'file')");
        auto* o = dynamic_cast<TPersistent*>(p->GetObj(holder));
        if (!o) throw EPropertyError("Property " + prop + " holds no object");
        o->LoadFromLayoutData(TLayoutData{v.DataKind, v.DataPath, ReadLayoutFile(v.DataPath)});
        return;
      }
      case pkData:
        if (v.Kind != vkData) throw EPropertyError("A file is expected for " + prop + " (for example: bmp 'file')");
        p->SetData(holder, TLayoutData{v.DataKind, v.DataPath, ReadLayoutFile(v.DataPath)});
        return;
      case pkStrings:
        if (v.Kind != vkList) throw EPropertyError("A list of texts ('a' 'b') is expected for " + prop);
        p->SetList(holder, v.Items);
        return;
      default:
        if (v.Kind == vkList || v.Kind == vkData) throw EPropertyError("A single value is expected for " + prop);
        SetPropText(obj, prop, v.Text);
    }
  }

  TComponent* Root;
  const TLayoutBinder& Binder;
  std::vector<TFixup> Fixups;
};

}  // namespace

void ReadLayoutText(TComponent* root, const std::string& text, const std::string& fileName,
                    const TLayoutBinder& binder) {
  TReader r(root, binder);
  try {
    r.ReadFile(text, fileName, false, nullptr, std::string());
    r.Finish();
  } catch (...) {
    for (TComponent* c : r.Loaded) c->SetLoading(false);
    throw;
  }
}

void ReadLayout(TComponent* root, const std::string& layoutName, const TLayoutBinder& binder) {
  auto bytes = ReadLayoutFile(layoutName);
  ReadLayoutText(root, std::string(bytes.begin(), bytes.end()), layoutName, binder);
}
