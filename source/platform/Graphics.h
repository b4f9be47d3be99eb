// Colours, fonts, brushes, pens, the canvas, bitmaps, pictures with their file-format registry,
// icons and image lists: small wrappers over GDI.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "Component.h"

// ---- colours ----
// A TColor is 0x00BBGGRR, or a system colour: 0xFF000000 plus the GetSysColor index (a negative number).
using TColor = int;
constexpr TColor clSystemColor = int(0xFF000000u);
constexpr TColor SysColor(int index) { return int(0xFF000000u | unsigned(index)); }

constexpr TColor clScrollBar = SysColor(COLOR_SCROLLBAR);
constexpr TColor clBackground = SysColor(COLOR_BACKGROUND);
constexpr TColor clActiveCaption = SysColor(COLOR_ACTIVECAPTION);
constexpr TColor clInactiveCaption = SysColor(COLOR_INACTIVECAPTION);
constexpr TColor clMenu = SysColor(COLOR_MENU);
constexpr TColor clWindow = SysColor(COLOR_WINDOW);
constexpr TColor clWindowFrame = SysColor(COLOR_WINDOWFRAME);
constexpr TColor clMenuText = SysColor(COLOR_MENUTEXT);
constexpr TColor clWindowText = SysColor(COLOR_WINDOWTEXT);
constexpr TColor clCaptionText = SysColor(COLOR_CAPTIONTEXT);
constexpr TColor clActiveBorder = SysColor(COLOR_ACTIVEBORDER);
constexpr TColor clInactiveBorder = SysColor(COLOR_INACTIVEBORDER);
constexpr TColor clAppWorkSpace = SysColor(COLOR_APPWORKSPACE);
constexpr TColor clHighlight = SysColor(COLOR_HIGHLIGHT);
constexpr TColor clHighlightText = SysColor(COLOR_HIGHLIGHTTEXT);
constexpr TColor clBtnFace = SysColor(COLOR_BTNFACE);
constexpr TColor clBtnShadow = SysColor(COLOR_BTNSHADOW);
constexpr TColor clGrayText = SysColor(COLOR_GRAYTEXT);
constexpr TColor clBtnText = SysColor(COLOR_BTNTEXT);
constexpr TColor clInactiveCaptionText = SysColor(COLOR_INACTIVECAPTIONTEXT);
constexpr TColor clBtnHighlight = SysColor(COLOR_BTNHIGHLIGHT);
constexpr TColor cl3DDkShadow = SysColor(COLOR_3DDKSHADOW);
constexpr TColor cl3DLight = SysColor(COLOR_3DLIGHT);
constexpr TColor clInfoText = SysColor(COLOR_INFOTEXT);
constexpr TColor clInfoBk = SysColor(COLOR_INFOBK);

constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                 clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clLtGray = 0xC0C0C0,
                 clDkGray = 0x808080, clWhite = 0xFFFFFF, clMoneyGreen = 0xC0DCC0,
                 clSkyBlue = 0xF0CAA6, clCream = 0xF0FBFF, clMedGray = 0xA4A0A0;
constexpr TColor clNone = 0x1FFFFFFF, clDefault = 0x20000000;

COLORREF ColorToRGB(TColor c);  // resolves system colours
const TIdentMap& ColorIdents();  // clBlack ... clInfoBk for layouts and property text
std::string ColorToString(TColor c);
TColor StringToColor(const std::string& s);  // identifier or number; raises EPropertyError

// ---- fonts, brushes, pens ----
enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = unsigned;  // bit (1 << TFontStyle)
enum TFontPitch { fpDefault, fpVariable, fpFixed };

// Base of the three drawing-tool objects: a change handler and a lazily created GDI handle.
class TGraphicsObject : public TPersistent {
  ORV_CLASS(TGraphicsObject)
public:
  std::function<void(TObject*)> OnChange;

protected:
  void Changed();
};

// What describes a font apart from its handle; Assign copies it whole.
struct TFontAttributes {
  std::string FName = "MS Sans Serif";
  int FHeight = -11;
  TColor FColor = clWindowText;
  unsigned FStyle = 0;
  int FCharset = DEFAULT_CHARSET;
  TFontPitch FPitch = fpDefault;
};

