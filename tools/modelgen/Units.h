// Units: the procedural descriptions of every model the game names (twenty
// unit types, the selection circles, the arrow) and of their textures.
#pragma once

#include "assets/FStructure.h"

#include <string>
#include <vector>

struct TGeneratedModel {
    std::string path;  // relative to the game folder, e.g. "Models/Units/Keep.mdx"
    MdxModel model;
};

struct TGeneratedTexture {
    std::string path;  // the .tga file, relative to the game folder
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgba;
};

std::vector<TGeneratedModel> buildAllModels();
std::vector<TGeneratedTexture> buildAllTextures();
