// The layout reader: inherited layouts, included groups with a name suffix, handlers and references
// bound by name, pictures from files, and errors that name the file and line.
#include <gtest/gtest.h>

#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"

namespace {

class TfrmBaseDialog : public TForm {
  ORV_CLASS(TfrmBaseDialog)
public:
  explicit TfrmBaseDialog(TComponent* owner) : TForm(owner) {}
  TButton* btnSave = nullptr;
  std::vector<std::string> Log;
  void btnSaveClick(TObject*) { Log.push_back("save"); }

protected:
  void DeclareLayout(TLayoutBinder& b) override {
    b.Field("btnSave", btnSave);
    b.Handler("btnSaveClick", this, &TfrmBaseDialog::btnSaveClick);
  }
};
ORV_DEFINE_CLASS(TfrmBaseDialog, TForm, nullptr, {})

class TfrmDerivedDialog : public TfrmBaseDialog {
  ORV_CLASS(TfrmDerivedDialog)
public:
  explicit TfrmDerivedDialog(TComponent* owner) : TfrmBaseDialog(owner) { InitLayout(); }
  TPanel *grpMp3 = nullptr, *grpAac = nullptr, *pnlPages = nullptr;
  TEdit *edtBitrateMp3 = nullptr, *edtBitrateAac = nullptr;
  TLabel* lblBitrateMp3 = nullptr;
  TImage *imgLogo = nullptr, *imgByClass = nullptr;
  void edtBitrateMp3Change(TObject*) { Log.push_back("mp3 change"); }
  void edtBitrateAacChange(TObject*) { Log.push_back("aac change"); }

protected:
  void DeclareLayout(TLayoutBinder& b) override {
    TfrmBaseDialog::DeclareLayout(b);
    b.Field("grpMp3", grpMp3);
    b.Field("grpAac", grpAac);
    b.Field("pnlPages", pnlPages);
    b.Field("edtBitrateMp3", edtBitrateMp3);
    b.Field("edtBitrateAac", edtBitrateAac);
    b.Field("lblBitrateMp3", lblBitrateMp3);
    b.Field("imgLogo", imgLogo);
    b.Field("imgByClass", imgByClass);
    b.Handler("edtBitrateMp3Change", this, &TfrmDerivedDialog::edtBitrateMp3Change);
    b.Handler("edtBitrateAacChange", this, &TfrmDerivedDialog::edtBitrateAacChange);
  }
};
ORV_DEFINE_CLASS(TfrmDerivedDialog, TfrmBaseDialog, nullptr, {})

class LayoutReader : public ::testing::Test {
protected:
  void SetUp() override { SetLayoutSource(FolderLayoutSource(ORV_TEST_DATA_DIR)); }
  void TearDown() override { SetLayoutSource(nullptr); }
};

TEST_F(LayoutReader, InheritedLayoutIncludedGroupsAndPictures) {
  auto* f = new TfrmDerivedDialog(Application);
  EXPECT_EQ(f->GetName(), "frmDerivedDialog");
  EXPECT_EQ(f->GetCaption(), "Derived window\r\nsecond line");
  EXPECT_EQ(f->GetBorderStyle(), bsDialog);  // from the base layout
  EXPECT_EQ(f->GetClientWidth(), 300);
  EXPECT_EQ(f->GetClientHeight(), 200);
  EXPECT_EQ(f->btnSave->GetCaption(), "Keep");  // changed by the derived layout
  EXPECT_TRUE(f->btnSave->GetDefault());
  f->btnSave->Click();
  EXPECT_EQ(f->Log, std::vector<std::string>{"save"});
  EXPECT_EQ(f->GetModalResult(), mrOk);

  // The group was written once and included twice.
  EXPECT_EQ(f->grpMp3->GetParent(), f->pnlPages);
  EXPECT_EQ(f->edtBitrateMp3->GetParent(), f->grpMp3);
  EXPECT_EQ(f->edtBitrateAac->GetParent(), f->grpAac);
  EXPECT_EQ(f->lblBitrateMp3->GetFocusControl(), f->edtBitrateMp3);
  EXPECT_EQ(f->grpAac->GetTop(), 80);
  EXPECT_EQ(f->grpMp3->GetTop(), 8);
  f->edtBitrateAac->Change();
  f->edtBitrateMp3->Change();
  EXPECT_EQ(f->Log, (std::vector<std::string>{"save", "aac change", "mp3 change"}));

  // Aligned: the pages fill what the bottom panel leaves.
  EXPECT_EQ(f->pnlPages->GetHeight(), 160);
  EXPECT_EQ(f->pnlPages->GetWidth(), 300);

  // Pictures by file extension and by graphic class; AutoSize takes the picture's size.
  ASSERT_TRUE(f->imgLogo->GetPicture()->HasGraphic());
  EXPECT_EQ(f->imgLogo->GetWidth(), 4);
  EXPECT_EQ(f->imgLogo->GetHeight(), 2);
  TBitmap* bmp = f->imgByClass->GetPicture()->Bitmap();
  EXPECT_EQ(bmp->Canvas()->GetPixel(0, 0), clRed);
  EXPECT_EQ(bmp->Canvas()->GetPixel(3, 1), clFuchsia);
  EXPECT_EQ(f->ComponentCount(), 11);  // all owned by the window, which frees them
  f->Free();
}

TEST_F(LayoutReader, SecondWindowOfAClassGetsANumberedName) {
  auto* a = new TfrmDerivedDialog(Application);
  auto* b = new TfrmDerivedDialog(Application);
  EXPECT_EQ(a->GetName(), "frmDerivedDialog");
  EXPECT_EQ(b->GetName(), "frmDerivedDialog_1");
  b->Free();
  a->Free();
}

class TfrmInline : public TForm {
  ORV_CLASS(TfrmInline)
public:
  explicit TfrmInline(TComponent* owner) : TForm(owner) {}
  void Known(TObject*) {}
  void WrongShape(TObject*, int) {}
};
ORV_DEFINE_CLASS(TfrmInline, TForm, nullptr, {})

// A component with a collection, as the skinned title bar holds its buttons.
class TLayoutTestEntry : public TCollectionItem {
  ORV_CLASS(TLayoutTestEntry)
public:
  using TCollectionItem::TCollectionItem;
  std::string GetText() const { return FText; }
  void SetText(const std::string& v) { FText = v; }
  int GetSize() const { return FSize; }
  void SetSize(int v) { FSize = v; }
  std::string FText;
  int FSize = 1;
};
ORV_DEFINE_CLASS(TLayoutTestEntry, TCollectionItem, nullptr,
                 {StrProp<TLayoutTestEntry>("Text", &TLayoutTestEntry::GetText, &TLayoutTestEntry::SetText),
                  IntProp<TLayoutTestEntry>("Size", &TLayoutTestEntry::GetSize, &TLayoutTestEntry::SetSize)})

class TLayoutTestEntries : public TCollection {
public:
  explicit TLayoutTestEntries(TPersistent* owner)
      : TCollection(owner, [](TCollection* c) { return new TLayoutTestEntry(c); }) {}
  void Update(TCollectionItem* item) override { Updates.push_back(item ? item->Index() : -1); }
  std::vector<int> Updates;
};

class TLayoutTestList : public TComponent {
  ORV_CLASS(TLayoutTestList)
public:
  explicit TLayoutTestList(TComponent* owner) : TComponent(owner), Entries(this) { Entries.Add(); }
  TCollection* GetEntries() const { return const_cast<TLayoutTestEntries*>(&Entries); }
  TLayoutTestEntries Entries;
};
ORV_DEFINE_CLASS(TLayoutTestList, TComponent, FactoryOf<TLayoutTestList>(),
                 {ObjProp<TLayoutTestList, TCollection>("Entries", &TLayoutTestList::GetEntries)})

TEST_F(LayoutReader, CollectionsAreEmptiedAndFilledItemByItem) {
  auto* f = new TfrmInline(nullptr);
  ReadLayoutText(f,
                 "object frm: TfrmInline\n"
                 "  object lst: TLayoutTestList\n"
                 "    Entries = <\n"
                 "      item\n"
                 "        Text = 'first'\n"
                 "      end\n"
                 "      item\n"
                 "        Size = 7\n"
                 "        Text = 'second'\n"
                 "      end>\n"
                 "  end\n"
                 "end\n",
                 "inline.layout", TLayoutBinder());
  auto* list = As<TLayoutTestList>(f->FindComponent("lst"));
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->Entries.Count(), 2);  // the item the constructor made is gone
  auto* second = As<TLayoutTestEntry>(list->Entries.Items(1));
  EXPECT_EQ(As<TLayoutTestEntry>(list->Entries.Items(0))->FText, "first");
  EXPECT_EQ(second->FSize, 7);
  EXPECT_EQ(second->Index(), 1);
  EXPECT_EQ(second->GetNamePath(), "lst.TCollection[1]");
  list->Entries.Updates.clear();
  list->Entries.BeginUpdate();
  list->Entries.Add();
  list->Entries.Delete(0);
  EXPECT_TRUE(list->Entries.Updates.empty());  // held back until the update ends
  list->Entries.EndUpdate();
  EXPECT_EQ(list->Entries.Updates, std::vector<int>{-1});
  EXPECT_EQ(second->Index(), 0);
  f->Free();
}

