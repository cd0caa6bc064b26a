#include "assets/FTextures.h"

#include "assets/FTga.h"

#include <GL/gl.h>

unsigned BlankTexture = 0;
unsigned TransparentTexture = 0;
unsigned CircleTexture = 0;

namespace {

std::vector<std::unique_ptr<TTexture>> cache;

std::string tgaPathOf(const std::string& path)
{
    if (path.size() < 3)
        return "tga";
    return path.substr(0, path.size() - 3) + "tga";
}

unsigned upload(const TTgaImage& image)
{
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    // The minifying filter is linear, so only the base level is ever sampled:
    // building a mipmap chain in GLU's software path (with a rescale of every
    // size that is not a power of two) only slowed the start.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (image.hasAlpha)
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, image.width, image.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     image.pixels.data());
    else
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, image.width, image.height, 0, GL_RGB, GL_UNSIGNED_BYTE,
                     image.pixels.data());
    return name;
}

}  // namespace

void InitTextures()
{
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
    if (std::optional<TTgaImage> image = readTga(tga))
        entry->textureId = upload(*image);
    cache.push_back(std::move(entry));
    return cache.back()->textureId;
}

void BindTexture(unsigned textureId)
{
    glBindTexture(GL_TEXTURE_2D, textureId);
}

const std::vector<std::unique_ptr<TTexture>>& textureCache()
{
    return cache;
}
