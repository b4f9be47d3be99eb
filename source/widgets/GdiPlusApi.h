// The GDI+ flat interface as the MinGW headers declare it (gdiplus.dll, imported statically), the
// few types the wrappers pass through it, and TGdiplusBase, whose objects live on GDI+'s own heap.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstddef>

#include "Component.h"

namespace GdipFlat = Gdiplus::DllExports;

using GpStatus = Gdiplus::GpStatus;
using GpUnit = Gdiplus::GpUnit;
using ARGB = Gdiplus::ARGB;
using TGPRect = Gdiplus::Rect;    // integer x, y, width, height
using TGPRectF = Gdiplus::RectF;  // real x, y, width, height
using TGPImageAttributes = Gdiplus::GpImageAttributes;
using TGPDrawImageAbort = Gdiplus::DrawImageAbort;

constexpr GpStatus GpOk = Gdiplus::Ok;
constexpr GpUnit GpUnitWorld = Gdiplus::UnitWorld;
constexpr GpUnit GpUnitPixel = Gdiplus::UnitPixel;

// String format flag that keeps a caption on one line.
constexpr int StringFormatFlagsNoWrap = 0x1000;
// Trimming with an ellipsis at a word boundary.
constexpr int StringTrimmingEllipsisWord = 4;

class TGdiplusBase : public TObject {
public:
  static void* operator new(size_t size);
  static void operator delete(void* p);
};
