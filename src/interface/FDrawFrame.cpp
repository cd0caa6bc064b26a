#include "interface/FDrawFrame.h"

#include "assets/FTextures.h"
#include "interface/FLayout.h"
#include "interface/FText.h"
#include "interface/FXMLLoader.h"
#include "script/FLua.h"

#include <GL/gl.h>

namespace {

struct TRect {
    float x, y, w, h;
};

void beginTextured(unsigned textureId)
{
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    BindTexture(textureId);
}

void endTextured()
{
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
}

void straightQuad(TRect s, TRect t)
{
    glTexCoord2f(t.x, t.y + t.h);
    glVertex2f(s.x, s.y);
    glTexCoord2f(t.x + t.w, t.y + t.h);
    glVertex2f(s.x + s.w, s.y);
    glTexCoord2f(t.x + t.w, t.y);
    glVertex2f(s.x + s.w, s.y + s.h);
    glTexCoord2f(t.x, t.y);
    glVertex2f(s.x, s.y + s.h);
}

// The texture turned a quarter turn: horizontal edges from a vertical cell.
void turnedQuad(TRect s, TRect t)
{
    glTexCoord2f(t.x + t.w, t.y + t.h);
    glVertex2f(s.x, s.y);
    glTexCoord2f(t.x + t.w, t.y);
    glVertex2f(s.x + s.w, s.y);
    glTexCoord2f(t.x, t.y);
    glVertex2f(s.x + s.w, s.y + s.h);
    glTexCoord2f(t.x, t.y + t.h);
    glVertex2f(s.x, s.y + s.h);
}

// The image repeats once every ten border widths. Both pieces divide by the
// border size: without a positive one there is nothing sensible to draw.
void drawBackground(const FrameType& f)
{
    if (f.borderSize <= 0)
        return;
    const float b = static_cast<float>(f.borderSize);
    const float w = static_cast<float>(f.effectiveWidth), h = static_cast<float>(f.effectiveHeight);
    beginTextured(static_cast<unsigned>(f.backgroundTexture));
    glBegin(GL_QUADS);
    straightQuad({f.x + b / 2 - 2, f.y + b / 2 - 2, w - b + 5, h - b + 5}, {0, 0, (w - b) / b / 10, (h - b) / b / 10});
    glEnd();
    endTextured();
}

void drawBorder(const FrameType& f)
{
    if (f.borderSize <= 0)
        return;
    const int bi = f.borderSize;
    const float b = static_cast<float>(bi);
    const float x = static_cast<float>(f.x), y = static_cast<float>(f.y);
    const float w = static_cast<float>(f.effectiveWidth), h = static_cast<float>(f.effectiveHeight);
    const float n = static_cast<float>(f.effectiveWidth / bi - 2);
    const float m = static_cast<float>(f.effectiveHeight / bi - 2);
    beginTextured(static_cast<unsigned>(f.borderTexture));
    glBegin(GL_QUADS);
    turnedQuad({x + b, y, w - 2 * b, b}, {0.25f, 0, 0.125f, n});
    turnedQuad({x + b, y + h - b, w - 2 * b, b}, {0.375f, 0, 0.125f, n});
    straightQuad({x, y + b, b, h - 2 * b}, {0, 0, 0.125f, m});
    straightQuad({x + w - b, y + b, b, h - 2 * b}, {0.125f, 0, 0.125f, m});
    straightQuad({x, y, b, b}, {0.5f, 0, 0.125f, 1});
    straightQuad({x + w - b, y, b, b}, {0.625f, 0, 0.125f, 1});
    straightQuad({x, y + h - b, b, b}, {0.75f, 0, 0.125f, 1});
    straightQuad({x + w - b, y + h - b, b, b}, {0.875f, 0, 0.125f, 1});
    glEnd();
    endTextured();
}

void colourOf(const Component& c)
{
    glColor3f(c.red / 255.0f, c.green / 255.0f, c.blue / 255.0f);
}

void drawTexture(const TextureType& t)
{
    if (t.path.empty())
        return;
    beginTextured(static_cast<unsigned>(t.textureId));
    colourOf(t);
    const float x = static_cast<float>(t.x), y = static_cast<float>(t.y);
    const float w = static_cast<float>(t.effectiveWidth), h = static_cast<float>(t.effectiveHeight);
    glBegin(GL_QUADS);
    glTexCoord2f(t.left, 1 - t.top);
    glVertex2f(x, y);
    glTexCoord2f(t.right, 1 - t.top);
    glVertex2f(x + w, y);
    glTexCoord2f(t.right, 1 - t.bottom);
    glVertex2f(x + w, y + h);
    glTexCoord2f(t.left, 1 - t.bottom);
    glVertex2f(x, y + h);
    glEnd();
    glColor3f(1, 1, 1);
    endTextured();
}

void drawFontString(const FontStringType& s)
{
    glPushMatrix();
    colourOf(s);
    glTranslatef(static_cast<float>(s.x), static_cast<float>(s.y), 0);
    drawText(s.text, s.fontIndex);
    glColor3f(1, 1, 1);
    glPopMatrix();
}

FrameType* frameAt(int index)
{
    return index >= 0 && static_cast<std::size_t>(index) < frames.size() ? frames[static_cast<std::size_t>(index)].get()
                                                                          : nullptr;
}

}  // namespace

void drawFrame(int index)
{
    FrameType* f = frameAt(index);
    if (!f || f->hidden || f->isVirtual)
        return;
    if (!f->scripts.OnUpdate.empty()) {
        setGlobalString("self", f->name);
        const std::string handler = f->scripts.OnUpdate;
        runString(handler);
        f = frameAt(index);  // the handler may have run anything
        if (!f)
            return;
    }
    if (index != 0)
        layout(*f);
    if (!f->background.empty())
        drawBackground(*f);
    if (!f->border.empty())
        drawBorder(*f);
    for (std::int32_t t : f->textureList) {
        TextureType& texture = *textures[static_cast<std::size_t>(t)];
        if (texture.hidden)
            continue;
        layout(texture);
        drawTexture(texture);
    }
    for (std::int32_t s : f->fontStringList) {
        FontStringType& text = *fontStrings[static_cast<std::size_t>(s)];
        if (text.hidden)
            continue;
        const TTextExtent extent = textExtent(text.fontIndex, text.text);
        text.width = extent.width;
        text.height = extent.height;
        layout(text);
        drawFontString(text);
    }
    for (std::size_t i = 0; i < f->children.size(); ++i)
        drawFrame(f->children[i]);
}
