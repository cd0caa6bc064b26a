// FTextures: the texture cache. Turns an image path (".blp" names in the
// data, ".tga" files on disk) into a texture name, once per path, for the
// life of the process. Loading only decodes, so the cache works without a GL
// context; the picture goes to GL the first time it is bound (FTexturesDraw).
// Used by the interface, the cursor, models and terrain.
#pragma once

#include "assets/FTga.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

struct TTexture {
    std::string path;          // the requested path with "tga" as its last three characters
    unsigned textureId = 0;    // the cache's name, never 0 and never reused; 0 when nothing could be loaded
    std::optional<TTgaImage> image;  // the decoded picture, until it is uploaded
    unsigned glName = 0;       // the GL texture, once bound
};

extern unsigned BlankTexture;        // plain white: team colour and flat quads
extern unsigned TransparentTexture;  // team glow layers
extern unsigned CircleTexture;

// A new, empty cache, then the three shared textures.
void InitTextures();
// The cached name for `path`, reading and decoding the TGA on a miss; 0 for
// an empty path or a file that could not be loaded (cached too).
unsigned LoadTexture(const std::string& path);
// Binds the texture of that name to GL's 2-D target, uploading it on its
// first bind; name 0 unbinds (FTexturesDraw).
void BindTexture(unsigned textureId);

// The cache entries in load order, for diagnostics and tests.
const std::vector<std::unique_ptr<TTexture>>& textureCache();
// The entry of a name; null for 0 and for names the cache never gave.
TTexture* textureEntry(unsigned textureId);
