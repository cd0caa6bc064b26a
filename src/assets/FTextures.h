// FTextures: the texture cache. Turns an image path (".blp" names in the
// data, ".tga" files on disk) into a GL texture name, once per path, for the
// life of the process. Used by the interface, the cursor, models and terrain.
#pragma once

#include <memory>
#include <string>
#include <vector>

struct TTexture {
    std::string path;          // the requested path with "tga" as its last three characters
    unsigned textureId = 0;    // 0 when nothing could be loaded
};

extern unsigned BlankTexture;        // plain white: team colour and flat quads
extern unsigned TransparentTexture;  // team glow layers
extern unsigned CircleTexture;

// A new, empty cache, then the three shared textures.
void InitTextures();
// The cached name for `path`, loading and uploading the TGA on a miss; 0 for
// an empty path, a file that could not be loaded (cached too), or when there
// is no GL context to upload to.
unsigned LoadTexture(const std::string& path);
void BindTexture(unsigned textureId);

// The cache entries in load order, for diagnostics and tests.
const std::vector<std::unique_ptr<TTexture>>& textureCache();
