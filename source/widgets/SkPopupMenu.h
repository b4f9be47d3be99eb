// The skinned popup menu's unit. Its owner-drawn menu classes need the class library's menus, which
// this program does not place; what runs is the unit's start-up step: one shared image list with the
// check-mark picture ("MENU_CHECKED", white as the transparent colour), created when the program
// starts and freed when it ends.
#pragma once

#include "Graphics.h"

// The shared check-mark images (one image; empty when the picture could not be loaded).
TImageList* SkMenuCheckedImages();
