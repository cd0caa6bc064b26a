#include "interface/FLayout.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

constexpr int DesignWidth = 1600;
constexpr int DesignHeight = 1200;

// Scripts may set any size or offset: sums are taken wide and clamped so
// that no value wraps.
int clamp32(std::int64_t v)
{
    return static_cast<int>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                     std::numeric_limits<std::int32_t>::max()));
}

template <typename Declared>
int effectiveOf(const Component& e, Declared declared, int rootValue)
{
    const Component* c = &e;
    // Parent chains end at the root; the bound guards against a damaged one.
    for (std::size_t steps = 0; steps <= frames.size(); ++steps) {
        if (declared(*c) != -1)
            return declared(*c);
        if (c->parent < 0 || static_cast<std::size_t>(c->parent) >= frames.size())
            break;
        c = frames[static_cast<std::size_t>(c->parent)].get();
    }
    return rootValue;
}

}  // namespace

int effectiveWidthOf(const Component& e)
{
    return effectiveOf(e, [](const Component& c) { return c.width; }, DesignWidth);
}

int effectiveHeightOf(const Component& e)
{
    return effectiveOf(e, [](const Component& c) { return c.height; }, DesignHeight);
}

TPoint anchorOffset(int point, int w, int h)
{
    switch (point) {
    case AnchorTop: return {w / 2, 0};
    case AnchorBottom: return {w / 2, h};
    case AnchorLeft: return {0, h / 2};
    case AnchorRight: return {w, h / 2};
    case AnchorCenter: return {w / 2, h / 2};
    case AnchorBottomLeft: return {0, h};
    case AnchorTopRight: return {w, 0};
    case AnchorBottomRight: return {w, h};
    default: return {0, 0};
    }
}

void layout(Component& e)
{
    const Component* r = componentAt(e.relativeKind, e.relativeIndex);
    if (!r && !frames.empty())
        r = frames[0].get();
    e.effectiveWidth = effectiveWidthOf(e);
    e.effectiveHeight = effectiveHeightOf(e);
    const TPoint self = anchorOffset(e.point, e.effectiveWidth, e.effectiveHeight);
    TPoint there;
    std::int64_t x = e.offsetX, y = e.offsetY;
    if (r) {
        there = anchorOffset(e.relativePoint, effectiveWidthOf(*r), effectiveHeightOf(*r));
        x += r->x;
        y += r->y;
    }
    e.x = clamp32(x + there.x - self.x);
    e.y = clamp32(y + there.y - self.y);
}
