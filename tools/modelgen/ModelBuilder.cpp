#include "ModelBuilder.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

constexpr float Pi = 3.14159265358979f;

TVec3 sub(TVec3 a, TVec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
TVec3 cross(TVec3 a, TVec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
TVec3 normalised(TVec3 v)
{
    const float l = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return l > 0 ? TVec3{v.x / l, v.y / l, v.z / l} : TVec3{0, 0, 1};
}

// The shade row of a face: lit from above and a little from the front.
int shadeOf(TVec3 n)
{
    if (n.z > 0.6f)
        return 0;
    if (n.z < -0.6f)
        return 3;
    return std::fabs(n.x) >= std::fabs(n.y) ? 1 : 2;
}

template <typename V>
void addKey(TTransformation<V>& track, int time, const V& value, bool hermite)
{
    track.interpolationType = hermite ? InterpHermite : InterpLinear;
    TKey<V> key;
    key.time = time;
    key.value = value;
    if (hermite) {
        key.inTan = value;
        key.outTan = value;
    }
    auto at = std::find_if(track.keys.begin(), track.keys.end(), [&](const TKey<V>& k) { return k.time >= time; });
    if (at != track.keys.end() && at->time == time)
        *at = key;
    else
        track.keys.insert(at, key);
}

// A key just after the last one: the final frame of a track's last sequence
// then interpolates towards it instead of dropping back to the default.
template <typename V>
void closeTrack(TTransformation<V>& track)
{
    if (!track.keys.empty()) {
        TKey<V> last = track.keys.back();
        last.time += 1;
        track.keys.push_back(last);
    }
}

TExtent extentOf(const std::vector<TVec3>& points)
{
    TExtent e;
    if (points.empty())
        return e;
    e.minimum = e.maximum = points[0];
    for (const TVec3& p : points) {
        e.minimum = {std::min(e.minimum.x, p.x), std::min(e.minimum.y, p.y), std::min(e.minimum.z, p.z)};
        e.maximum = {std::max(e.maximum.x, p.x), std::max(e.maximum.y, p.y), std::max(e.maximum.z, p.z)};
    }
    const TVec3 d = sub(e.maximum, e.minimum);
    e.boundsRadius = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z) / 2;
    return e;
}

}  // namespace

TQuat axisAngle(float ax, float ay, float az, float degrees)
{
    const TVec3 a = normalised({ax, ay, az});
    const float h = degrees * Pi / 360.0f;
    const float s = std::sin(h);
    return {a.x * s, a.y * s, a.z * s, std::cos(h)};
}

ModelBuilder::ModelBuilder(const std::string& name)
{
    model.version = 800;
    model.name = name;
    model.blendTime = 150;
}

int ModelBuilder::texture(int replaceableId, const std::string& path)
{
    TextureChunk t;
    t.replaceableId = replaceableId;
    t.path = path;
    model.textures.push_back(t);
    return static_cast<int>(model.textures.size()) - 1;
}

int ModelBuilder::material(std::initializer_list<int> textures, int filterMode)
{
    MaterialChunk m;
    for (int t : textures) {
        LayerChunk layer;
        layer.filterMode = m.layers.empty() ? filterMode : FilterNone;
        layer.textureId = t;
        layer.shadingFlags = 0;
        m.layers.push_back(layer);
    }
    model.materials.push_back(m);
    return static_cast<int>(model.materials.size()) - 1;
}

int ModelBuilder::geoset(int materialId, int selectionFlags)
{
    GeosetChunk g;
    g.materialId = materialId;
    g.selectionFlags = selectionFlags;
    g.texCoordSetCount = 1;
    model.geosets.push_back(g);
    geosetBones_.emplace_back();
    return static_cast<int>(model.geosets.size()) - 1;
}

int ModelBuilder::bone(const std::string& name, int parent, TVec3 pivot)
{
    BoneChunk b;
    b.node.name = name;
    b.node.objectId = static_cast<int>(model.pivotPoints.size());
    b.node.parentId = parent;
    b.node.flags = 256;  // bone
    model.bones.push_back(b);
    model.pivotPoints.push_back(pivot);
    return b.node.objectId;
}

int ModelBuilder::helper(const std::string& name, int parent, TVec3 pivot)
{
    NodeChunk n;
    n.name = name;
    n.objectId = static_cast<int>(model.pivotPoints.size());
    n.parentId = parent;
    n.flags = 0;  // helper
    model.helpers.push_back(n);
    model.pivotPoints.push_back(pivot);
    return n.objectId;
}

NodeChunk& ModelBuilder::node(int objectId)
{
    for (BoneChunk& b : model.bones)
        if (b.node.objectId == objectId)
            return b.node;
    for (NodeChunk& h : model.helpers)
        if (h.objectId == objectId)
            return h;
    throw std::logic_error("no node " + std::to_string(objectId));
}

