#include "assets/FTextures.h"

unsigned BlankTexture = 0;
unsigned TransparentTexture = 0;
unsigned CircleTexture = 0;

namespace {

std::vector<std::unique_ptr<TTexture>> cache;
// The name of cache[0]. A new cache goes on from where the last one ended, so
// that a name kept from before (a cached model's) never means another picture.
unsigned firstName = 1;

std::string tgaPathOf(const std::string& path)
{
    if (path.size() < 3)
        return "tga";
    return path.substr(0, path.size() - 3) + "tga";
}

}  // namespace

void InitTextures()
{
    firstName += static_cast<unsigned>(cache.size());
    cache.clear();
    BlankTexture = LoadTexture("Textures/Shared/Blank.blp");
    TransparentTexture = LoadTexture("Textures/Shared/Transparent.blp");
    CircleTexture = LoadTexture("Textures/Shared/Circle.blp");
}

unsigned LoadTexture(const std::string& path)
{
    if (path.empty())
        return 0;
    const std::string tga = tgaPathOf(path);
    for (const std::unique_ptr<TTexture>& entry : cache)
        if (entry->path == tga)
            return entry->textureId;

    auto entry = std::make_unique<TTexture>();
    entry->path = tga;
    entry->image = readTga(tga);
    if (entry->image)
        entry->textureId = firstName + static_cast<unsigned>(cache.size());
    cache.push_back(std::move(entry));
    return cache.back()->textureId;
}

const std::vector<std::unique_ptr<TTexture>>& textureCache()
{
    return cache;
}

TTexture* textureEntry(unsigned textureId)
{
    if (textureId < firstName || textureId - firstName >= cache.size())
        return nullptr;
    return cache[textureId - firstName].get();
}
