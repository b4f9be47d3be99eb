// The built-in pictures of the skin-form pack's styles, drawn by tools/artwork/make_styles.py and
// embedded from resources/pictures/styles/<NAME>.bmp: the "<STYLE>_BUTTON" strips (three 74 x 21
// frames), check boxes, radio buttons, title bars and their buttons, progress, track and scroll bars,
// check lists, scroll buttons, tabs, side channels, the menus' check mark ("MENU_CHECKED", 16 x 16,
// black on white) and the MacOS menu pictures. Magenta is their key colour.
#pragma once

#include <string>

#include "Graphics.h"

// Loads the named picture into `bitmap`; raises when there is no picture of that name.
void LoadSkinFormBitmap(const std::string& name, TBitmap* bitmap);