void ModelBuilder::triangle(int g, int boneId, TVec3 a, TVec3 b, TVec3 c, int swatch)
{
    GeosetChunk& geo = model.geosets[static_cast<std::size_t>(g)];
    std::vector<int>& groups = geosetBones_[static_cast<std::size_t>(g)];
    auto found = std::find(groups.begin(), groups.end(), boneId);
    const auto group = static_cast<std::uint8_t>(found - groups.begin());
    if (found == groups.end())
        groups.push_back(boneId);
    const TVec3 n = normalised(cross(sub(b, a), sub(c, a)));
    const TTexCoord uv{(static_cast<float>(swatch) + 0.5f) / AtlasColumns,
                       (static_cast<float>(shadeOf(n)) + 0.5f) / AtlasRows};
    const auto first = static_cast<std::uint16_t>(geo.vertices.size());
    for (const TVec3& p : {a, b, c}) {
        geo.vertices.push_back(p);
        geo.normals.push_back(n);
        geo.texCoords.push_back(uv);
        geo.vertexGroups.push_back(group);
    }
    geo.triangles.push_back({first, static_cast<std::uint16_t>(first + 1), static_cast<std::uint16_t>(first + 2)});
}

void ModelBuilder::quad(int g, int boneId, TVec3 a, TVec3 b, TVec3 c, TVec3 d, int swatch)
{
    triangle(g, boneId, a, b, c, swatch);
    triangle(g, boneId, a, c, d, swatch);
}

void ModelBuilder::box(int g, int boneId, TVec3 lo, TVec3 hi, int swatch)
{
    const TVec3 p[8] = {{lo.x, lo.y, lo.z}, {hi.x, lo.y, lo.z}, {hi.x, hi.y, lo.z}, {lo.x, hi.y, lo.z},
                        {lo.x, lo.y, hi.z}, {hi.x, lo.y, hi.z}, {hi.x, hi.y, hi.z}, {lo.x, hi.y, hi.z}};
    quad(g, boneId, p[4], p[5], p[6], p[7], swatch);  // top
    quad(g, boneId, p[0], p[3], p[2], p[1], swatch);  // bottom
    quad(g, boneId, p[1], p[2], p[6], p[5], swatch);  // +x
    quad(g, boneId, p[0], p[4], p[7], p[3], swatch);  // -x
    quad(g, boneId, p[0], p[1], p[5], p[4], swatch);  // -y
    quad(g, boneId, p[3], p[7], p[6], p[2], swatch);  // +y
}

void ModelBuilder::prism(int g, int boneId, TVec3 base, float r0, float r1, float height, int sides, int swatch)
{
    const TVec3 top{base.x, base.y, base.z + height};
    // Four sides line up with the axes, like the walls they stand on.
    const float phase = sides == 4 ? Pi / 4 : 0;
    for (int i = 0; i < sides; ++i) {
        const float a0 = phase + 2 * Pi * static_cast<float>(i) / static_cast<float>(sides);
        const float a1 = phase + 2 * Pi * static_cast<float>(i + 1) / static_cast<float>(sides);
        const TVec3 b0{base.x + r0 * std::cos(a0), base.y + r0 * std::sin(a0), base.z};
        const TVec3 b1{base.x + r0 * std::cos(a1), base.y + r0 * std::sin(a1), base.z};
        const TVec3 t0{base.x + r1 * std::cos(a0), base.y + r1 * std::sin(a0), top.z};
        const TVec3 t1{base.x + r1 * std::cos(a1), base.y + r1 * std::sin(a1), top.z};
        if (r1 > 0)
            quad(g, boneId, b0, b1, t1, t0, swatch);
        else
            triangle(g, boneId, b0, b1, top, swatch);
        if (r1 > 0)
            triangle(g, boneId, top, t0, t1, swatch);
        if (r0 > 0)
            triangle(g, boneId, base, b1, b0, swatch);
    }
}

void ModelBuilder::prismX(int g, int boneId, TVec3 base, float r0, float r1, float length, int sides, int swatch)
{
    const TVec3 tip{base.x + length, base.y, base.z};
    // A three-sided one is a gable roof: ridge on top.
    const float phase = sides == 3 ? Pi / 2 : 0;
    for (int i = 0; i < sides; ++i) {
        const float a0 = phase + 2 * Pi * static_cast<float>(i) / static_cast<float>(sides);
        const float a1 = phase + 2 * Pi * static_cast<float>(i + 1) / static_cast<float>(sides);
        const TVec3 b0{base.x, base.y + r0 * std::cos(a0), base.z + r0 * std::sin(a0)};
        const TVec3 b1{base.x, base.y + r0 * std::cos(a1), base.z + r0 * std::sin(a1)};
        const TVec3 t0{tip.x, base.y + r1 * std::cos(a0), base.z + r1 * std::sin(a0)};
        const TVec3 t1{tip.x, base.y + r1 * std::cos(a1), base.z + r1 * std::sin(a1)};
        if (r1 > 0) {
            quad(g, boneId, b0, t0, t1, b1, swatch);
            triangle(g, boneId, tip, t1, t0, swatch);
        } else {
            triangle(g, boneId, b0, tip, b1, swatch);
        }
        triangle(g, boneId, base, b0, b1, swatch);
    }
}

