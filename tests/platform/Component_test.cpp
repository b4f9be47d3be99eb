// The component model and the property table: every published property of a probe class is set and
// read back by name; unknown names and bad values are reported with the class and property named.
#include <gtest/gtest.h>

#include "Controls.h"

namespace {

class TProbe : public TComponent {
  ORV_CLASS(TProbe)
public:
  explicit TProbe(TComponent* owner) : TComponent(owner), FFont(new TFont) {}
  ~TProbe() override { delete FFont; }
  int GetCount() const { return FCount; }
  void SetCount(int v) { FCount = v; }
  bool GetFlag() const { return FFlag; }
  void SetFlag(bool v) { FFlag = v; }
  TAlign GetAlign() const { return FAlign; }
  void SetAlign(TAlign v) { FAlign = v; }
  unsigned GetAnchors() const { return FAnchors; }
  void SetAnchors(unsigned v) { FAnchors = v; }
  std::string GetText() const { return FText; }
  void SetText(const std::string& v) { FText = v; }
  std::vector<std::string> GetItems() const { return FItems; }
  void SetItems(const std::vector<std::string>& v) { FItems = v; }
  TColor GetColor() const { return FColor; }
  void SetColor(TColor v) { FColor = v; }
  TFont* GetFont() const { return FFont; }
  TComponent* GetBuddy() const { return FBuddy; }
  void SetBuddy(TComponent* v) { FBuddy = v; }
  void SetBlob(const TLayoutData& d) { FBlob = d.Kind + ":" + d.Path; }
  std::string Blob() const { return FBlob; }
  TNotifyEvent OnPing;

private:
  int FCount = 0;
  bool FFlag = false;
  TAlign FAlign = alNone;
  unsigned FAnchors = 0;
  std::string FText;
  std::vector<std::string> FItems;
  TColor FColor = clBlack;
  TFont* FFont;
  TComponent* FBuddy = nullptr;
  std::string FBlob;
};

ORV_DEFINE_CLASS(TProbe, TComponent, FactoryOf<TProbe>(),
                 {IntProp<TProbe>("Count", &TProbe::GetCount, &TProbe::SetCount),
                  BoolProp<TProbe>("Flag", &TProbe::GetFlag, &TProbe::SetFlag),
                  EnumProp<TProbe, TAlign>("Align", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient", "alCustom"},
                                           &TProbe::GetAlign, &TProbe::SetAlign),
                  SetProp<TProbe>("Anchors", {"akLeft", "akTop", "akRight", "akBottom"}, &TProbe::GetAnchors, &TProbe::SetAnchors),
                  StrProp<TProbe>("Text", &TProbe::GetText, &TProbe::SetText),
                  StringsProp<TProbe>("Items", &TProbe::GetItems, &TProbe::SetItems),
                  IntProp<TProbe>("Color", &TProbe::GetColor, &TProbe::SetColor, &ColorIdents()),
                  ObjProp<TProbe, TFont>("Font", &TProbe::GetFont),
                  RefProp<TProbe, TComponent>("Buddy", &TProbe::GetBuddy, &TProbe::SetBuddy),
                  DataProp<TProbe>("Blob", &TProbe::SetBlob),
                  EventProp("OnPing", &TProbe::OnPing)})

struct TPropCase {
  const char* Name;
  const char* Value;
  const char* ReadBack;
};

// One row per text-settable published property (inherited ones included), and nested font ones.
const TPropCase kCases[] = {
    {"Name", "probe1", "probe1"},
    {"Tag", "-7", "-7"},
    {"Count", "42", "42"},
    {"Count", "$10", "16"},
    {"Flag", "True", "True"},
    {"Flag", "false", "False"},
    {"Align", "alClient", "alClient"},
    {"Anchors", "[akLeft, akBottom]", "[akLeft, akBottom]"},
    {"Anchors", "[]", "[]"},
    {"Text", "  spaced text ", "  spaced text "},
    {"Items", "one\r\ntwo", "one\r\ntwo\r\n"},
    {"Color", "clBtnFace", "clBtnFace"},
    {"Color", "$00FF00", "clLime"},
    {"Color", "1193046", "1193046"},
    {"Buddy", "other", "other"},
    {"Font.Name", "Tahoma", "Tahoma"},
    {"Font.Height", "-13", "-13"},
    {"Font.Style", "[fsBold, fsUnderline]", "[fsBold, fsUnderline]"},
    {"Font.Color", "clNavy", "clNavy"},
    {"font.charset", "ANSI_CHARSET", "ANSI_CHARSET"},
};

class PropertyByName : public ::testing::TestWithParam<TPropCase> {};

TEST_P(PropertyByName, SetsThroughTheSetterAndReadsBack) {
  TComponent owner(nullptr);
  auto* p = new TProbe(&owner);
  auto* other = new TProbe(&owner);
  other->SetName("other");
  SetPropText(p, GetParam().Name, GetParam().Value);
  EXPECT_EQ(GetPropText(p, GetParam().Name), GetParam().ReadBack);
}

INSTANTIATE_TEST_SUITE_P(AllKinds, PropertyByName, ::testing::ValuesIn(kCases));

TEST(PropertyTable, EveryPublishedPropertyIsCovered) {
  // Properties that take no text (events, data, objects) are covered by their own tests below.
  for (const TPropInfo* p : TProbe::StaticClassInfo().AllProps()) {
    if (p->Kind == pkEvent || p->Kind == pkData || p->Kind == pkObject) continue;
    bool found = false;
    for (const auto& c : kCases) found = found || SameTextCI(c.Name, p->Name);
    EXPECT_TRUE(found) << p->Name << " has no row in kCases";
  }
}

TEST(PropertyTable, UnknownPropertyIsReportedWithClassAndName) {
  TProbe p(nullptr);
  p.SetName("probeX");
  try {
    SetPropText(&p, "Colour", "1");
    FAIL() << "no error";
  } catch (const EPropertyError& e) {
    std::string m = e.what();
    EXPECT_NE(m.find("Colour"), std::string::npos) << m;
    EXPECT_NE(m.find("TProbe"), std::string::npos) << m;
  }
  EXPECT_THROW(GetPropText(&p, "Font.Weight"), EPropertyError);
  EXPECT_THROW(GetPropText(&p, "Nothing.Name"), EPropertyError);
  EXPECT_FALSE(HasProp(&p, "Colour"));
  EXPECT_TRUE(HasProp(&p, "font.style"));
}

struct TBadValue {
  const char* Name;
  const char* Value;
};
const TBadValue kBadValues[] = {{"Flag", "maybe"},      {"Align", "alSideways"}, {"Anchors", "[akLeft, akMiddle]"},
                                {"Count", "12abc"},     {"Color", "clPlaid"},    {"Buddy", "nobody"},
                                {"Name", "has space"},  {"Font", "x"},           {"OnPing", "x"}};

TEST(PropertyTable, BadValuesAreRejected) {
  TComponent owner(nullptr);
  auto* p = new TProbe(&owner);
  for (const auto& b : kBadValues) EXPECT_THROW(SetPropText(p, b.Name, b.Value), EPropertyError) << b.Name << "=" << b.Value;
  EXPECT_EQ(p->GetCount(), 0);
  EXPECT_FALSE(p->GetFlag());
}

TEST(PropertyTable, OrdinalAccessAndEvents) {
  TProbe p(nullptr);
  SetOrdProp(&p, "Align", alRight);
  EXPECT_EQ(GetOrdProp(&p, "Align"), alRight);
  EXPECT_EQ(p.GetAlign(), alRight);
  EXPECT_THROW(GetOrdProp(&p, "Text"), EPropertyError);
  EXPECT_EQ(GetObjectProp(&p, "Font"), p.GetFont());
  int pings = 0;
  const TPropInfo* ev = FindPropInfo(&p, "OnPing");
  ASSERT_NE(ev, nullptr);
  ev->SetEvent(&p, std::any(TNotifyEvent([&](TObject*) { ++pings; })));
  p.OnPing(&p);
  EXPECT_EQ(pings, 1);
  // A handler of another type is refused.
  EXPECT_THROW(ev->SetEvent(&p, std::any(std::function<void(int)>())), EPropertyError);
}

// Reads that never raise: a missing property, one of another kind, a missing step of a dotted name or a
// null object give -1, an empty text or null; present properties read as usual.
TEST(PropertyTable, SafeReadsAnswerForMissingProperties) {
  TProbe p(nullptr);
  p.SetCount(42);
  struct TCase {
    TObject* Obj;
    const char* Name;
    int64_t Ord;
    const char* Text;
    bool HasObject;
  };
  const TCase cases[] = {
      {&p, "Count", 42, "42", false},          {&p, "Nope", -1, "", false},
      {&p, "Text", -1, "", false},             {&p, "Font", -1, "TFont", true},
      {&p, "Font.Height", p.GetFont()->GetHeight(), nullptr, false},
      {&p, "Font.Nope", -1, "", false},        {&p, "Buddy.Tag", -1, "", false},
      {nullptr, "Count", -1, "", false},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(SafeGetOrdProp(c.Obj, c.Name), c.Ord) << c.Name;
    if (c.Text) { EXPECT_EQ(SafeGetPropText(c.Obj, c.Name), c.Text) << c.Name; }
    EXPECT_EQ(SafeGetObjectProp(c.Obj, c.Name) != nullptr, c.HasObject) << c.Name;
  }
  EXPECT_TRUE(SafeSetPropText(&p, "Count", "7"));
  EXPECT_EQ(p.GetCount(), 7);
  EXPECT_FALSE(SafeSetPropText(&p, "Count", "seven"));
  EXPECT_FALSE(SafeSetPropText(&p, "AutoScroll", "False"));
  EXPECT_FALSE(SafeSetPropText(nullptr, "Count", "1"));
  EXPECT_EQ(p.GetCount(), 7);
}

TEST(ClassInfo, IdentityAndRegistry) {
  TProbe p(nullptr);
  EXPECT_EQ(p.ClassName(), "TProbe");
  EXPECT_TRUE(p.InheritsFrom("TComponent"));
  EXPECT_TRUE(p.InheritsFrom(TPersistent::StaticClassInfo()));
  EXPECT_FALSE(p.InheritsFrom("TControl"));
  EXPECT_EQ(TClassInfo::Find("tprobe"), &TProbe::StaticClassInfo());
  TComponent* made = TClassInfo::Find("TProbe")->Create(nullptr);
  EXPECT_EQ(made->ClassName(), "TProbe");
  delete made;
  EXPECT_EQ(As<TControl>(&p), nullptr);
  EXPECT_EQ(As<TComponent>(&p), &p);
}

// Records the notifications it hears.
class TListener : public TComponent {
public:
  using TComponent::TComponent;
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    Heard.push_back((op == opInsert ? "+" : "-") + c->GetName());
  }
  std::vector<std::string> Heard;
};

