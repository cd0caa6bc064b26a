// FTextures' drawing half: a cached picture becomes a GL texture with its
// mipmaps the first time it is bound, and its decoded pixels are let go.
#include "assets/FTextures.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace {

GLuint upload(const TTgaImage& image)
{
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (image.hasAlpha)
        gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA, image.width, image.height, GL_RGBA, GL_UNSIGNED_BYTE,
                          image.pixels.data());
    else
        gluBuild2DMipmaps(GL_TEXTURE_2D, 3, image.width, image.height, GL_RGB, GL_UNSIGNED_BYTE, image.pixels.data());
    return name;
}

}  // namespace

void BindTexture(unsigned textureId)
{
    TTexture* entry = textureEntry(textureId);
    if (!entry) {
        glBindTexture(GL_TEXTURE_2D, 0);
        return;
    }
    if (entry->glName == 0 && entry->image) {
        entry->glName = upload(*entry->image);
        entry->image.reset();
    }
    glBindTexture(GL_TEXTURE_2D, entry->glName);
}
