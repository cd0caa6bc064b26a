// Interface widgets (Textures/Interface/Buttons/ and Widgets/): bevelled
// buttons in their states, text-field and list backgrounds, a selection bar,
// a progress trough and fill, the frame laid over icons and the shade over
// an icon that cannot be used yet. All are drawn
// stretched over their element, upright as painted.
#include "Noise.h"
#include "Relief.h"
#include "TexGen.h"

#include <cmath>

namespace texgen {

using namespace raster;

namespace {

const Rgba Gold = rgb(200, 154, 66);
const Rgba DarkLine = rgb(22, 15, 9);

enum class ButtonState { Normal, Highlighted, Pushed, Disabled };

// A plate with rounded corners: dark outline, gilded rim, a raised face
// (sunken when pushed) of dark reddish stone.
Canvas button(int width, int height, ButtonState state, float radius)
{
    const ValueNoise noise(81, 4);
    const bool pushed = state == ButtonState::Pushed;
    Rgba top = rgb(82, 60, 50), bottom = rgb(40, 28, 26);
    Rgba rim = Gold;
    if (state == ButtonState::Highlighted) {
        top = rgb(128, 92, 60);
        bottom = rgb(66, 44, 32);
        rim = rgb(236, 190, 96);
    } else if (pushed) {
        top = rgb(30, 22, 20);
        bottom = rgb(56, 40, 34);
    } else if (state == ButtonState::Disabled) {
        top = rgb(58, 56, 54);
        bottom = rgb(34, 33, 32);
        rim = rgb(110, 104, 94);
    }
    const float w = static_cast<float>(width), h = static_cast<float>(height);
    const float rimWidth = std::max(3.0f, h / 12);
    return relief(width, height, [&](float x, float y) -> Surface {
        const float e = roundedRectDistance(0, 0, w, h, radius, {x, y});
        if (e < 0)
            return {};
        const float edgeAlpha = clamp01(e + 0.5f);
        if (e < 1.5f)
            return {0, {DarkLine.r, DarkLine.g, DarkLine.b, edgeAlpha}, 0};
        if (e < 1.5f + rimWidth)
            return {2.5f * bump(e, 1.5f, 1.5f + rimWidth), rim, 0.9f};
        if (e < 2.5f + rimWidth)
            return {0, DarkLine, 0};
        const float u = x / w, v = y / h;
        Rgba face = mix(top, bottom, v);
        face = scaled(face, 0.85f + 0.3f * noise.fbm(u, v, 4, 0.5f, 4, 1));
        if (state == ButtonState::Highlighted)  // warm glow from the middle
            face = mix(face, rgb(200, 140, 70), 0.35f * (1 - smoothstep(0, 0.6f, std::fabs(u - 0.5f) * 1.4f +
                                                                                  std::fabs(v - 0.5f))));
        const float pillow = smoothstep(2.5f + rimWidth, 2.5f + rimWidth + h / 5, e);
        return {(pushed ? -1.8f : 1.8f) * pillow, face, 0.15f};
    });
}

// A sunken dark field with a thin gilded edge: text input, list, progress trough.
Canvas inset(int width, int height, float alpha, float radius)
{
    const ValueNoise noise(82, 4);
    const float w = static_cast<float>(width), h = static_cast<float>(height);
    return relief(width, height, [&](float x, float y) -> Surface {
        const float e = roundedRectDistance(0, 0, w, h, radius, {x, y});
        if (e < 0)
            return {};
        if (e < 1)
            return {0, {DarkLine.r, DarkLine.g, DarkLine.b, clamp01(e + 0.5f)}, 0};
        if (e < 3)
            return {1.5f * bump(e, 1, 3), rgb(150, 116, 56), 0.6f};
        Rgba face = scaled(rgb(26, 21, 19), 0.8f + 0.4f * noise.fbm(x / w, y / h, 3, 0.5f, 4, 1));
        // The field sinks under the rim: shaded along the top and left.
        face = scaled(face, 0.55f + 0.45f * smoothstep(3, 9, std::min(x, y)));
        face.a = alpha;
        return {0, face, 0};
    });
}

Canvas selectionBar(int width, int height)
{
    Canvas c(width, height);
    shade(c, [&](float x, float y) {
        const float v = std::fabs(2 * y / height - 1);
        const float u = std::fabs(2 * x / width - 1);
        return Rgba{0.86f, 0.64f, 0.3f, 0.5f * (1 - v * v) * (1 - smoothstep(0.7f, 1.0f, u))};
    });
    return c;
}

Canvas progressFill(int width, int height)
{
    Canvas c(width, height);
    verticalGradient(c, 0, 0, width, height, rgb(250, 210, 110), rgb(150, 80, 20));
    // Diagonal bands and a glossy top, like hot metal poured into a mould.
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            Rgba& p = c.at(x, y);
            const bool band = ((x + y) / 12) % 2 == 0;
            p = scaled(p, band ? 1.05f : 0.88f);
            if (y < height / 3)
                p = mix(p, {1, 0.96f, 0.8f, 1}, 0.35f * (1 - 3.0f * y / height));
        }
    innerShadow(c, 0, 0, width, height, 3, 0.6f);
    return c;
}

// Gold frame for portraits and command icons; the middle stays transparent.
Canvas iconFrame(int size)
{
    const float s = static_cast<float>(size);
    return relief(size, size, [&](float x, float y) -> Surface {
        const float e = std::min(std::min(x, y), std::min(s - x, s - y));
        if (e < 1)
            return {0, DarkLine, 0};
        if (e < 5)
            return {2.0f * bump(e, 1, 5), Gold, 0.9f};
        if (e < 6)
            return {0, DarkLine, 0};
        return {0, {0, 0, 0, 0.5f * (1 - smoothstep(6, 11, e))}, 0};
    });
}

Canvas iconHighlight(int size)
{
    Canvas c(size, size);
    shade(c, [&](float x, float y) {
        const float e = std::min(std::min(x, y), std::min(size - x, size - y));
        return Rgba{1, 0.85f, 0.45f, 0.75f * (1 - smoothstep(2, 14, e))};
    });
    return c;
}

}  // namespace

