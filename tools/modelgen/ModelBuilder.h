// ModelBuilder: assembles an MdxModel from simple solids bound to bones, a
// swatch atlas for colour, and keyframes per sequence. The unit builders
// (Units.cpp) describe each model with it; MdxWriter saves the result.
#pragma once

#include "assets/FStructure.h"

#include <string>

// Columns of the swatch atlas: one colour each, four shades down the rows
// (top-lit, front/back, sides, underneath) so flat faces still read as solids.
constexpr int AtlasColumns = 8;
constexpr int AtlasRows = 4;
constexpr int AtlasCell = 16;

// Sequence intervals shared by every unit model (ms).
struct TSpan {
    int start, end;
};
constexpr TSpan StandSpan{1000, 3400};
constexpr TSpan Stand2Span{4000, 7000};
constexpr TSpan ReadySpan{8000, 9000};
constexpr TSpan WalkSpan{10000, 10800};
constexpr TSpan AttackSpan{12000, 13000};
constexpr TSpan DeathSpan{14000, 16000};
constexpr TSpan UnitBirthSpan{18000, 19000};
constexpr TSpan BuildingBirthSpan{18000, 78000};

TQuat axisAngle(float ax, float ay, float az, float degrees);

class ModelBuilder {
public:
    explicit ModelBuilder(const std::string& name);

    MdxModel model;

    int texture(int replaceableId, const std::string& path);
    // A material of one layer per texture given (the first drawn first).
    int material(std::initializer_list<int> textures, int filterMode = FilterNone);
    int geoset(int material, int selectionFlags = 0);
    int bone(const std::string& name, int parent, TVec3 pivot);
    int helper(const std::string& name, int parent, TVec3 pivot);
    NodeChunk& node(int objectId);

    // Solids, every vertex bound to `boneId`; `swatch` is an atlas column.
    void box(int g, int boneId, TVec3 lo, TVec3 hi, int swatch);
    // A ring of `sides` from radius r0 at z0 to r1 at z1 around (cx, cy); capped ends.
    void prism(int g, int boneId, TVec3 base, float r0, float r1, float height, int sides, int swatch);
    // Same along the x axis (shafts, spears, logs lying down).
    void prismX(int g, int boneId, TVec3 base, float r0, float r1, float length, int sides, int swatch);
    void sphere(int g, int boneId, TVec3 centre, TVec3 radii, int swatch);
    // A gable roof over the rectangle lo..hi (at lo.z), its ridge along x at lo.z + rise.
    void gable(int g, int boneId, TVec3 lo, TVec3 hi, float rise, int swatch);
    // A flat ring in the ground plane.
    void ring(int g, int boneId, float inner, float outer, float z, int segments);

    void sequence(const std::string& name, TSpan span, float rarity, bool looping, float moveSpeed = 0);

    // Keys: rotation about an axis in degrees, translation, scaling; linear unless hermite.
    void rotate(int objectId, int time, TVec3 axis, float degrees, bool hermite = false);
    void move(int objectId, int time, TVec3 offset, bool hermite = false);
    void grow(int objectId, int time, TVec3 factors);

    // Extents, matrix groups, face groups and the closing keys; call once at the end.
    void finish();

private:
    void triangle(int g, int boneId, TVec3 a, TVec3 b, TVec3 c, int swatch);
    void quad(int g, int boneId, TVec3 a, TVec3 b, TVec3 c, TVec3 d, int swatch);
    std::vector<std::vector<int>> geosetBones_;  // per geoset: object id of each matrix group
};