void ModelBuilder::sphere(int g, int boneId, TVec3 c, TVec3 r, int swatch)
{
    constexpr int Rings = 5, Segments = 8;
    auto at = [&](int ring, int seg) {
        const float theta = Pi * static_cast<float>(ring) / Rings;
        const float phi = 2 * Pi * static_cast<float>(seg) / Segments;
        return TVec3{c.x + r.x * std::sin(theta) * std::cos(phi), c.y + r.y * std::sin(theta) * std::sin(phi),
                     c.z + r.z * std::cos(theta)};
    };
    for (int ring = 0; ring < Rings; ++ring)
        for (int seg = 0; seg < Segments; ++seg) {
            const TVec3 a = at(ring, seg), b = at(ring + 1, seg), cc = at(ring + 1, seg + 1), d = at(ring, seg + 1);
            if (ring == 0)
                triangle(g, boneId, a, b, cc, swatch);
            else if (ring == Rings - 1)
                triangle(g, boneId, a, b, d, swatch);
            else
                quad(g, boneId, a, b, cc, d, swatch);
        }
}

void ModelBuilder::gable(int g, int boneId, TVec3 lo, TVec3 hi, float rise, int swatch)
{
    const float midY = (lo.y + hi.y) / 2, top = lo.z + rise;
    const TVec3 a{lo.x, lo.y, lo.z}, b{hi.x, lo.y, lo.z}, c{hi.x, hi.y, lo.z}, d{lo.x, hi.y, lo.z};
    const TVec3 r0{lo.x, midY, top}, r1{hi.x, midY, top};
    quad(g, boneId, a, b, r1, r0, swatch);
    quad(g, boneId, c, d, r0, r1, swatch);
    triangle(g, boneId, b, c, r1, swatch);
    triangle(g, boneId, d, a, r0, swatch);
    quad(g, boneId, a, d, c, b, swatch);
}

void ModelBuilder::ring(int g, int boneId, float inner, float outer, float z, int segments)
{
    for (int i = 0; i < segments; ++i) {
        const float a0 = 2 * Pi * static_cast<float>(i) / static_cast<float>(segments);
        const float a1 = 2 * Pi * static_cast<float>(i + 1) / static_cast<float>(segments);
        quad(g, boneId, {inner * std::cos(a0), inner * std::sin(a0), z}, {outer * std::cos(a0), outer * std::sin(a0), z},
             {outer * std::cos(a1), outer * std::sin(a1), z}, {inner * std::cos(a1), inner * std::sin(a1), z}, 0);
    }
}

void ModelBuilder::sequence(const std::string& name, TSpan span, float rarity, bool looping, float moveSpeed)
{
    SequenceChunk s;
    s.name = name;
    s.intervalStart = span.start;
    s.intervalEnd = span.end;
    s.rarity = rarity;
    s.flags = looping ? 0 : 1;
    s.moveSpeed = moveSpeed;
    model.sequences.push_back(s);
}

void ModelBuilder::rotate(int objectId, int time, TVec3 axis, float degrees, bool hermite)
{
    addKey(node(objectId).rotation, time, axisAngle(axis.x, axis.y, axis.z, degrees), hermite);
}

void ModelBuilder::move(int objectId, int time, TVec3 offset, bool hermite)
{
    addKey(node(objectId).translation, time, offset, hermite);
}

void ModelBuilder::grow(int objectId, int time, TVec3 factors)
{
    addKey(node(objectId).scaling, time, factors, false);
}

void ModelBuilder::finish()
{
    auto closeNode = [](NodeChunk& n) {
        closeTrack(n.translation);
        closeTrack(n.rotation);
        closeTrack(n.scaling);
    };
    for (BoneChunk& b : model.bones)
        closeNode(b.node);
    for (NodeChunk& h : model.helpers)
        closeNode(h);
    model.highestObjectId = std::max(0, static_cast<std::int32_t>(model.pivotPoints.size()) - 1);

    std::vector<TVec3> all;
    for (std::size_t g = 0; g < model.geosets.size(); ++g) {
        GeosetChunk& geo = model.geosets[g];
        geo.faceTypeGroups = {4};
        geo.faceGroupCounts = {static_cast<std::int32_t>(geo.triangles.size() * 3)};
        geo.matrixGroupSizes.assign(geosetBones_[g].size(), 1);
        geo.matrixIndices.assign(geosetBones_[g].begin(), geosetBones_[g].end());
        for (int id : geosetBones_[g])
            geo.matrixGroups.push_back({id});
        geo.workVertices.resize(geo.vertices.size());
        geo.workValues.resize(geo.vertices.size());
        geo.extent = extentOf(geo.vertices);
        // Animations swing parts about; the culling sphere allows for it.
        geo.extent.boundsRadius *= 1.5f;
        geo.extentCount = static_cast<std::int32_t>(model.sequences.size());
        geo.lastExtent = geo.extent;
        all.insert(all.end(), geo.vertices.begin(), geo.vertices.end());
    }
    model.extent = extentOf(all);
    model.extent.boundsRadius *= 1.5f;
    for (SequenceChunk& s : model.sequences)
        s.extent = model.extent;
}
