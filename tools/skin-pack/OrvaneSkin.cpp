#include "OrvaneSkin.h"

#include <algorithm>

TPixels::TPixels(int width, int height, uint32_t fill)
    : FWidth(width), FHeight(height), FPixels(size_t(width * height), fill) {}

void TPixels::Set(int x, int y, uint32_t rgb) {
  if (x >= 0 && y >= 0 && x < FWidth && y < FHeight) FPixels[size_t(y * FWidth + x)] = rgb;
}

void TPixels::Fill(int left, int top, int right, int bottom, uint32_t rgb) {
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) Set(x, y, rgb);
}

void TPixels::Frame(int left, int top, int right, int bottom, uint32_t rgb) {
  Fill(left, top, right, top + 1, rgb);
  Fill(left, bottom - 1, right, bottom, rgb);
  Fill(left, top, left + 1, bottom, rgb);
  Fill(right - 1, top, right, bottom, rgb);
}

namespace {
uint32_t Mix(uint32_t a, uint32_t b, int num, int den) {
  uint32_t r = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const int ca = int((a >> shift) & 0xFF), cb = int((b >> shift) & 0xFF);
    r |= uint32_t(ca + (cb - ca) * num / den) << shift;
  }
  return r;
}
}  // namespace

void TPixels::Gradient(int left, int top, int right, int bottom, uint32_t from, uint32_t to) {
  const int n = std::max(1, bottom - top - 1);
  for (int y = top; y < bottom; ++y) Fill(left, y, right, y + 1, Mix(from, to, y - top, n));
}

std::vector<uint8_t> TPixels::ToBmp() const {
  const int stride = (FWidth * 3 + 3) & ~3;
  const uint32_t imageSize = uint32_t(stride * FHeight), fileSize = 54 + imageSize;
  std::vector<uint8_t> b;
  auto u16 = [&](uint32_t v) { b.push_back(uint8_t(v)); b.push_back(uint8_t(v >> 8)); };
  auto u32 = [&](uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); };
  b.push_back('B');
  b.push_back('M');
  u32(fileSize); u32(0); u32(54);
  u32(40); u32(uint32_t(FWidth)); u32(uint32_t(FHeight)); u16(1); u16(24); u32(0); u32(imageSize);
  u32(2835); u32(2835); u32(0); u32(0);
  for (int y = FHeight - 1; y >= 0; --y) {
    for (int x = 0; x < FWidth; ++x) {
      const uint32_t p = Get(x, y);
      b.push_back(uint8_t(p));        // blue
      b.push_back(uint8_t(p >> 8));   // green
      b.push_back(uint8_t(p >> 16));  // red
    }
    b.insert(b.end(), size_t(stride - FWidth * 3), 0);
  }
  return b;
}

