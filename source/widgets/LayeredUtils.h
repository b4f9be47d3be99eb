// What the layered window and its controls share: their own placement type, class-library colours
// as GDI+ colours, the placement rules of pictures and captions, the layered-window update (which
// tests replace to see what is presented) and images from resources.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "GdiPlusObjects.h"
#include "Graphics.h"

// The layered widgets' own placement type, separate from the class library's TAlignment.
namespace LayeredUtils {
enum TAlignment : uint8_t {
  Alignment_TopLeft,
  Alignment_TopCenter,
  Alignment_TopRight,
  Alignment_MiddleLeft,
  Alignment_MiddleCenter,
  Alignment_MiddleRight,
  Alignment_BottomLeft,
  Alignment_BottomCenter,
  Alignment_BottomRight,
  Alignment_Center,  // as Alignment_MiddleCenter
  Alignment_Left,    // as Alignment_MiddleLeft
  Alignment_Right,   // as Alignment_MiddleRight
  Alignment_Custom
};
}  // namespace LayeredUtils
using TLayeredAlignment = LayeredUtils::TAlignment;
// The values read as the layouts name them.
using LayeredUtils::Alignment_TopLeft;
using LayeredUtils::Alignment_TopCenter;
using LayeredUtils::Alignment_TopRight;
using LayeredUtils::Alignment_MiddleLeft;
using LayeredUtils::Alignment_MiddleCenter;
using LayeredUtils::Alignment_MiddleRight;
using LayeredUtils::Alignment_BottomLeft;
using LayeredUtils::Alignment_BottomCenter;
using LayeredUtils::Alignment_BottomRight;
using LayeredUtils::Alignment_Center;
using LayeredUtils::Alignment_Left;
using LayeredUtils::Alignment_Right;
using LayeredUtils::Alignment_Custom;

// Names of the values for the property tables.
const std::vector<std::string>& LayeredAlignmentNames();

// 0x00BBGGRR plus alpha -> 0xAARRGGBB. The top byte of the colour is dropped: system colours are not
// resolved, so a caption colour must be an explicit RGB value.
ARGB ColorToARGB(TColor color, uint8_t alpha);

// Top-left corner of a picture of pw x ph inside w x h (halves truncated toward zero).
POINT AlignedOrigin(TLayeredAlignment align, int w, int h, int pw, int ph, int customX, int customY);
// GDI+ string alignments (0 near, 1 centre, 2 far) of a caption placement.
void CaptionAlignment(TLayeredAlignment align, int& horizontal, int& vertical);

// The layered-window update; empty restores the system's UpdateLayeredWindow.
using TUpdateLayeredWindowFn = std::function<BOOL(HWND window, HDC dest, POINT* position, SIZE* size, HDC source,
                                                  POINT* sourcePoint, COLORREF key, BLENDFUNCTION* blend,
                                                  DWORD flags)>;
void SetUpdateLayeredWindow(TUpdateLayeredWindowFn fn);
BOOL CallUpdateLayeredWindow(HWND window, HDC dest, POINT* position, SIZE* size, HDC source, POINT* sourcePoint,
                             COLORREF key, BLENDFUNCTION* blend, DWORD flags);

// A 4-byte blend record: source over, constant alpha 255, per-pixel source alpha.
BLENDFUNCTION DefaultLayeredBlend();

// Decodes a picture file. PNG files of at most 8 bits a sample, without a gamma chunk and with a
// transparent colour only in a palette go through our own codec, which needs none of the system's
// imaging codecs (they take a while to load, and the first window waits for its picture); other files
// go through GDI+. Never null; a file that cannot be read gives an image without a native object, as
// GDI+ does.
TGPImage* LoadImageFromFile(const std::string& path);
// Decodes the resource `name` of type `typeName` in `module` (null: the program) with GDI+; null when
// it is missing, empty or cannot be copied. The image owns the copy of the bytes.
TGPImage* LoadImageFromResource(const std::string& name, const std::string& typeName, HMODULE module);
