// The pictures the product shows, each painted from nothing but code and fixed seeds.
#pragma once

#include "Picture.h"
#include "PictureFiles.h"

#include <vector>

namespace tavren {

constexpr int CausticFrameCount = 32;
constexpr int CausticSize = 128;

// Sunlight focused by a moving wave surface: 32 frames that tile and loop.
std::vector<Picture> PaintCaustics();

// The dark strip behind the school, 1024 x 160, with a lit globe near its right end.
Picture PaintBackground();

// A side view of one fish on black, 405 x 257, laid out for the fish model's texture coordinates.
Picture PaintFishSkin();

// Blue-tinted sand that tiles, 256 x 256.
Picture PaintSand();

// The preview picture, 152 x 112: the fish of the skin picture on black.
Picture PaintPreview(const Picture& fishSkin);

// The command button's face skins, 64 x 25 each.
struct ButtonSkins {
    Picture Normal;
    Picture HighLight;
    Picture Pressed;
    Picture Disable;
    Picture Selected;
};
ButtonSkins PaintButtonSkins();

// The dialog's radio marks, 12 x 12, off and on.
Picture PaintRadioMark(bool on);

// The program icon at the given size, with alpha.
IconImage PaintIcon(int size);

} // namespace tavren
