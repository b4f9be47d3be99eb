// The built-in bitmaps of the skin-form pack's styles, drawn in code: the "ButtonImage" strips of the
// five styles ("<STYLE>_BUTTON": three 74 x 21 frames, normal, pointer over, pressed, with
// magenta corners as the colour key) and the menus' check mark ("MENU_CHECKED", 16 x 16, black on
// white). Other names have no built-in picture.
#pragma once

#include <string>

#include "Graphics.h"

// Draws the named picture into `bitmap`; raises when there is no picture of that name.
void LoadSkinFormBitmap(const std::string& name, TBitmap* bitmap);