namespace {

constexpr uint32_t Magenta = 0xFF00FF;
constexpr uint32_t Deep = 0x12284E, Light = 0x2E5CA0, Face = 0xE4E8EE, Edge = 0x5A6E8C, Accent = 0xFFAA28;

// Frames side by side: frame i gets its own colours from `draw`.
template <class Draw>
TPixels Strip(int frameWidth, int height, int frames, Draw draw) {
  TPixels p(frameWidth * frames, height, Magenta);
  for (int i = 0; i < frames; ++i) draw(p, i * frameWidth, i);
  return p;
}

// One caption button face with a glyph drawn by `glyph` (x0 the frame's left edge).
template <class Glyph>
TPixels CaptionButton(Glyph glyph) {
  const uint32_t faces[] = {Light, Accent, Deep, 0x7A8696};  // normal, pressed, hot, inactive
  return Strip(18, 18, 4, [&](TPixels& p, int x0, int i) {
    p.Gradient(x0 + 1, 1, x0 + 17, 17, 0xFFFFFF, faces[i]);
    p.Frame(x0 + 1, 1, x0 + 17, 17, Edge);
    p.Set(x0 + 1, 1, Magenta);
    p.Set(x0 + 16, 1, Magenta);
    p.Set(x0 + 1, 16, Magenta);
    p.Set(x0 + 16, 16, Magenta);
    glyph(p, x0);
  });
}

// The minimize and maximize buttons show only on windows that have one of the two boxes (Visibility 6),
// so dialog boxes carry the close button alone.
const char* const SkinIni =
    "; Orvane's own skin: plain shapes in the program's blue and orange.\r\n"
    "[Personality]\r\n"
    "Left=left.bmp\r\nLeftTopHeight=4\r\nLeftBotHeight=4\r\nLeftFrame=2\r\nLeftStretch=1\r\nLeftTrans=0\r\n"
    "Right=right.bmp\r\nRightTopHeight=4\r\nRightBotHeight=4\r\nRightFrame=2\r\nRightStretch=1\r\nRightTrans=0\r\n"
    "Top=top.bmp\r\nTopTopHeight=8\r\nTopBotHeight=8\r\nTopFrame=2\r\nTopStretch=1\r\nTopTrans=1\r\n"
    "Bottom=bottom.bmp\r\nBottomTopHeight=4\r\nBottomBotHeight=4\r\nBottomFrame=2\r\nBottomStretch=1\r\n"
    "BottomTrans=0\r\n"
    "menuBar=menubar.bmp\r\nTileMenu=1\r\nTileLeftMenu=2\r\nTileRightMenu=2\r\n"
    "TextShift=26\r\nTextShiftVert=0\r\nTextRightClip=70\r\nTextAlignment=0\r\n"
    "ActiveTextR=255\r\nActiveTextG=255\r\nActiveTextB=255\r\n"
    "InActiveTextR=200\r\nInActiveTextG=206\r\nInActiveTextB=216\r\n"
    "[Fonts]\r\nFontHeight=14\r\n"
    "[Colours]\r\n"
    "WindowText=16 24 40\r\nButtonFace=228 232 238\r\nScrollbar=210 216 226\r\nHilightText=255 255 255\r\n"
    "Hilight=46 92 160\r\nMenu=240 242 246\r\nMenuText=16 24 40\r\nButtonText=16 24 40\r\n"
    "ButtonHilight=255 255 255\r\nButtonlight=240 242 246\r\nButtonShadow=140 152 170\r\n"
    "ButtonDkShadow=90 110 140\r\nMenuBarText=16 24 40\r\nTitleTextActive=255 255 255\r\n"
    "TitleTextNoActive=200 206 216\r\n"
    "[Colour0]\r\ncolor=16 24 40\r\n"
    "[Colour1]\r\ncolor=255 255 255\r\n"
    "[Colour2]\r\ncolor=255 170 40\r\n"
    "[Customcolors]\r\nColor0=18 40 78\r\nColor1=46 92 160\r\n"
    "[MenuBackground]\r\nImage=menuback.bmp\r\nLeftWidth=3\r\nRightWidth=3\r\nTopHeight=3\r\nBottomHeight=3\r\n"
    "Tile=0\r\n"
    "[MenuItem]\r\nImage=menuitem.bmp\r\nLeftWidth=3\r\nRightWidth=3\r\nTopHeight=2\r\nBottomHeight=2\r\nTrans=1\r\n"
    "Tile=0\r\n"
    "[BUTTON.CLOSE]\r\nAction=0\r\nAlign=1\r\nXcoord=24\r\nYcoord=5\r\nVisibility=0\r\nButtonImage=close.bmp\r\n"
    "frame=4\r\n"
    "[BUTTON.MAXIMIZE]\r\nAction=1\r\nAlign=1\r\nXcoord=44\r\nYcoord=5\r\nVisibility=6\r\n"
    "ButtonImage=maximize.bmp\r\nframe=4\r\n"
    "[BUTTON.MINIMIZE]\r\nAction=2\r\nAlign=1\r\nXcoord=64\r\nYcoord=5\r\nVisibility=6\r\n"
    "ButtonImage=minimize.bmp\r\nframe=4\r\n"
    "[BUTTON.SYSMENU]\r\nAction=3\r\nAlign=0\r\nXcoord=6\r\nYcoord=6\r\nVisibility=0\r\n"
    "[Buttons]\r\nBitmap=button.bmp\r\nLeftWidth=4\r\nRightWidth=4\r\nTopHeight=4\r\nBottomHeight=4\r\nTrans=1\r\n"
    "Tile=0\r\nCheckButton=check.bmp\r\nRadioButton=radio.bmp\r\nCheckButtonFrame=8\r\nRadioButtonFrame=8\r\n"
    "NormalColour=0\r\nMouseOverColour=0\r\nPressedColour=1\r\n"
    "[Progress]\r\nBitmap=progress.bmp\r\nStyle=0\r\nLeftWidth=3\r\nRightWidth=3\r\nTopHeight=3\r\n"
    "BottomHeight=3\r\nTrans=0\r\nTile=0\r\n"
    "[Progress.Chunk]\r\nImage=chunk.bmp\r\nFrame=1\r\nLeftWidth=2\r\nRightWidth=2\r\nTile=1\r\n"
    "[GroupBox]\r\nImage=groupbox.bmp\r\nLeftWidth=6\r\nRightWidth=6\r\nTopHeight=6\r\nBottomHeight=6\r\nTrans=1\r\n"
    "[Tabs]\r\nImage=tabs.bmp\r\nLeftWidth=4\r\nRightWidth=4\r\nTopHeight=4\r\nBottomHeight=2\r\nTrans=1\r\nStyle=1\r\n"
    "[Tab.Pane]\r\nImage=tabpane.bmp\r\nLeftWidth=4\r\nRightWidth=4\r\nTopHeight=4\r\nBottomHeight=4\r\n"
    "[Headerbar]\r\nImage=header.bmp\r\nLeftWidth=2\r\nRightWidth=2\r\nTopHeight=2\r\nBottomHeight=2\r\n"
    "[ComboButton]\r\nImage=combobutton.bmp\r\nLeftWidth=2\r\nRightWidth=2\r\nTopHeight=2\r\nBottomHeight=2\r\n"
    "Trans=1\r\n"
    "[Trackbar.ThumbHorz]\r\nImage=thumb.bmp\r\nTrans=1\r\n"
    "[Track]\r\nImage=track.bmp\r\nFrame=1\r\nLeftWidth=3\r\nRightWidth=3\r\nTopHeight=2\r\nBottomHeight=2\r\n"
    // Combo boxes: the sunken edge round the text; with the drop button it makes one picture per state.
    "[SunkEdge]\r\nImage=sunkedge.bmp\r\nLeftWidth=2\r\nRightWidth=2\r\nTopHeight=2\r\nBottomHeight=2\r\n"
    // Scroll bars: arrows and grips in one strip, tracks and thumbs of each direction.
    "[Scrollbar]\r\nImage=scrollbar.bmp\r\n"
    "[HorzScroll]\r\nImage=horzscroll.bmp\r\nLeftWidth=2\r\nRightWidth=2\r\nTopHeight=2\r\nBottomHeight=2\r\n"
    "[VertScroll]\r\nImage=vertscroll.bmp\r\nLeftWidth=2\r\nRightWidth=2\r\nTopHeight=2\r\nBottomHeight=2\r\n"
    "[HorzScrollThumb]\r\nImage=horzthumb.bmp\r\nLeftWidth=3\r\nRightWidth=3\r\nTopHeight=3\r\nBottomHeight=3\r\n"
    "Trans=1\r\n"
    "[VertScrollThumb]\r\nImage=vertthumb.bmp\r\nLeftWidth=3\r\nRightWidth=3\r\nTopHeight=3\r\nBottomHeight=3\r\n"
    "Trans=1\r\n";

}  // namespace