TEST(Component, OwnerFreesOwnedAndNotifies) {
  auto* owner = new TListener(nullptr);
  auto* a = new TProbe(owner);
  a->SetName("a");
  auto* b = new TProbe(owner);
  b->SetName("b");
  EXPECT_EQ(owner->ComponentCount(), 2);
  EXPECT_EQ(owner->FindComponent("B"), b);
  EXPECT_THROW(b->SetName("A"), EPropertyError);  // names are unique within the owner, ignoring case
  b->Free();
  EXPECT_EQ(owner->ComponentCount(), 1);
  EXPECT_EQ(owner->Heard.back(), "-b");
  owner->Free();  // frees a too
}

TEST(Component, FreeNotificationAcrossOwners) {
  auto* watcher = new TListener(nullptr);
  auto* watched = new TProbe(nullptr);
  watched->SetName("watched");
  watcher->FreeNotification(watched);
  watched->Free();
  ASSERT_FALSE(watcher->Heard.empty());
  EXPECT_EQ(watcher->Heard.back(), "-watched");
  // Siblings hear about each other through their owner.
  auto* owner = new TComponent(nullptr);
  auto* l = new TListener(owner);
  auto* s = new TProbe(owner);
  s->SetName("sibling");
  s->Free();
  EXPECT_EQ(l->Heard.back(), "-sibling");
  owner->Free();
  watcher->Free();
}

TEST(Component, LoadingStateAndLoaded) {
  TProbe p(nullptr);
  EXPECT_FALSE(p.IsLoading());
  p.SetLoading(true);
  EXPECT_TRUE(p.ComponentState() & csLoading);
  p.SetLoading(false);
  EXPECT_FALSE(p.ComponentState() & csDesigning);
}

}  // namespace
