// FTerrain: the ground, a flat square of 80 x 80 textured squares of 96
// world units at height 0 over the 7680 x 7680 map. Each square shows one
// picture of the tile atlas, drawn at random when the game starts; the
// ground carries no game data. Building the geometry and choosing the
// squares in view are headless (FTerrain.cpp); loading the atlas and drawing
// live in FTerrainDraw.cpp.
#pragma once

#include "assets/FMath3d.h"

#include <cstdint>
#include <random>
#include <string>
#include <vector>

// The tile atlas: 8 columns (4 when compact) by 4 rows of pictures.
struct TTile {
    std::string path;
    bool compact = false;
};

// The ground geometry: four 2-D vertices per square, square (i, j) at
// (i x 80 + j) x 8, i along x.
struct TSquares {
    std::vector<float> vertices;
    std::vector<float> texCoords;
};

constexpr int TerrainSquares = 80;     // on each axis
constexpr float TerrainSquareSize = 96;
extern const TTile GroundTile;

extern TSquares Squares;
extern unsigned TerrainTexture;
// The indices drawn by the last DrawTerrain.
extern std::vector<std::uint32_t> TerrainIndices;

// Fills the geometry with a random picture per square (columns 4 to 6 of
// the atlas, rows 0 to 3).
void BuildTerrain(TSquares& squares, const TTile& tile, std::mt19937& random);
// The vertex indices of the squares whose bounding sphere is in the frustum,
// four per square, rows along x outside.
void VisibleTerrainIndices(const TFrustum& frustum, std::vector<std::uint32_t>& indices);

// Loads the atlas and builds the ground (game start).
void InitTerrain();
// Draws the squares in view (camera matrices current).
void DrawTerrain();