class TFont : public TGraphicsObject, private TFontAttributes {
  ORV_CLASS(TFont)
public:
  TFont();
  ~TFont() override;
  void Assign(TPersistent* source) override;
  HFONT Handle();
  void SetHandle(HFONT h);  // adopts the font's attributes from a logical font handle

  std::string GetName() const { return FName; }
  void SetName(const std::string& v);
  int GetHeight() const { return FHeight; }
  void SetHeight(int v);
  int GetSize() const;  // points at the screen's resolution
  void SetSize(int v);
  TColor GetColor() const { return FColor; }
  void SetColor(TColor v);
  unsigned GetStyle() const { return FStyle; }
  void SetStyle(unsigned v);
  int GetCharset() const { return FCharset; }
  void SetCharset(int v);
  TFontPitch GetPitch() const { return FPitch; }
  void SetPitch(TFontPitch v);
  int PixelsPerInch() const;
  // The height of the font's character cell on the screen, in pixels (its text metrics' tmHeight).
  int CellHeight();

private:
  void FreeHandle();
  HFONT FHandle = nullptr;
};

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TBrush : public TGraphicsObject {
  ORV_CLASS(TBrush)
public:
  ~TBrush() override;
  void Assign(TPersistent* source) override;
  HBRUSH Handle();
  TColor GetColor() const { return FColor; }
  void SetColor(TColor v);
  TBrushStyle GetStyle() const { return FStyle; }
  void SetStyle(TBrushStyle v);

private:
  void FreeHandle();
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
  HBRUSH FHandle = nullptr;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode { pmCopy, pmNot, pmXor, pmNotXor };

class TPen : public TGraphicsObject {
  ORV_CLASS(TPen)
public:
  ~TPen() override;
  void Assign(TPersistent* source) override;
  HPEN Handle();
  TColor GetColor() const { return FColor; }
  void SetColor(TColor v);
  int GetWidth() const { return FWidth; }
  void SetWidth(int v);
  TPenStyle GetStyle() const { return FStyle; }
  void SetStyle(TPenStyle v);
  TPenMode GetMode() const { return FMode; }
  void SetMode(TPenMode v);

private:
  void FreeHandle();
  TColor FColor = clBlack;
  int FWidth = 1;
  TPenStyle FStyle = psSolid;
  TPenMode FMode = pmCopy;
  HPEN FHandle = nullptr;
};

// ---- canvas ----
class TGraphic;

// Draws on a device context that someone else owns (a paint DC, a bitmap's memory DC, a window DC).
// The font, brush and pen are selected into the DC before each drawing call, and the DC's original
// objects are put back when the handle changes.
class TCanvas : public TPersistent {
  ORV_CLASS(TCanvas)
public:
  TCanvas();
  ~TCanvas() override;
  HDC GetHandle();
  void SetHandle(HDC dc);
  bool HandleAllocated() const { return FHandle != nullptr; }
  TFont* Font() const { return FFont; }
  TBrush* Brush() const { return FBrush; }
  TPen* Pen() const { return FPen; }
  void SetFont(TFont* f) { FFont->Assign(f); }
  TCanvas& operator=(const TCanvas&) = delete;

  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  POINT PenPos() const { return FPenPos; }
  void Rectangle(int l, int t, int r, int b);
  void Rectangle(const RECT& r) { Rectangle(r.left, r.top, r.right, r.bottom); }
  void RoundRect(int l, int t, int r, int b, int w, int h);
  void Ellipse(int l, int t, int r, int b);
  void Polygon(const std::vector<POINT>& pts);
  void Polyline(const std::vector<POINT>& pts);
  void FillRect(const RECT& r);
  void FrameRect(const RECT& r);
  void DrawFocusRect(const RECT& r);
  void TextOut(int x, int y, const std::string& text);
  void TextRect(const RECT& r, int x, int y, const std::string& text);
  int DrawText(const std::string& text, RECT& r, UINT format);  // the Win32 DrawText with the canvas font
  SIZE TextExtent(const std::string& text);
  int TextWidth(const std::string& text) { return TextExtent(text).cx; }
  int TextHeight(const std::string& text) { return TextExtent(text).cy; }
  void Draw(int x, int y, TGraphic* g);
  void StretchDraw(const RECT& r, TGraphic* g);
  void CopyRect(const RECT& dest, TCanvas* source, const RECT& src);
  TColor GetPixel(int x, int y);
  void SetPixel(int x, int y, TColor c);
  RECT ClipRect();

  std::function<void(TObject*)> OnChange;

protected:
  virtual void CreateHandle() {}  // a control canvas gets its DC on demand
  void RequireFont();
  void RequireBrush();
  void RequirePen();
  void RequireAll();
  void DeselectHandles();

private:
  HDC FHandle = nullptr;
  TFont* FFont;
  TBrush* FBrush;
  TPen* FPen;
  POINT FPenPos{0, 0};
  HGDIOBJ FOldFont = nullptr, FOldBrush = nullptr, FOldPen = nullptr;
};

// ---- graphics ----
class TGraphic : public TPersistent {
  ORV_CLASS(TGraphic)
public:
  virtual bool Empty() const = 0;
  virtual int GetWidth() const = 0;
  virtual int GetHeight() const = 0;
  virtual void SetWidth(int) {}
  virtual void SetHeight(int) {}
  bool GetTransparent() const { return FTransparent; }
  virtual void SetTransparent(bool v);
  virtual void Draw(TCanvas* canvas, const RECT& r) = 0;  // stretched to r when sizes differ
  virtual void LoadFromBytes(const std::vector<uint8_t>& bytes) = 0;
  virtual std::vector<uint8_t> SaveToBytes() const;
  void LoadFromFile(const std::string& path);
  void SaveToFile(const std::string& path) const;
  void LoadFromLayoutData(const TLayoutData& data) override { LoadFromBytes(data.Bytes); }
  std::function<void(TObject*)> OnChange;

protected:
  // A bitmap takes any graphic it does not know by drawing it (TBitmap::DrawGraphic).
  void AssignTo(TPersistent* dest) override;
  void Changed();
  bool FTransparent = false;
};

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TTransparentMode { tmAuto, tmFixed };

class TBitmapCanvas;

// A DIB section (or a device bitmap for pfDevice) with its own memory DC canvas.
class TBitmap : public TGraphic {
  ORV_CLASS(TBitmap)
public:
  TBitmap();
  ~TBitmap() override;
  void Assign(TPersistent* source) override;
  bool Empty() const override { return FWidth == 0 || FHeight == 0; }
  int GetWidth() const override { return FWidth; }
  int GetHeight() const override { return FHeight; }
  void SetWidth(int w) override { SetSize(w, FHeight); }
  void SetHeight(int h) override { SetSize(FWidth, h); }
  void SetSize(int w, int h);
  // Both at once: the bitmap is made once, in the new format (what SetPixelFormat then SetSize give).
  void SetSize(int w, int h, TPixelFormat pf);
  TPixelFormat GetPixelFormat() const { return FPixelFormat; }
  void SetPixelFormat(TPixelFormat pf);
  HBITMAP GetHandle() const { return FHandle; }
  void SetHandle(HBITMAP h);  // adopts a bitmap handle (DIB or device)
  HBITMAP ReleaseHandle();    // gives the handle away; the bitmap is empty afterwards
  TCanvas* Canvas();
  // Row y of a DIB (top row first); null for a device bitmap.
  void* ScanLine(int y);
  TColor GetTransparentColor() const;  // tmAuto: the bottom-left pixel
  void SetTransparentColor(TColor c);
  TTransparentMode GetTransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(TTransparentMode m) { FTransparentMode = m; }
  void Draw(TCanvas* canvas, const RECT& r) override;
  void LoadFromBytes(const std::vector<uint8_t>& bytes) override;  // a BMP file image
  void LoadFromMemory(const uint8_t* data, size_t size);             // the same, read in place
  std::vector<uint8_t> SaveToBytes() const override;
  void LoadFromLayoutData(const TLayoutData& data) override;
  // Loads "bitmaps/<name>.bmp" from the embedded resources.
  void LoadFromResourceName(const std::string& name);
  // Becomes a 24-bit bitmap of the graphic's size with the graphic drawn on it, transparent as it is.
  void DrawGraphic(TGraphic* g);
  void Dormant() {}
  void FreeImage() {}

private:
  void FreeContents();
  void Recreate(int w, int h, TPixelFormat pf, bool keepPicture);
  HDC MemoryDC();
  HBITMAP FHandle = nullptr;
  int FWidth = 0, FHeight = 0;
  TPixelFormat FPixelFormat = pfDevice;
  void* FBits = nullptr;
  int FStride = 0;
  TTransparentMode FTransparentMode = tmAuto;
  TColor FTransparentColor = clDefault;
  TBitmapCanvas* FCanvas = nullptr;
  friend class TBitmapCanvas;
};

class TIcon : public TGraphic {
  ORV_CLASS(TIcon)
public:
  TIcon() { FTransparent = true; }
  ~TIcon() override;
  void Assign(TPersistent* source) override;
  bool Empty() const override { return FHandle == nullptr; }
  int GetWidth() const override { return FWidth; }
  int GetHeight() const override { return FHeight; }
  HICON GetHandle() const { return FHandle; }
  void SetHandle(HICON h);  // adopts the icon
  HICON ReleaseHandle();
  void Draw(TCanvas* canvas, const RECT& r) override;
  void LoadFromBytes(const std::vector<uint8_t>& bytes) override;  // an .ico file image
  std::vector<uint8_t> SaveToBytes() const override;

private:
  HICON FHandle = nullptr;
  int FWidth = 0, FHeight = 0;
  std::vector<uint8_t> FData;  // the file image, kept for saving
};

using TGraphicFactory = std::function<TGraphic*()>;

// Holds one graphic of any registered class; file formats register by extension.
class TPicture : public TPersistent {
  ORV_CLASS(TPicture)
public:
  TPicture() = default;
  ~TPicture() override;
  void Assign(TPersistent* source) override;
  TGraphic* Graphic() const { return FGraphic; }
  void SetGraphic(TGraphic* g);  // assigns a copy
  TBitmap* Bitmap();             // the graphic as a bitmap; replaces another graphic by an empty bitmap
  TIcon* Icon();
  bool HasGraphic() const { return FGraphic && !FGraphic->Empty(); }
  int GetWidth() const { return FGraphic ? FGraphic->GetWidth() : 0; }
  int GetHeight() const { return FGraphic ? FGraphic->GetHeight() : 0; }
  void LoadFromFile(const std::string& path);  // class by the file's extension
  void SaveToFile(const std::string& path) const;
  // kind is a registered extension ("png", "bmp") or graphic class name ("TPngPicture").
  void LoadFromData(const std::string& kind, const std::vector<uint8_t>& bytes);
  void LoadFromLayoutData(const TLayoutData& data) override { LoadFromData(data.Kind, data.Bytes); }
  std::function<void(TObject*)> OnChange;

  static void RegisterFileFormat(const std::string& ext, const std::string& description,
                                 const TClassInfo& cls, TGraphicFactory factory);
  static void UnregisterGraphicClass(const TClassInfo& cls);
  // The factory for an extension or class name; null when none is registered.
  static TGraphicFactory FindFormat(const std::string& extOrClassName);

private:
  void Changed();
  void Adopt(TGraphic* g);
  TGraphic* FGraphic = nullptr;
};

// ---- image list ----
class TImageList : public TComponent {
  ORV_CLASS(TImageList)
public:
  explicit TImageList(TComponent* owner);
  ~TImageList() override;
  HIMAGELIST Handle();
  int GetWidth() const { return FWidth; }
  void SetWidth(int v);
  int GetHeight() const { return FHeight; }
  void SetHeight(int v);
  TColor GetBkColor() const { return FBkColor; }
  void SetBkColor(TColor c);
  int Count();
  int Add(TBitmap* image, TBitmap* mask);
  int AddMasked(TBitmap* image, TColor maskColor);  // clDefault: the image's bottom-left pixel
  int AddIcon(TIcon* icon);
  void Clear();
  void Delete(int index);
  void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true);
  void GetBitmap(int index, TBitmap* target);
  // Layout: "Images = bmp 'file'" adds a strip of Width-wide images masked by its bottom-left pixel.
  void LoadStrip(const TLayoutData& d);
  std::function<void(TObject*)> OnChange;

private:
  void Recreate();
  HIMAGELIST FHandle = nullptr;
  int FWidth = 16, FHeight = 16;
  TColor FBkColor = clNone;
};

// Screen helpers.
int ScreenPixelsPerInch();
// Fills r of the DC with a colour (system colours resolved).
void FillSolidRect(HDC dc, const RECT& r, TColor c);
// The window's client rectangle in the coordinates of its window DC (origin at the window's top-left
// corner), as non-client painting wants it.
RECT ClientRectInWindow(HWND window);
