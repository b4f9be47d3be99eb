#include "GdiPlusApi.h"

#include <new>

void* TGdiplusBase::operator new(size_t size) {
  void* p = GdipFlat::GdipAlloc(size);
  if (!p) throw std::bad_alloc();
  return p;
}

void TGdiplusBase::operator delete(void* p) {
  if (p) GdipFlat::GdipFree(p);
}
