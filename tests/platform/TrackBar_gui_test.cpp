// The track bar of a dialog read from a layout: its range keeps the position inside, and OnChange runs
// once for every real move of the position, whether code set Position, Min or Max or the user moved
// the slider (keys, a click on the channel, a position reported by scroll message).
#include "ControlGallery.h"

namespace {

class TrackBar : public GalleryTest {
protected:
  void SetUp() override {
    GalleryTest::SetUp();
    F->PageControlOptions->SetActivePage(F->TabSheetGeneral);
    Pump();
  }
};

enum TTrackAct { SetPos, SetMin, SetMax, SetRange, UserScroll, UserKey, UserPage };

struct TrackStep {
  TTrackAct Act;
  int A, B;                  // value(s) for the step (UserKey: the key)
  int Min, Max, Position;    // after the step
  int Changes;               // OnChange runs of the step
};

TEST_F(TrackBar, RangeAndPositionStayConsistentAndChangeRunsOncePerMove) {
  // Starts as laid out: Min 1, Max 12, Position 7.
  const TrackStep steps[] = {
      {SetPos, 7, 0, 1, 12, 7, 0},        // unchanged
      {SetPos, 9, 0, 1, 12, 9, 1},
      {SetPos, 40, 0, 1, 12, 12, 1},      // above Max: at Max
      {SetPos, 12, 0, 1, 12, 12, 0},
      {SetPos, -3, 0, 1, 12, 1, 1},       // below Min: at Min
      {SetMin, 4, 0, 4, 12, 4, 1},        // the range shuts the position out: it moves
      {SetMin, 13, 0, 4, 12, 4, 0},       // Min above Max: ignored
      {SetMin, 12, 0, 12, 12, 12, 1},     // Min equal to Max is a range
      {SetMin, 1, 0, 1, 12, 12, 0},
      {SetMax, 8, 0, 1, 8, 8, 1},
      {SetMax, 0, 0, 1, 8, 8, 0},         // Max below Min: ignored
      {SetMax, 14, 0, 1, 14, 8, 0},       // a wider range leaves the position
      {SetRange, 6, 10, 6, 10, 8, 0},
      {SetRange, 10, 6, 6, 10, 8, 0},     // reversed: ignored
      {SetRange, 1, 5, 1, 5, 5, 1},
      {UserScroll, 3, 0, 1, 5, 3, 1},     // the window reports a new position
      {UserScroll, 3, 0, 1, 5, 3, 0},     // ... or the same one
      {UserKey, VK_RIGHT, 0, 1, 5, 4, 1},
      {UserKey, VK_END, 0, 1, 5, 5, 1},
      {UserKey, VK_RIGHT, 0, 1, 5, 5, 0}, // at the end already
      {UserKey, VK_HOME, 0, 1, 5, 1, 1},
  };
  TTrackBar* t = F->TrackBarAudioBitrate;
  HWND h = t->Handle();
  EXPECT_TRUE(TakeLog().empty()) << "reading the layout ran OnChange";
  t->SetFocus();
  Pump();
  int i = 0;
  for (const TrackStep& s : steps) {
    SCOPED_TRACE("step " + std::to_string(i++));
    switch (s.Act) {
      case SetPos: t->SetPosition(s.A); break;
      case SetMin: t->SetMin(s.A); break;
      case SetMax: t->SetMax(s.A); break;
      case SetRange: t->SetRange(s.A, s.B); break;
      case UserScroll:
        SendMessageA(h, TBM_SETPOS, TRUE, s.A);
        SendMessageA(F->TabSheetGeneral->Handle(), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, s.A), LPARAM(h));
        break;
      case UserKey: SendMessageA(h, WM_KEYDOWN, WPARAM(s.A), 1); SendMessageA(h, WM_KEYUP, WPARAM(s.A), LPARAM(0xC0000001)); break;
      case UserPage: break;
    }
    Pump();
    auto log = TakeLog();
    EXPECT_EQ(int(log.size()), s.Changes);
    for (auto& l : log) EXPECT_EQ(l, "TrackBarAudioBitrate.change");
    EXPECT_EQ(t->GetMin(), s.Min);
    EXPECT_EQ(t->GetMax(), s.Max);
    EXPECT_EQ(t->GetPosition(), s.Position);
    EXPECT_EQ(SendMessageA(h, TBM_GETRANGEMIN, 0, 0), s.Min);
    EXPECT_EQ(SendMessageA(h, TBM_GETRANGEMAX, 0, 0), s.Max);
    EXPECT_EQ(SendMessageA(h, TBM_GETPOS, 0, 0), s.Position);
    EXPECT_EQ(F->LabelAudioBitrate->GetCaption(), s.Changes ? std::to_string(s.Position) : F->LabelAudioBitrate->GetCaption());
  }
}

TEST_F(TrackBar, AClickOnTheChannelMovesThePositionOnce) {
  TTrackBar* t = F->TrackBarAudioBitrate;
  HWND h = t->Handle();
  t->SetPosition(1);
  TakeLog();
  RECT channel{};
  SendMessageA(h, TBM_GETCHANNELRECT, 0, LPARAM(&channel));
  ClickAt(h, channel.right - 2, (channel.top + channel.bottom) / 2);
  EXPECT_EQ(TakeLog(), Lines({"TrackBarAudioBitrate.change"}));
  EXPECT_GT(t->GetPosition(), 1);
  EXPECT_EQ(SendMessageA(h, TBM_GETPOS, 0, 0), t->GetPosition());
  EXPECT_EQ(F->LabelAudioBitrate->GetCaption(), std::to_string(t->GetPosition()));
}

// Layout values arrive in the order they are written; they are brought in line once the layout is read.
TEST_F(TrackBar, PropertiesByNameAndLayoutOrderDoNotMatter) {
  struct LayoutCase {
    const char* Props;
    int Min, Max, Position;
  };
  const LayoutCase cases[] = {
      {"Min = 20\n Max = 30\n Position = 25\n", 20, 30, 25},  // Min above the default Max first
      {"Position = 25\n Min = 20\n Max = 30\n", 20, 30, 25},
      {"Max = 5\n Position = 9\n", 0, 5, 5},
      {"Min = 8\n Max = 3\n", 8, 8, 8},
  };
  for (const LayoutCase& c : cases) {
    SCOPED_TRACE(c.Props);
    auto* host = new TForm(Application);
    int changes = 0;
    TLayoutBinder b;
    b.Handle<TNotifyEvent>("TrackChange", [&](TObject*) { ++changes; });
    ReadLayoutText(host, std::string("object host: TForm\n object tb: TTrackBar\n ") + c.Props +
                             " Frequency = 2\n OnChange = TrackChange\n end\nend\n",
                   "track.layout", b);
    auto* t = As<TTrackBar>(host->FindComponent("tb"));
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->GetMin(), c.Min);
    EXPECT_EQ(t->GetMax(), c.Max);
    EXPECT_EQ(t->GetPosition(), c.Position);
    EXPECT_EQ(GetPropText(t, "Frequency"), "2");
    EXPECT_EQ(changes, 0);
    SetPropText(t, "Position", std::to_string(c.Max));
    EXPECT_EQ(changes, c.Position == c.Max ? 0 : 1);
    EXPECT_EQ(SendMessageA(t->Handle(), TBM_GETPOS, 0, 0), c.Max);
    host->Free();
  }
}

}  // namespace
