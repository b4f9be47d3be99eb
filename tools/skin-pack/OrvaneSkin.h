// The program's own skin, drawn from plain shapes and colours: a description (skin.ini) and the
// bitmaps it names, written into a folder that the pack command then turns into a skin file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A 24-bit picture for drawing skin images; pixels are 0xRRGGBB.
class TPixels {
public:
  TPixels(int width, int height, uint32_t fill);
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  void Set(int x, int y, uint32_t rgb);
  uint32_t Get(int x, int y) const { return FPixels[size_t(y * FWidth + x)]; }
  void Fill(int left, int top, int right, int bottom, uint32_t rgb);  // right/bottom exclusive
  void Frame(int left, int top, int right, int bottom, uint32_t rgb);
  // Vertical gradient from `from` at the top to `to` at the bottom.
  void Gradient(int left, int top, int right, int bottom, uint32_t from, uint32_t to);
  std::vector<uint8_t> ToBmp() const;  // a bottom-up 24-bit BMP file

private:
  int FWidth, FHeight;
  std::vector<uint32_t> FPixels;
};

struct TSkinFile {
  std::string Name;
  std::vector<uint8_t> Bytes;
};
// skin.ini first, then the bitmaps.
std::vector<TSkinFile> DrawOrvaneSkin();
// The pictures the skin engine loads from the program's own resources when a skin lacks them:
// TRACK.bmp and TRACKVERT.bmp (the track-bar grooves) and TARNWICKMENU.bmp (the system menu's glyphs).
std::vector<TSkinFile> DrawEngineBitmaps();
