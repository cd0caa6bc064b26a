#include "game/FFormation.h"

#include <cmath>
#include <numbers>

namespace {

struct Offset {
    double x = 0;
    double y = 0;
};

// Rows across the move, the first members in front; integer halving truncates.
Offset gridShape(int i, int n, int spacing)
{
    int columns = 2;
    while (columns * columns < n)
        ++columns;
    const int rows = n / columns;
    const int row = i / columns;
    const int inRow = row == rows ? (n - 1) % columns + 1 : columns;
    return {static_cast<double>(spacing * row - spacing * (rows + 1) / 2),
            static_cast<double>(spacing * inRow / 2 - spacing * (i % columns))};
}

Offset curveShape(int i, int n)
{
    const double t = (2.0 * i + 2.0) * std::numbers::pi / n;
    const double c = std::cos(t);
    return {std::round(std::pow(std::sin(t), 3) * n * 1.5), std::round(n * 1.5 * (c - std::pow(c, 4)))};
}

// The direction of the move as the slots are turned; a move onto the centre
// itself has none and is taken as facing along x, as a move due east is.
double moveAngle(TCell centre, TCell base)
{
    const double across = static_cast<double>(centre.y) - base.y;
    const double along = static_cast<double>(base.x) - centre.x;
    double angle = across == 0 && along == 0 ? 0.0 : std::atan(across / along);
    if (centre.x <= base.x)
        angle += std::numbers::pi;
    if (angle < 0)
        angle += 2 * std::numbers::pi;
    return angle;
}

}  // namespace

TCell FormationSlot(int i, int n, int spacing, TCell centre, TCell base, bool curve)
{
    double angle = moveAngle(centre, base);
    Offset off;
    if (n >= 2) {
        if (curve) {
            off = curveShape(i, n);
            angle += std::numbers::pi / 2;
        } else {
            off = gridShape(i, n, spacing);
        }
    }
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    return TCell{base.x + static_cast<std::int32_t>(std::lround(c * off.x + s * off.y)),
                 base.y + static_cast<std::int32_t>(std::lround(-s * off.x + c * off.y))};
}