void makeWidgets(Output& out)
{
    out.save("Textures/Interface/Buttons/Button.tga", button(256, 64, ButtonState::Normal, 8), 4);
    out.save("Textures/Interface/Buttons/ButtonHighlight.tga", button(256, 64, ButtonState::Highlighted, 8), 4);
    out.save("Textures/Interface/Buttons/ButtonPushed.tga", button(256, 64, ButtonState::Pushed, 8), 4);
    out.save("Textures/Interface/Buttons/ButtonDisabled.tga", button(256, 64, ButtonState::Disabled, 8), 4);
    out.save("Textures/Interface/Buttons/SquareButton.tga", button(64, 64, ButtonState::Normal, 6), 4);
    out.save("Textures/Interface/Buttons/SquareButtonHighlight.tga", button(64, 64, ButtonState::Highlighted, 6), 4);
    out.save("Textures/Interface/Buttons/SquareButtonPushed.tga", button(64, 64, ButtonState::Pushed, 6), 4);
    out.save("Textures/Interface/Buttons/IconFrame.tga", iconFrame(64), 4);
    out.save("Textures/Interface/Buttons/IconHighlight.tga", iconHighlight(64), 4);

    out.save("Textures/Interface/Widgets/EditBox.tga", inset(256, 32, 0.92f, 4), 4);
    out.save("Textures/Interface/Widgets/ListBox.tga", inset(256, 256, 0.85f, 6), 4);
    out.save("Textures/Interface/Widgets/ListHighlight.tga", selectionBar(256, 32), 4);
    out.save("Textures/Interface/Widgets/ProgressBar.tga", inset(256, 32, 0.95f, 4), 4);
    out.save("Textures/Interface/Widgets/ProgressFill.tga", progressFill(256, 32), 4);
    // Laid over an icon while its ability cools down or cannot be paid for.
    out.save("Textures/Interface/Widgets/Shade.tga", Canvas(8, 8, {0.02f, 0.02f, 0.04f, 0.62f}), 4);
}

}  // namespace texgen
