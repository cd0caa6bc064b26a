#include "Raster.h"

#include <algorithm>
#include <cmath>

namespace raster {

namespace {

float segmentDistance(Point p, Point a, Point b)
{
    const float dx = b.x - a.x;
    const float dy = b.y - a.y;
    const float lengthSquared = dx * dx + dy * dy;
    float t = lengthSquared > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSquared : 0;
    t = clamp01(t);
    const float ex = p.x - (a.x + t * dx);
    const float ey = p.y - (a.y + t * dy);
    return std::sqrt(ex * ex + ey * ey);
}

}  // namespace

Rgba rgb(int r, int g, int b, float a)
{
    return {r / 255.0f, g / 255.0f, b / 255.0f, a};
}

Rgba mix(const Rgba& x, const Rgba& y, float t)
{
    return {x.r + (y.r - x.r) * t, x.g + (y.g - x.g) * t, x.b + (y.b - x.b) * t, x.a + (y.a - x.a) * t};
}

Rgba scaled(const Rgba& c, float factor)
{
    return {clamp01(c.r * factor), clamp01(c.g * factor), clamp01(c.b * factor), c.a};
}

float clamp01(float v)
{
    return v < 0 ? 0 : (v > 1 ? 1 : v);
}

float smoothstep(float edge0, float edge1, float x)
{
    const float t = clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3 - 2 * t);
}

Canvas::Canvas(int width, int height, Rgba fill)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height, fill)
{
}

void Canvas::blend(int x, int y, const Rgba& source, float coverage)
{
    if (!contains(x, y))
        return;
    Rgba& d = at(x, y);
    const float sa = clamp01(source.a * coverage);
    if (sa <= 0)
        return;
    const float outA = sa + d.a * (1 - sa);
    if (outA <= 0) {
        d = {0, 0, 0, 0};
        return;
    }
    const float keep = d.a * (1 - sa);
    d.r = (source.r * sa + d.r * keep) / outA;
    d.g = (source.g * sa + d.g * keep) / outA;
    d.b = (source.b * sa + d.b * keep) / outA;
    d.a = outA;
}

void Canvas::paste(const Canvas& part, int x, int y)
{
    for (int j = 0; j < part.height(); ++j)
        for (int i = 0; i < part.width(); ++i)
            if (contains(x + i, y + j))
                at(x + i, y + j) = part.at(i, j);
}

void Canvas::paint(const Canvas& part, int x, int y)
{
    for (int j = 0; j < part.height(); ++j)
        for (int i = 0; i < part.width(); ++i)
            blend(x + i, y + j, part.at(i, j));
}

imagefile::Image Canvas::toImage(int channels) const
{
    imagefile::Image image(width_, height_, channels);
    const auto byte = [](float v) { return static_cast<std::uint8_t>(std::lround(clamp01(v) * 255.0f)); };
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            const Rgba& p = at(x, y);
            std::uint8_t* q = image.at(x, y);
            q[0] = byte(p.r);
            q[1] = byte(p.g);
            q[2] = byte(p.b);
            if (channels == 4)
                q[3] = byte(p.a);
        }
    return image;
}

void shade(Canvas& canvas, const std::function<Rgba(float, float)>& shader)
{
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            canvas.blend(x, y, shader(x + 0.5f, y + 0.5f));
}

void fillRect(Canvas& canvas, int x0, int y0, int x1, int y1, const Rgba& colour)
{
    for (int y = std::max(0, y0); y < std::min(canvas.height(), y1); ++y)
        for (int x = std::max(0, x0); x < std::min(canvas.width(), x1); ++x)
            canvas.blend(x, y, colour);
}

void verticalGradient(Canvas& canvas, int x0, int y0, int x1, int y1, const Rgba& top, const Rgba& bottom)
{
    const float span = static_cast<float>(std::max(1, y1 - y0 - 1));
    for (int y = std::max(0, y0); y < std::min(canvas.height(), y1); ++y) {
        const Rgba c = mix(top, bottom, (y - y0) / span);
        for (int x = std::max(0, x0); x < std::min(canvas.width(), x1); ++x)
            canvas.blend(x, y, c);
    }
}

void drawLine(Canvas& canvas, Point a, Point b, float thickness, const Rgba& colour)
{
    const float reach = thickness * 0.5f + 1.0f;
    const int x0 = static_cast<int>(std::floor(std::min(a.x, b.x) - reach));
    const int x1 = static_cast<int>(std::ceil(std::max(a.x, b.x) + reach));
    const int y0 = static_cast<int>(std::floor(std::min(a.y, b.y) - reach));
    const int y1 = static_cast<int>(std::ceil(std::max(a.y, b.y) + reach));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const float d = segmentDistance({x + 0.5f, y + 0.5f}, a, b);
            const float coverage = clamp01(thickness * 0.5f + 0.5f - d);
            if (coverage > 0)
                canvas.blend(x, y, colour, coverage);
        }
}