struct TErrorCase {
  const char* Body;       // lines inside "object frm: TfrmInline ... end"
  int Line;               // where the error is reported
  const char* Fragment;   // part of the message
};

const TErrorCase kErrors[] = {
    {"  object x: TNoSuchClass\n  end\n", 3, "Class TNoSuchClass not found"},
    {"  Colr = clRed\n", 3, "Property 'Colr' does not exist"},
    {"  Caption = 'a'\n  OnClick = NoHandler\n", 4, "Handler 'NoHandler'"},
    {"  OnClick = WrongShape\n", 3, "wrong parameters"},
    {"  object p: TPanel\n    Align = alMiddle\n  end\n", 4, "alMiddle"},
    {"  object l: TLabel\n    FocusControl = nobody\n  end\n", 4, "nobody"},
    {"  object i: TImage\n    Picture = bmp 'pictures/missing.bmp'\n  end\n", 4, "missing.bmp"},
    {"  object i: TImage\n    Picture = gif 'pictures/logo.bmp'\n  end\n", 4, "gif"},
    {"  Caption = 'unterminated\n", 3, "Unterminated"},
    {"  object a: TPanel\n  end\n  object a: TPanel\n  end\n", 5, "already exists"},
    {"  object p: TPanel\n", 5, "'end' expected"},
    {"  Caption = <\n  >\n", 3, "does not hold a collection"},
    {"  object l: TLayoutTestList\n    Entries = <\n      thing\n    >\n  end\n", 5, "'item' or '>' expected"},
    {"  object l: TLayoutTestList\n    Entries = <\n      item\n        Colour = 3\n      end>\n  end\n", 6,
     "Property 'Colour' does not exist in l.TCollection[0]"},
};

