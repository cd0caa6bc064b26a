// A float RGBA canvas and the drawing helpers the procedural art is made
// with: fills, gradients, antialiased lines, discs and polygons, distance
// fields for shapes, and alpha compositing. Rows run from the top of the picture down. Used by
// vrax-texgen and the preview tool.
#pragma once

#include "ImageFile.h"

#include <functional>
#include <vector>

namespace raster {

// Straight (not premultiplied) colour, every component 0..1.
struct Rgba {
    float r = 0, g = 0, b = 0, a = 1;
};

Rgba rgb(int r, int g, int b, float a = 1.0f);  // from 0..255 components
Rgba mix(const Rgba& x, const Rgba& y, float t);
Rgba scaled(const Rgba& c, float factor);         // colour times factor, alpha kept
float smoothstep(float edge0, float edge1, float x);
float clamp01(float v);

struct Point {
    float x = 0, y = 0;
};

class Canvas {
public:
    Canvas() = default;
    Canvas(int width, int height, Rgba fill = {0, 0, 0, 0});
    int width() const { return width_; }
    int height() const { return height_; }
    Rgba& at(int x, int y) { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
    const Rgba& at(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    // Composites `source` over the pixel with the given extra coverage.
    void blend(int x, int y, const Rgba& source, float coverage = 1.0f);
    // Pastes `part` with its top-left corner at (x, y), replacing pixels.
    void paste(const Canvas& part, int x, int y);
    // Composites `part` over this canvas with its top-left corner at (x, y).
    void paint(const Canvas& part, int x, int y);
    imagefile::Image toImage(int channels) const;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<Rgba> pixels_;
};

// Calls `shader(x, y)` for every pixel centre and composites its result.
void shade(Canvas& canvas, const std::function<Rgba(float, float)>& shader);
void fillRect(Canvas& canvas, int x0, int y0, int x1, int y1, const Rgba& colour);
void verticalGradient(Canvas& canvas, int x0, int y0, int x1, int y1, const Rgba& top, const Rgba& bottom);
void drawLine(Canvas& canvas, Point a, Point b, float thickness, const Rgba& colour);
void drawDisc(Canvas& canvas, Point centre, float radius, const Rgba& colour, float softness = 1.0f);
void drawRing(Canvas& canvas, Point centre, float radius, float thickness, const Rgba& colour);
// Fills a polygon (any winding) with 4 x 4 supersampled coverage.
void fillPolygon(Canvas& canvas, const std::vector<Point>& polygon, const Rgba& colour);
// Darkens a rectangle's inner rim, fading out over `depth` pixels: a recess.
void innerShadow(Canvas& canvas, int x0, int y0, int x1, int y1, float depth, float strength);

// Distance from p to the polygon's outline: positive inside, negative outside.
float polygonDistance(const std::vector<Point>& polygon, Point p);
// Distance from p to the outline of a rectangle with rounded corners: positive inside.
float roundedRectDistance(float x0, float y0, float x1, float y1, float radius, Point p);

}  // namespace raster