void drawDisc(Canvas& canvas, Point centre, float radius, const Rgba& colour, float softness)
{
    const float reach = radius + softness + 1;
    for (int y = static_cast<int>(centre.y - reach); y <= static_cast<int>(centre.y + reach); ++y)
        for (int x = static_cast<int>(centre.x - reach); x <= static_cast<int>(centre.x + reach); ++x) {
            const float d = std::hypot(x + 0.5f - centre.x, y + 0.5f - centre.y);
            const float coverage = clamp01((radius - d) / softness + 0.5f);
            if (coverage > 0)
                canvas.blend(x, y, colour, coverage);
        }
}

void drawRing(Canvas& canvas, Point centre, float radius, float thickness, const Rgba& colour)
{
    const float reach = radius + thickness + 1;
    for (int y = static_cast<int>(centre.y - reach); y <= static_cast<int>(centre.y + reach); ++y)
        for (int x = static_cast<int>(centre.x - reach); x <= static_cast<int>(centre.x + reach); ++x) {
            const float d = std::fabs(std::hypot(x + 0.5f - centre.x, y + 0.5f - centre.y) - radius);
            const float coverage = clamp01(thickness * 0.5f + 0.5f - d);
            if (coverage > 0)
                canvas.blend(x, y, colour, coverage);
        }
}

namespace {

bool insidePolygon(const std::vector<Point>& polygon, float x, float y)
{
    bool inside = false;
    for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        const Point& a = polygon[i];
        const Point& b = polygon[j];
        if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x)
            inside = !inside;
    }
    return inside;
}

}  // namespace

float polygonDistance(const std::vector<Point>& polygon, Point p)
{
    float nearest = 1e30f;
    for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++)
        nearest = std::min(nearest, segmentDistance(p, polygon[j], polygon[i]));
    return insidePolygon(polygon, p.x, p.y) ? nearest : -nearest;
}

float roundedRectDistance(float x0, float y0, float x1, float y1, float radius, Point p)
{
    // Distance to the inner rectangle shrunk by the radius, minus the radius.
    const float cx = std::clamp(p.x, x0 + radius, x1 - radius);
    const float cy = std::clamp(p.y, y0 + radius, y1 - radius);
    const float dx = p.x - cx;
    const float dy = p.y - cy;
    if (dx == 0 && dy == 0)
        return radius + std::min(std::min(p.x - x0 - radius, x1 - radius - p.x),
                                 std::min(p.y - y0 - radius, y1 - radius - p.y));
    return radius - std::sqrt(dx * dx + dy * dy);
}

void fillPolygon(Canvas& canvas, const std::vector<Point>& polygon, const Rgba& colour)
{
    if (polygon.size() < 3)
        return;
    float minX = polygon[0].x, maxX = polygon[0].x, minY = polygon[0].y, maxY = polygon[0].y;
    for (const Point& p : polygon) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    constexpr int Samples = 4;
    for (int y = static_cast<int>(std::floor(minY)); y <= static_cast<int>(std::ceil(maxY)); ++y)
        for (int x = static_cast<int>(std::floor(minX)); x <= static_cast<int>(std::ceil(maxX)); ++x) {
            int hits = 0;
            for (int sy = 0; sy < Samples; ++sy)
                for (int sx = 0; sx < Samples; ++sx)
                    hits += insidePolygon(polygon, x + (sx + 0.5f) / Samples, y + (sy + 0.5f) / Samples);
            if (hits)
                canvas.blend(x, y, colour, static_cast<float>(hits) / (Samples * Samples));
        }
}

void innerShadow(Canvas& canvas, int x0, int y0, int x1, int y1, float depth, float strength)
{
    for (int y = std::max(0, y0); y < std::min(canvas.height(), y1); ++y)
        for (int x = std::max(0, x0); x < std::min(canvas.width(), x1); ++x) {
            const float nearest = std::min(std::min(x - x0 + 0.5f, y - y0 + 0.5f),
                                           std::min(x1 - x - 0.5f, y1 - y - 0.5f));
            if (nearest >= depth)
                continue;
            const float weight = 1.0f - nearest / depth;
            Rgba& p = canvas.at(x, y);
            p = scaled(p, 1.0f - strength * weight * weight);
        }
}

}  // namespace raster