TEST_F(LayoutReader, ErrorsNameTheFileAndLine) {
  for (const auto& c : kErrors) {
    auto* f = new TfrmInline(nullptr);
    TLayoutBinder b;
    b.Handler("Known", f, &TfrmInline::Known);
    b.Handler("WrongShape", f, &TfrmInline::WrongShape);
    std::string text = std::string("// inline\nobject frm: TfrmInline\n") + c.Body + "end\n";
    try {
      ReadLayoutText(f, text, "inline.layout", b);
      ADD_FAILURE() << "no error for: " << c.Body;
    } catch (const ELayoutError& e) {
      std::string m = e.what();
      EXPECT_EQ(e.Line, c.Line) << m;
      EXPECT_NE(m.find("inline.layout(" + std::to_string(c.Line) + ")"), std::string::npos) << m;
      EXPECT_NE(m.find(c.Fragment), std::string::npos) << m;
    }
    EXPECT_FALSE(f->IsLoading());
    f->Free();
  }
}

TEST_F(LayoutReader, AMissingFieldIsAnError) {
  auto* f = new TfrmInline(nullptr);
  TLayoutBinder b;
  TButton* btn = nullptr;
  b.Field("btnMissing", btn);
  ReadLayoutText(f, "object frm: TfrmInline\nend\n", "inline.layout", b);
  EXPECT_THROW(b.BindFields(f, "inline.layout"), EPropertyError);
  TPanel* wrong = nullptr;
  TLayoutBinder b2;
  b2.Field("frm", wrong);  // the form is no panel
  EXPECT_THROW(b2.BindFields(f, "inline.layout"), EPropertyError);
  f->Free();
}

TEST_F(LayoutReader, PropertiesApplyInStoredOrderThroughSetters) {
  auto* f = new TfrmInline(nullptr);
  TLayoutBinder b;
  // The same property twice: the later value wins; the font is filled in place.
  ReadLayoutText(f,
                 "object frm: TfrmInline\n"
                 "  object lbl: TLabel\n"
                 "    Caption = 'first'\n"
                 "    Caption = 'second'\n"
                 "    Font.Name = 'Tahoma'\n"
                 "    Font.Height = -13\n"
                 "    Font.Style = [fsBold]\n"
                 "    Tag = 99\n"
                 "  end\n"
                 "end\n",
                 "inline.layout", b);
  auto* lbl = As<TLabel>(f->FindComponent("lbl"));
  ASSERT_NE(lbl, nullptr);
  EXPECT_EQ(lbl->GetCaption(), "second");
  EXPECT_EQ(lbl->GetFont()->GetName(), "Tahoma");
  EXPECT_EQ(lbl->GetFont()->GetHeight(), -13);
  EXPECT_EQ(lbl->GetFont()->GetStyle(), 1u << fsBold);
  EXPECT_FALSE(lbl->GetParentFont());  // a font of its own
  EXPECT_EQ(lbl->GetTag(), 99);
  EXPECT_EQ(lbl->GetParent(), f);
  f->Free();
}

}  // namespace
