// FText's drawing half: the font atlases go to GL here, and text is drawn
// as indexed quads.
#include "interface/FText.h"

#include "interface/FFonts.h"

#include <GL/gl.h>

#include <vector>

namespace {

// Scratch geometry, reused by every text and only ever grown.
std::vector<GLfloat> vertices;
std::vector<GLfloat> texCoords;
std::vector<GLuint> indices;

// The atlas goes to GL the first time the font is drawn, so that fonts can
// be loaded and measured without a GL context.
void uploadAtlas(TFont& font)
{
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, 2, font.textureWidth, font.textureHeight, 0, GL_LUMINANCE_ALPHA,
                 GL_UNSIGNED_BYTE, font.texels.data());
    font.textureId = static_cast<std::int32_t>(name);
    font.texels.clear();
    font.texels.shrink_to_fit();
}

}  // namespace

void drawText(const std::string& text, int fontIndex)
{
    TFont* font = fontAt(fontIndex);
    if (!font || text.empty())
        return;
    if (font->textureId == 0)
        uploadAtlas(*font);

    vertices.clear();
    texCoords.clear();
    indices.clear();
    float pen = 0;
    for (unsigned char c : text) {
        bool drawn;
        const TGlyph* g = glyphOf(*font, c, &drawn);
        if (!g)
            continue;
        const float w = font->textureWidth * g->dx;
        const float h = font->textureHeight * g->dy;
        if (drawn) {
            const GLuint first = static_cast<GLuint>(vertices.size() / 2);
            vertices.insert(vertices.end(), {pen, 0, pen, h, pen + w, h, pen + w, 0});
            texCoords.insert(texCoords.end(), {g->tx1, g->ty1, g->tx1, g->ty2, g->tx2, g->ty2, g->tx2, g->ty1});
            indices.insert(indices.end(), {first, first + 1, first + 2, first + 3});
        }
        pen += w;
    }
    if (indices.empty())
        return;

    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(font->textureId));
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);

    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(2, GL_FLOAT, 0, vertices.data());
    glTexCoordPointer(2, GL_FLOAT, 0, texCoords.data());
    const GLsizei count = static_cast<GLsizei>(indices.size());

    // Shadow, then the stroke twice half a unit apart, which thickens it.
    glPushMatrix();
    glColor3f(0, 0, 0);
    glTranslatef(2, 2, 0);
    glDrawElements(GL_QUADS, count, GL_UNSIGNED_INT, indices.data());
    glColor4fv(colour);
    glTranslatef(-1.5f, -1.5f, 0);
    glDrawElements(GL_QUADS, count, GL_UNSIGNED_INT, indices.data());
    glTranslatef(-0.5f, 0, 0);
    glDrawElements(GL_QUADS, count, GL_UNSIGNED_INT, indices.data());
    glPopMatrix();

    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
}
