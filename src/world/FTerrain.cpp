#include "world/FTerrain.h"

const TTile GroundTile{"Textures/Terrain/Ashen_Grass.blp", false};

TSquares Squares;
unsigned TerrainTexture = 0;
std::vector<std::uint32_t> TerrainIndices;

namespace {

void fillSquare(TSquares& squares, int i, int j, int column, int row, int columns)
{
    const float x0 = TerrainSquareSize * i, x1 = TerrainSquareSize * (i + 1);
    const float y0 = TerrainSquareSize * j, y1 = TerrainSquareSize * (j + 1);
    const float s0 = static_cast<float>(column) / columns, s1 = static_cast<float>(column + 1) / columns;
    const float t0 = row / 4.0f, t1 = (row + 1) / 4.0f;
    const std::size_t at = static_cast<std::size_t>(i * TerrainSquares + j) * 8;
    const float v[8] = {x0, y1, x1, y1, x1, y0, x0, y0};
    const float t[8] = {s0, t1, s1, t1, s1, t0, s0, t0};
    for (int k = 0; k < 8; ++k) {
        squares.vertices[at + k] = v[k];
        squares.texCoords[at + k] = t[k];
    }
}

}  // namespace

void BuildTerrain(TSquares& squares, const TTile& tile, std::mt19937& random)
{
    const std::size_t floats = static_cast<std::size_t>(TerrainSquares) * TerrainSquares * 8;
    squares.vertices.assign(floats, 0);
    squares.texCoords.assign(floats, 0);
    const int columns = tile.compact ? 4 : 8;
    std::uniform_int_distribution<int> picture(0, 22), row(0, 3);
    for (int i = 0; i < TerrainSquares; ++i)
        for (int j = 0; j < TerrainSquares; ++j) {
            const int a = picture(random);
            const int b = row(random);
            // Mostly the plain grass; now and then pebbles (21) or flowers (22).
            fillSquare(squares, i, j, a < 21 ? 4 : a - 16, b, columns);
        }
}

void VisibleTerrainIndices(const TFrustum& frustum, std::vector<std::uint32_t>& indices)
{
    // Half a square's diagonal.
    const float radius = TerrainSquareSize * 0.70710678f;
    indices.clear();
    indices.reserve(static_cast<std::size_t>(TerrainSquares) * TerrainSquares * 4);
    for (int j = 0; j < TerrainSquares; ++j)
        for (int k = 0; k < TerrainSquares; ++k) {
            const TVec3 centre{(j + 0.5f) * TerrainSquareSize, (k + 0.5f) * TerrainSquareSize, 0};
            if (!sphereInFrustum(frustum, centre, radius))
                continue;
            const std::uint32_t s = static_cast<std::uint32_t>(j * TerrainSquares + k);
            for (std::uint32_t n = 0; n < 4; ++n)
                indices.push_back(4 * s + n);
        }
}
