#include "SkPopupMenu.h"

#include <memory>

#include "SkBitmaps.h"

namespace {

std::unique_ptr<TImageList>& CheckedImages() {
  static std::unique_ptr<TImageList> list;
  return list;
}

struct TStartUp {
  TStartUp() {
    auto& list = CheckedImages();
    list.reset(new TImageList(nullptr));
    try {
      TBitmap check;
      LoadSkinFormBitmap("MENU_CHECKED", &check);
      list->SetWidth(check.GetWidth());
      list->SetHeight(check.GetHeight());
      list->AddMasked(&check, clWhite);
    } catch (...) {
      // Start-up goes on; a menu would then show its items without a check mark.
    }
  }
  ~TStartUp() { CheckedImages().reset(); }
};

const TStartUp gStartUp;

}  // namespace

TImageList* SkMenuCheckedImages() { return CheckedImages().get(); }