std::vector<TSkinFile> DrawOrvaneSkin() {
  std::vector<TSkinFile> files;
  files.push_back({"skin.ini", std::vector<uint8_t>(SkinIni, SkinIni + std::char_traits<char>::length(SkinIni))});
  auto add = [&](const char* name, const TPixels& p) { files.push_back({name, p.ToBmp()}); };

  // Borders: two frames each, active (deep blue) and inactive (grey). Left and right frames stand side
  // by side; top and bottom frames are stacked, the active one first.
  const uint32_t activeInactive[] = {Deep, 0x6A7484};
  add("left.bmp", Strip(4, 30, 2, [&](TPixels& p, int x0, int i) { p.Fill(x0, 0, x0 + 4, 30, activeInactive[i]); }));
  add("right.bmp", Strip(4, 30, 2, [&](TPixels& p, int x0, int i) { p.Fill(x0, 0, x0 + 4, 30, activeInactive[i]); }));
  TPixels top(60, 56, Magenta);
  for (int i = 0; i < 2; ++i) {
    top.Gradient(0, i * 28, 60, i * 28 + 28, i ? 0x8A94A4 : Light, activeInactive[i]);
    top.Set(0, i * 28, Magenta);  // rounded outer corners
    top.Set(59, i * 28, Magenta);
  }
  add("top.bmp", top);
  TPixels bottom(30, 8, Magenta);
  bottom.Fill(0, 0, 30, 4, activeInactive[0]);
  bottom.Fill(0, 4, 30, 8, activeInactive[1]);
  add("bottom.bmp", bottom);
  // The menu bar: two frames stacked, active above inactive; a little darker than the window's face,
  // so the white frame of an open or hot item shows on it.
  TPixels menuBar(20, 40, Magenta);
  menuBar.Gradient(0, 0, 20, 20, 0xEEF1F6, 0xD2DAE6);
  menuBar.Gradient(0, 20, 20, 40, 0xF4F6FA, 0xDCE2EA);
  add("menubar.bmp", menuBar);

  // Popup menus: a frame in the caption's blue around the menu colour; items transparent but for the
  // selected one (frame 4, a soft blue bar) and the separator (frame 2, a line near its bottom).
  TPixels menuBack(16, 16, 0xF0F2F6);
  menuBack.Frame(0, 0, 16, 16, Deep);
  menuBack.Frame(1, 1, 15, 15, Light);
  menuBack.Frame(2, 2, 14, 14, 0xFFFFFF);
  add("menuback.bmp", menuBack);
  add("menuitem.bmp", Strip(20, 20, 5, [&](TPixels& p, int x0, int i) {
    if (i == 1) {  // a low separator shows the picture's bottom rows: the line stands there
      p.Fill(x0 + 3, 17, x0 + 17, 18, Edge);
      p.Fill(x0 + 3, 18, x0 + 17, 19, 0xFFFFFF);
    } else if (i == 3) {
      p.Gradient(x0 + 1, 1, x0 + 19, 19, Light, 0x24508E);
      p.Frame(x0 + 1, 1, x0 + 19, 19, Deep);
    }
  }));

  add("close.bmp", CaptionButton([](TPixels& p, int x0) {
    for (int k = 0; k < 7; ++k) {
      p.Set(x0 + 5 + k, 5 + k, 0xFFFFFF);
      p.Set(x0 + 11 - k, 5 + k, 0xFFFFFF);
    }
  }));
  add("maximize.bmp", CaptionButton([](TPixels& p, int x0) {
    p.Frame(x0 + 5, 5, x0 + 13, 13, 0xFFFFFF);
    p.Fill(x0 + 5, 6, x0 + 13, 7, 0xFFFFFF);
  }));
  add("minimize.bmp", CaptionButton([](TPixels& p, int x0) { p.Fill(x0 + 5, 11, x0 + 13, 13, 0xFFFFFF); }));

  // Push button: normal, hot, pressed, disabled, default.
  const uint32_t buttonFaces[][2] = {{0xFFFFFF, Face}, {0xFFF4E0, 0xFFD890}, {0xC8D4E8, 0xA8B8D4},
                                     {0xF0F0F0, 0xDCDCDC}, {0xFFFFFF, 0xC8DCF8}};
  add("button.bmp", Strip(24, 22, 5, [&](TPixels& p, int x0, int i) {
    p.Gradient(x0, 0, x0 + 24, 22, buttonFaces[i][0], buttonFaces[i][1]);
    p.Frame(x0, 0, x0 + 24, 22, i == 3 ? 0xA8B0BC : Edge);
    p.Set(x0, 0, Magenta);
    p.Set(x0 + 23, 0, Magenta);
    p.Set(x0, 21, Magenta);
    p.Set(x0 + 23, 21, Magenta);
  }));
  // Check and radio boxes: unchecked / checked in normal, hot, pressed and disabled.
  add("check.bmp", Strip(13, 13, 8, [&](TPixels& p, int x0, int i) {
    p.Fill(x0, 0, x0 + 13, 13, (i % 4) == 3 ? 0xE8E8E8 : 0xFFFFFF);
    p.Frame(x0, 0, x0 + 13, 13, (i % 4) == 1 ? Accent : Edge);
    if (i >= 4) {  // a tick: short arm down to (5, 8), long arm up to (9, 4)
      for (int k = 0; k < 3; ++k) p.Fill(x0 + 3 + k, 6 + k, x0 + 4 + k, 8 + k, Deep);
      for (int k = 0; k < 5; ++k) p.Fill(x0 + 5 + k, 8 - k, x0 + 6 + k, 10 - k, Deep);
    }
  }));
  add("radio.bmp", Strip(13, 13, 8, [&](TPixels& p, int x0, int i) {
    for (int y = 0; y < 13; ++y)
      for (int x = 0; x < 13; ++x) {
        const int d = (x - 6) * (x - 6) + (y - 6) * (y - 6);
        if (d <= 36) p.Set(x0 + x, y, d >= 26 ? ((i % 4) == 1 ? Accent : Edge) : 0xFFFFFF);
        if (i >= 4 && d <= 6) p.Set(x0 + x, y, Deep);
      }
  }));
  // Progress bar: frame 1 the trough, frame 2 the bar (Style 0 reads two frames).
  add("progress.bmp", Strip(16, 14, 2, [&](TPixels& p, int x0, int i) {
    if (i == 0) {
      p.Fill(x0, 0, x0 + 16, 14, 0xF4F6FA);
      p.Frame(x0, 0, x0 + 16, 14, Edge);
    } else {
      p.Gradient(x0, 0, x0 + 16, 14, 0xFFD890, Accent);
    }
  }));
  TPixels chunk(8, 10, Accent);
  chunk.Gradient(0, 0, 8, 10, 0xFFE0A0, Accent);
  add("chunk.bmp", chunk);
  TPixels group(20, 20, Magenta);
  group.Frame(0, 0, 20, 20, Edge);
  group.Fill(1, 1, 19, 19, Face);
  add("groupbox.bmp", group);
  // Tabs: the focused one (frame 2) light, the others a shade darker, the hot one orange.
  add("tabs.bmp", Strip(20, 22, 5, [&](TPixels& p, int x0, int i) {
    p.Gradient(x0, 0, x0 + 20, 22, i == 1 ? 0xFFFFFF : 0xE8ECF2, i == 1 ? Face : (i == 2 ? 0xFFD890 : 0xBCC6D6));
    p.Frame(x0, 0, x0 + 20, 23, Edge);
  }));
  TPixels pane(20, 20, Face);
  pane.Frame(0, 0, 20, 20, Edge);
  add("tabpane.bmp", pane);
  // Column header: normal, hot, pressed, disabled, spare; a light face with a dividing line at the right.
  const uint32_t headerFaces[] = {Face, 0xFFD890, 0xC8D4E8, 0xF0F0F0, Face};
  add("header.bmp", Strip(12, 20, 5, [&](TPixels& p, int x0, int i) {
    p.Gradient(x0, 0, x0 + 12, 20, 0xFFFFFF, headerFaces[i]);
    p.Fill(x0, 19, x0 + 12, 20, Edge);
    p.Fill(x0 + 11, 3, x0 + 12, 17, Edge);
  }));
  // Combo frames: normal, pressed, disabled, focused or hot.
  const int comboFaces[] = {0, 2, 3, 1};
  add("combobutton.bmp", Strip(17, 21, 4, [&](TPixels& p, int x0, int i) {
    p.Gradient(x0, 0, x0 + 17, 21, 0xFFFFFF, buttonFaces[comboFaces[i]][1]);
    p.Frame(x0, 0, x0 + 17, 21, Edge);
    for (int k = 0; k < 4; ++k) p.Fill(x0 + 5 + k, 9 + k, x0 + 12 - k, 10 + k, Deep);
  }));
  add("thumb.bmp", Strip(11, 18, 5, [&](TPixels& p, int x0, int i) {
    p.Gradient(x0, 0, x0 + 11, 18, 0xFFFFFF, buttonFaces[i][1]);
    p.Frame(x0, 0, x0 + 11, 18, Edge);
  }));
  TPixels track(12, 6, 0xF4F6FA);
  track.Frame(0, 0, 12, 6, Edge);
  add("track.bmp", track);
  const uint32_t comboEdges[] = {Edge, Deep, 0xA8B0BC, Light};
  add("sunkedge.bmp", Strip(12, 21, 4, [&](TPixels& p, int x0, int i) {
    p.Fill(x0, 0, x0 + 12, 21, 0xFFFFFF);
    p.Frame(x0, 0, x0 + 12, 21, comboEdges[i]);
    p.Frame(x0 + 1, 1, x0 + 11, 20, i == 2 ? 0xF0F0F0 : 0xF4F6FA);
  }));

  // Scroll bars, 16 pixels thick. The strip: left, right, up and down arrows in four states each
  // (normal, pressed, unused, hot), then the grip across a horizontal thumb and the grip across a
  // vertical one (normal, pressed, hot), then one spare frame.
  const uint32_t barFaces[] = {Face, 0xA8B8D4, Face, 0xFFD890};
  add("scrollbar.bmp", Strip(16, 16, 23, [&](TPixels& p, int x0, int i) {
    if (i >= 16) {
      if (i == 22) return;
      const bool across = i < 19;  // grip lines across a horizontal thumb stand upright
      const uint32_t ink = (i - 16) % 3 == 1 ? 0xFFFFFF : Edge;
      for (int k = 0; k < 3; ++k) {
        if (across)
          p.Fill(x0 + 5 + 2 * k, 5, x0 + 6 + 2 * k, 11, ink);
        else
          p.Fill(x0 + 5, 5 + 2 * k, x0 + 11, 6 + 2 * k, ink);
      }
      return;
    }
    const int direction = i / 4;  // left, right, up, down
    p.Gradient(x0, 0, x0 + 16, 16, 0xFFFFFF, barFaces[i % 4]);
    p.Frame(x0, 0, x0 + 16, 16, Edge);
    for (int k = 0; k < 4; ++k) {  // a triangle pointing the arrow's way
      const int from = 8 - k, to = 8 + k;
      switch (direction) {
        case 0: p.Fill(x0 + 6 + k, from, x0 + 7 + k, to, Deep); break;
        case 1: p.Fill(x0 + 9 - k, from, x0 + 10 - k, to, Deep); break;
        case 2: p.Fill(x0 + from, 6 + k, x0 + to, 7 + k, Deep); break;
        default: p.Fill(x0 + from, 9 - k, x0 + to, 10 - k, Deep); break;
      }
    }
  }));
  // Tracks: enabled, (unused), disabled, (unused).
  const uint32_t trackFaces[] = {0xF0F2F6, 0xF0F2F6, 0xE4E4E4, 0xE4E4E4};
  add("horzscroll.bmp", Strip(12, 16, 4, [&](TPixels& p, int x0, int i) {
    p.Fill(x0, 0, x0 + 12, 16, trackFaces[i]);
    p.Fill(x0, 0, x0 + 12, 1, 0xD0D8E4);
    p.Fill(x0, 15, x0 + 12, 16, 0xD0D8E4);
  }));
  add("vertscroll.bmp", Strip(16, 12, 4, [&](TPixels& p, int x0, int i) {
    p.Fill(x0, 0, x0 + 16, 12, trackFaces[i]);
    p.Fill(x0, 0, x0 + 1, 12, 0xD0D8E4);
    p.Fill(x0 + 15, 0, x0 + 16, 12, 0xD0D8E4);
  }));
  // Thumbs: normal, pressed, hot, with rounded corners.
  const uint32_t thumbFaces[] = {0xC8D4E8, 0x8AA0C4, 0xFFD890};
  auto thumb = [&](TPixels& p, int x0, int i) {
    p.Gradient(x0 + 1, 1, x0 + 15, 15, 0xFFFFFF, thumbFaces[i]);
    p.Frame(x0 + 1, 1, x0 + 15, 15, Edge);
    for (int x : {1, 14})
      for (int y : {1, 14}) p.Set(x0 + x, y, Magenta);
  };
  add("horzthumb.bmp", Strip(16, 16, 3, thumb));
  add("vertthumb.bmp", Strip(16, 16, 3, thumb));
  return files;
}

std::vector<TSkinFile> DrawEngineBitmaps() {
  // A sunken groove with 3-pixel ends, drawn once across and once upright.
  TPixels across(12, 8, 0xF0F0F0);
  across.Fill(0, 0, 12, 1, 0x808080);
  across.Fill(0, 0, 1, 8, 0x808080);
  across.Fill(0, 1, 12, 2, 0x404040);
  across.Fill(1, 1, 2, 8, 0x404040);
  across.Fill(0, 7, 12, 8, 0xFFFFFF);
  across.Fill(11, 0, 12, 8, 0xFFFFFF);
  TPixels upright(8, 12, 0xF0F0F0);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 8; ++x) upright.Set(x, y, across.Get(y, x));  // the same groove transposed
  // The system menu's glyphs, 16 x 16 each on white (the image list's mask colour): restore, maximize,
  // minimize, close.
  TPixels menu(64, 16, 0xFFFFFF);
  const uint32_t ink = 0x000000;
  menu.Frame(6, 3, 13, 10, ink);  // restore: two overlapping windows
  menu.Fill(6, 4, 13, 5, ink);
  menu.Fill(3, 6, 10, 13, 0xFFFFFF);
  menu.Frame(3, 6, 10, 13, ink);
  menu.Fill(3, 7, 10, 8, ink);
  menu.Frame(16 + 3, 3, 16 + 13, 13, ink);  // maximize
  menu.Fill(16 + 3, 4, 16 + 13, 5, ink);
  menu.Fill(32 + 4, 10, 32 + 11, 12, ink);  // minimize
  for (int k = 0; k < 8; ++k) {              // close
    menu.Fill(48 + 4 + k, 4 + k, 48 + 6 + k, 5 + k, ink);
    menu.Fill(48 + 10 - k, 4 + k, 48 + 12 - k, 5 + k, ink);
  }
  return {{"TRACK.bmp", across.ToBmp()}, {"TRACKVERT.bmp", upright.ToBmp()}, {"TARNWICKMENU.bmp", menu.ToBmp()}};
}
