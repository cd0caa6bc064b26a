#include "assets/FLoader.h"

#include "assets/FTextures.h"
#include "platform/Files.h"
#include "shell/FLogs.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <type_traits>

namespace {

// Chunks read entry by entry hold at most this many entries.
constexpr std::size_t MaxEntries = 255;

struct MdxFault {
    std::string text;
};

// Little-endian reads over the file held in memory. Every read checks the
// bytes left first, so no input can make the parser look past the buffer.
class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size, const std::string& path) : data_(data), size_(size), path_(path) {}

    std::size_t pos = 0;
    std::string chunk = "MDLX";  // the top-level chunk being read, for the error texts

    [[noreturn]] void endOfFile() const { throw MdxFault{"Unexpected end of file in " + chunk + " : " + path_}; }
    [[noreturn]] void rangeError() const { throw MdxFault{"Range check error in " + chunk + " : " + path_}; }
    [[noreturn]] void badTag() const { throw MdxFault{"Error on loading " + chunk + " : " + path_}; }

    void need(std::size_t n) const
    {
        if (n > size_ - pos)
            endOfFile();
    }
    std::int32_t i32()
    {
        need(4);
        std::uint32_t v = std::uint32_t(data_[pos]) | std::uint32_t(data_[pos + 1]) << 8 |
                          std::uint32_t(data_[pos + 2]) << 16 | std::uint32_t(data_[pos + 3]) << 24;
        pos += 4;
        return static_cast<std::int32_t>(v);
    }
    float f32()
    {
        std::int32_t bits = i32();
        float f;
        std::memcpy(&f, &bits, 4);
        return f;
    }
    std::uint16_t u16()
    {
        need(2);
        std::uint16_t v = static_cast<std::uint16_t>(data_[pos] | data_[pos + 1] << 8);
        pos += 2;
        return v;
    }
    std::uint8_t u8()
    {
        need(1);
        return data_[pos++];
    }
    template <std::size_t N>
    std::array<std::uint8_t, N> raw()
    {
        need(N);
        std::array<std::uint8_t, N> out;
        std::memcpy(out.data(), data_ + pos, N);
        pos += N;
        return out;
    }
    TVec3 vec3()
    {
        TVec3 v;
        v.x = f32();
        v.y = f32();
        v.z = f32();
        return v;
    }
    TQuat quat()
    {
        TQuat q;
        q.x = f32();
        q.y = f32();
        q.z = f32();
        q.w = f32();
        return q;
    }
    TExtent extent()
    {
        TExtent e;
        e.boundsRadius = f32();
        e.minimum = vec3();
        e.maximum = vec3();
        return e;
    }
    std::string tag()
    {
        need(4);
        std::string t(reinterpret_cast<const char*>(data_ + pos), 4);
        pos += 4;
        return t;
    }
    // The next tag without consuming it; empty when fewer than four bytes remain.
    std::string peekTag() const
    {
        if (size_ - pos < 4)
            return {};
        return std::string(reinterpret_cast<const char*>(data_ + pos), 4);
    }
    // A fixed-width text field: up to its first NUL, at most `keep` characters.
    std::string text(std::size_t width, std::size_t keep)
    {
        need(width);
        const char* s = reinterpret_cast<const char*>(data_ + pos);
        std::size_t n = 0;
        while (n < keep && s[n] != '\0')
            ++n;
        pos += width;
        return std::string(s, n);
    }
    // An element count that must not be negative and whose elements must fit in the file.
    std::size_t count(std::size_t elementBytes)
    {
        std::int32_t n = i32();
        if (n < 0)
            rangeError();
        if (elementBytes && static_cast<std::size_t>(n) > (size_ - pos) / elementBytes)
            endOfFile();
        return static_cast<std::size_t>(n);
    }
    // Reads an inclusive size for an entry that started at `start`; the entry's end,
    // which must lie within `limit`.
    std::size_t entryEnd(std::size_t start, std::size_t limit)
    {
        std::int32_t n = i32();
        if (n < 4 || static_cast<std::size_t>(n) > limit - start)
            rangeError();
        return start + static_cast<std::size_t>(n);
    }
    void seek(std::size_t to)
    {
        if (to > size_)
            endOfFile();
        pos = to;
    }
    std::size_t size() const { return size_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    const std::string& path_;
};

template <typename V>
V readValue(Reader& in);
template <>
float readValue<float>(Reader& in) { return in.f32(); }
template <>
TVec3 readValue<TVec3>(Reader& in) { return in.vec3(); }
template <>
TQuat readValue<TQuat>(Reader& in) { return in.quat(); }

constexpr std::size_t valueBytes(float*) { return 4; }
constexpr std::size_t valueBytes(TVec3*) { return 12; }
constexpr std::size_t valueBytes(TQuat*) { return 16; }

// A track after its tag. `asInts` reads the values as ints turned into floats (KMTF).
template <typename V>
TTransformation<V> readTrack(Reader& in, bool asInts = false)
{
    TTransformation<V> track;
    const std::int32_t rawCount = in.i32();
    if (rawCount < 0)
        in.rangeError();
    track.interpolationType = in.i32();
    track.globalSequenceId = in.i32();
    const bool tangents = track.interpolationType > InterpLinear;
    const std::size_t keyBytes = 4 + valueBytes(static_cast<V*>(nullptr)) * (tangents ? 3 : 1);
    if (static_cast<std::size_t>(rawCount) > (in.size() - in.pos) / keyBytes)
        in.endOfFile();
    auto value = [&]() -> V {
        if constexpr (std::is_same_v<V, float>)
            if (asInts)
                return static_cast<float>(in.i32());
        return readValue<V>(in);
    };
    track.keys.resize(static_cast<std::size_t>(rawCount));
    for (TKey<V>& key : track.keys) {
        key.time = in.i32();
        key.value = value();
        if (tangents) {
            key.inTan = value();
            key.outTan = value();
        }
    }
    return track;
}

NodeChunk readNode(Reader& in, std::size_t limit)
{
    NodeChunk node;
    const std::size_t end = in.entryEnd(in.pos, limit);
    node.name = in.text(80, 80);
    node.objectId = in.i32();
    node.parentId = in.i32();
    node.flags = in.i32();
    for (int i = 0; i < 4 && in.pos < end; ++i) {
        const std::string tag = in.peekTag();
        if (tag == "KGTR")
            in.tag(), node.translation = readTrack<TVec3>(in);
        else if (tag == "KGRT")
            in.tag(), node.rotation = readTrack<TQuat>(in);
        else if (tag == "KGSC")
            in.tag(), node.scaling = readTrack<TVec3>(in);
        else
            break;
    }
    if (in.pos > end)
        in.rangeError();
    in.seek(end);
    return node;
}

// Reads the entries of a chunk one after another until its end.
template <typename T, typename ReadEntry>
void readEntries(Reader& in, std::size_t chunkEnd, std::vector<T>& out, ReadEntry readEntry)
{
    out.clear();
    while (in.pos < chunkEnd) {
        if (out.size() == MaxEntries)
            in.rangeError();
        out.push_back(readEntry());
        if (in.pos > chunkEnd)
            in.rangeError();
    }
}

// Reads tagged tracks while the entry has bytes left, at most `most` of them;
// `onTag` returns false for a tag it does not know, which is an error.
template <typename OnTag>
void readTracks(Reader& in, std::size_t end, int most, OnTag onTag)
{
    for (int i = 0; i < most && in.pos < end; ++i)
        if (!onTag(in.tag()))
            in.badTag();
    if (in.pos > end)
        in.rangeError();
    in.seek(end);
}

void readMaterials(Reader& in, std::size_t chunkEnd, MdxModel& m, TextureRequest)
{
    readEntries(in, chunkEnd, m.materials, [&] {
        MaterialChunk mat;
        const std::size_t end = in.entryEnd(in.pos, chunkEnd);
        mat.priorityPlane = in.i32();
        mat.flags = in.i32();
        if (in.pos < end && in.peekTag() == "LAYS") {
            in.tag();
            const std::size_t n = in.count(28);
            if (n > MaxEntries)
                in.rangeError();
            for (std::size_t k = 0; k < n; ++k) {
                LayerChunk layer;
                const std::size_t layerEnd = in.entryEnd(in.pos, end);
                layer.filterMode = in.i32();
                layer.shadingFlags = in.i32();
                layer.textureId = in.i32();
                layer.textureAnimationId = in.i32();
                layer.coordId = in.i32();
                layer.alpha = in.f32();
                readTracks(in, layerEnd, 2, [&](const std::string& tag) {
                    if (tag == "KMTA")
                        layer.alphaTrack = readTrack<float>(in);
                    else if (tag == "KMTF")
                        layer.textureIdTrack = readTrack<float>(in, true);
                    else
                        return false;
                    return true;
                });
                mat.layers.push_back(std::move(layer));
            }
        }
        if (in.pos > end)
            in.rangeError();
        in.seek(end);
        return mat;
    });
}

GeosetChunk readGeoset(Reader& in, std::size_t chunkEnd)
{
    GeosetChunk g;
    const std::size_t end = in.entryEnd(in.pos, chunkEnd);
    in.tag();  // VRTX
    g.vertices.resize(in.count(12));
    for (TVec3& v : g.vertices)
        v = in.vec3();
    g.workVertices.resize(g.vertices.size());
    g.workValues.resize(g.vertices.size());
    in.tag();  // NRMS
    g.normals.resize(in.count(12));
    for (TVec3& v : g.normals)
        v = in.vec3();
    in.tag();  // PTYP
    g.faceTypeGroups.resize(in.count(4));
    for (std::int32_t& v : g.faceTypeGroups)
        v = in.i32();
    in.tag();  // PCNT
    g.faceGroupCounts.resize(in.count(4));
    for (std::int32_t& v : g.faceGroupCounts)
        v = in.i32();
    in.tag();  // PVTX
    const std::size_t indices = in.count(2);
    g.triangles.resize(indices / 3);
    for (TTriangle& t : g.triangles) {
        t.a = in.u16();
        t.b = in.u16();
        t.c = in.u16();
    }
    in.seek(in.pos + (indices % 3) * 2);
    in.tag();  // GNDX
    g.vertexGroups.resize(in.count(1));
    for (std::uint8_t& v : g.vertexGroups)
        v = in.u8();
    in.tag();  // MTGC
    g.matrixGroupSizes.resize(in.count(4));
    for (std::int32_t& v : g.matrixGroupSizes)
        v = in.i32();
    in.tag();  // MATS
    g.matrixIndices.resize(in.count(4));
    for (std::int32_t& v : g.matrixIndices)
        v = in.i32();
    g.materialId = in.i32();
    g.selectionGroup = in.i32();
    g.selectionFlags = in.i32();
    g.extent = in.extent();
    const std::size_t extents = in.count(28);
    g.extentCount = static_cast<std::int32_t>(extents);
    for (std::size_t k = 0; k < extents; ++k)
        g.lastExtent = in.extent();
    in.tag();  // UVAS
    g.texCoordSetCount = in.i32();
    in.tag();  // UVBS
    g.texCoords.resize(in.count(8));
    for (TTexCoord& c : g.texCoords) {
        c.u = in.f32();
        c.v = in.f32();
    }
    if (in.pos > end)
        in.rangeError();
    in.seek(end);

    // Matrix groups: consecutive runs of the matrix indices.
    std::size_t next = 0;
    for (std::int32_t size : g.matrixGroupSizes) {
        if (size < 0 || static_cast<std::size_t>(size) > g.matrixIndices.size() - next)
            in.rangeError();
        g.matrixGroups.emplace_back(g.matrixIndices.begin() + static_cast<std::ptrdiff_t>(next),
                                    g.matrixIndices.begin() + static_cast<std::ptrdiff_t>(next + size));
        next += static_cast<std::size_t>(size);
    }
    // Indices that point nowhere would make drawing read outside the arrays.
    for (const TTriangle& t : g.triangles)
        if (std::max({t.a, t.b, t.c}) >= g.vertices.size())
            in.rangeError();
    for (std::uint8_t group : g.vertexGroups)
        if (group >= g.matrixGroups.size())
            in.rangeError();
    return g;
}

void readVersion(Reader& in, std::size_t, MdxModel& m, TextureRequest)
{
    m.version = in.i32();
}

void readModelInfo(Reader& in, std::size_t, MdxModel& m, TextureRequest)
{
    m.name = in.text(80, 80);
    m.animationFile = in.text(260, 255);
    m.extent = in.extent();
    m.blendTime = in.i32();
}

void readSequences(Reader& in, std::size_t end, MdxModel& m, TextureRequest)
{
    m.sequences.resize((end - in.pos) / 132);
    for (SequenceChunk& s : m.sequences) {
        s.name = in.text(80, 80);
        s.intervalStart = in.i32();
        s.intervalEnd = in.i32();
        s.moveSpeed = in.f32();
        s.flags = in.i32();
        s.rarity = in.f32();
        s.syncPoint = in.i32();
        s.extent = in.extent();
    }
}

void readGlobalSequences(Reader& in, std::size_t end, MdxModel& m, TextureRequest)
{
    m.globalSequences.resize((end - in.pos) / 4);
    for (std::int32_t& g : m.globalSequences)
        g = in.i32();
}

void readTextures(Reader& in, std::size_t end, MdxModel& m, TextureRequest requestTexture)
{
    m.textures.resize((end - in.pos) / 268);
    for (TextureChunk& t : m.textures) {
        t.replaceableId = in.i32();
        t.path = in.text(260, 255);
        t.flags = in.i32();
        if (requestTexture && !t.path.empty())
            t.glTexture = requestTexture(t.path);
    }
}

void readTextureAnimations(Reader& in, std::size_t end, MdxModel& m, TextureRequest)
{
    readEntries(in, end, m.textureAnimations, [&] {
        TextureAnimationChunk a;
        const std::size_t entryEnd = in.entryEnd(in.pos, end);
        readTracks(in, entryEnd, 3, [&](const std::string& t) {
            if (t == "KTAT")
                a.translation = readTrack<TVec3>(in);
            else if (t == "KTAR")
                a.rotation = readTrack<TQuat>(in);
            else if (t == "KTAS")
                a.scaling = readTrack<TVec3>(in);
            else
                return false;
            return true;
        });
        return a;
    });
}

void readGeosets(Reader& in, std::size_t end, MdxModel& m, TextureRequest)
{
    readEntries(in, end, m.geosets, [&] { return readGeoset(in, end); });
}

void readGeosetAnimations(Reader& in, std::size_t end, MdxModel& m, TextureRequest)
{
    readEntries(in, end, m.geosetAnimations, [&] {
        GeosetAnimationChunk a;
        const std::size_t entryEnd = in.entryEnd(in.pos, end);
        a.alpha = in.f32();
        a.flags = in.i32();
        a.color = in.vec3();
        a.geosetId = in.i32();
        readTracks(in, entryEnd, 3, [&](const std::string& t) {
            if (t == "KGAO")
                a.alphaTrack = readTrack<float>(in);
            else if (t == "KGAC")
                a.colorTrack = readTrack<TVec3>(in);
            else
                return false;
            return true;
        });
        return a;
    });
}

void readBones(Reader& in, std::size_t end, MdxModel& m, TextureRequest)
{
    readEntries(in, end, m.bones, [&] {
        BoneChunk b;
        b.node = readNode(in, end);
        b.geosetId = in.i32();
        b.geosetAnimationId = in.i32();
        m.highestObjectId = std::max(m.highestObjectId, b.node.objectId);
        return b;
    });
}

void readLights(Reader& in, std::size_t end, MdxModel& m, TextureRequest)
{
    readEntries(in, end, m.lights, [&] {
        LightChunk l;
        const std::size_t entryEnd = in.entryEnd(in.pos, end);
        l.node = readNode(in, entryEnd);
        l.type = in.i32();
        l.attenuationStart = in.raw<4>();
        l.attenuationEnd = in.raw<4>();
        l.color = in.vec3();
        l.intensity = in.f32();
        l.ambientColor = in.vec3();
        l.ambientIntensity = in.f32();
        readTracks(in, entryEnd, 6, [&](const std::string& t) {
            if (t == "KLAV")
                l.visibility = readTrack<float>(in);
            else if (t == "KLAC")
                l.colorTrack = readTrack<TVec3>(in);
            else if (t == "KLAI")
                l.intensityTrack = readTrack<float>(in);
            else if (t == "KLBC")
                l.ambientColorTrack = readTrack<TVec3>(in);
            else if (t == "KLBI")
                l.ambientIntensityTrack = readTrack<float>(in);
            else
                return false;
            return true;
        });
        return l;
    });
}

void readHelpers(Reader& in, std::size_t end, MdxModel& m, TextureRequest)
{
    readEntries(in, end, m.helpers, [&] {
        NodeChunk n = readNode(in, end);
        m.highestObjectId = std::max(m.highestObjectId, n.objectId);
        return n;
    });
}

void readAttachments(Reader& in, std::size_t end, MdxModel& m, TextureRequest)
{
    readEntries(in, end, m.attachments, [&] {
        AttachmentChunk a;
        const std::size_t entryEnd = in.entryEnd(in.pos, end);
        a.node = readNode(in, entryEnd);
        a.path = in.text(260, 255);
        a.attachmentId = in.i32();
        if (in.pos < entryEnd && in.tag() == "KATV")
            a.visibility = readTrack<float>(in);
        if (in.pos > entryEnd)
            in.rangeError();
        in.seek(entryEnd);
        return a;
    });
}

void readPivotPoints(Reader& in, std::size_t end, MdxModel& m, TextureRequest)
{
    m.pivotPoints.resize((end - in.pos) / 12);
    for (TVec3& p : m.pivotPoints)
        p = in.vec3();
}

void readParticleEmitters(Reader& in, std::size_t end, MdxModel& m, TextureRequest)
{
    readEntries(in, end, m.particleEmitters, [&] {
        ParticleEmitterChunk e;
        const std::size_t entryEnd = in.entryEnd(in.pos, end);
        e.node = readNode(in, entryEnd);
        e.emissionRate = in.f32();
        e.gravity = in.f32();
        e.longitude = in.f32();
        e.latitude = in.f32();
        e.path = in.text(260, 255);
        e.lifespan = in.f32();
        e.initialVelocity = in.f32();
        if (in.pos < entryEnd && in.tag() == "KPEV")
            e.visibility = readTrack<float>(in);
        if (in.pos > entryEnd)
            in.rangeError();
        in.seek(entryEnd);
        return e;
    });
}

void readParticleEmitters2(Reader& in, std::size_t end, MdxModel& m, TextureRequest)
{
    readEntries(in, end, m.particleEmitters2, [&] {
        Particleemitter2Chunk e;
        const std::size_t entryEnd = in.entryEnd(in.pos, end);
        e.node = readNode(in, entryEnd);
        for (float* f : {&e.speed, &e.variation, &e.latitude, &e.gravity, &e.lifespan, &e.emissionRate,
                         &e.length, &e.width})
            *f = in.f32();
        for (std::int32_t* i : {&e.filterMode, &e.rows, &e.columns, &e.headOrTail})
            *i = in.i32();
        e.tailLength = in.f32();
        e.time = in.f32();
        for (TVec3& c : e.segmentColor)
            c = in.vec3();
        for (std::uint8_t& a : e.segmentAlpha)
            a = in.u8();
        e.segmentScaling = in.vec3();
        for (auto* block : {&e.headIntervals, &e.headDecayIntervals, &e.tailIntervals, &e.tailDecayIntervals})
            for (std::int32_t& v : *block)
                v = in.i32();
        for (std::int32_t* i : {&e.textureId, &e.squirt, &e.priorityPlane, &e.replaceableId})
            *i = in.i32();
        readTracks(in, entryEnd, 6, [&](const std::string& t) {
            if (t == "KP2V")
                e.visibility = readTrack<float>(in);
            else if (t == "KP2E")
                e.emissionTrack = readTrack<float>(in);
            else if (t == "KP2W")
                e.widthTrack = readTrack<float>(in);
            else if (t == "KP2N")
                e.lengthTrack = readTrack<float>(in);
            else if (t == "KP2S")
                e.speedTrack = readTrack<float>(in);
            else
                return false;
            return true;
        });
        return e;
    });
}

void readRibbonEmitters(Reader& in, std::size_t end, MdxModel& m, TextureRequest)
{
    readEntries(in, end, m.ribbonEmitters, [&] {
        RibbonEmitterChunk r;
        const std::size_t entryEnd = in.entryEnd(in.pos, end);
        r.node = readNode(in, entryEnd);
        r.heightAbove = in.f32();
        r.heightBelow = in.f32();
        r.alpha = in.f32();
        r.color = in.vec3();
        r.lifespan = in.f32();
        for (std::int32_t* i : {&r.textureSlot, &r.emissionRate, &r.rows, &r.columns, &r.materialId})
            *i = in.i32();
        r.gravity = in.f32();
        readTracks(in, entryEnd, 4, [&](const std::string& t) {
            if (t == "KRVS")
                r.visibility = readTrack<float>(in);
            else if (t == "KRHA")
                r.heightAboveTrack = readTrack<float>(in);
            else if (t == "KRHB")
                r.heightBelowTrack = readTrack<float>(in);
            else
                return false;
            return true;
        });
        return r;
    });
}

void readEventObjects(Reader& in, std::size_t end, MdxModel& m, TextureRequest)
{
    readEntries(in, end, m.eventObjects, [&] {
        EventObjectChunk e;
        e.node = readNode(in, end);
        if (in.pos < end && in.peekTag() == "KEVT") {
            in.tag();
            e.times.resize(in.count(4));
            e.globalSequenceId = in.i32();
            for (std::int32_t& t : e.times)
                t = in.i32();
        }
        return e;
    });
}

void readCameras(Reader& in, std::size_t end, MdxModel& m, TextureRequest)
{
    readEntries(in, end, m.cameras, [&] {
        CameraChunk c;
        const std::size_t entryEnd = in.entryEnd(in.pos, end);
        c.name = in.text(80, 80);
        c.position = in.vec3();
        c.fieldOfView = in.raw<4>();
        c.farClip = in.raw<4>();
        c.nearClip = in.raw<4>();
        c.targetPosition = in.vec3();
        readTracks(in, entryEnd, 4, [&](const std::string& t) {
            if (t == "KCTR")
                c.translation = readTrack<TVec3>(in);
            else if (t == "KTTR")
                c.targetTranslation = readTrack<TVec3>(in);
            else if (t == "KCRL")
                c.rotation = readTrack<float>(in);
            else
                return false;
            return true;
        });
        return c;
    });
}

void readCollisionShapes(Reader& in, std::size_t end, MdxModel& m, TextureRequest)
{
    readEntries(in, end, m.collisionShapes, [&] {
        CollisionShapeChunk s;
        s.node = readNode(in, end);
        s.shapeType = in.i32();
        s.vertex1 = in.vec3();
        if (s.shapeType != ShapeSphere)
            s.vertex2 = in.vec3();
        if (s.shapeType == ShapeSphere || s.shapeType == ShapeCylinder)
            s.radius = in.f32();
        return s;
    });
}

struct ChunkReader {
    const char* tag;
    void (*read)(Reader& in, std::size_t end, MdxModel& m, TextureRequest requestTexture);
};

// The chunks the engine reads, in the order the format writes them. Unknown
// chunks (sound and effect chunks of the format) are passed over by their size.
const ChunkReader ChunkReaders[] = {
    {"VERS", readVersion},
    {"MODL", readModelInfo},
    {"SEQS", readSequences},
    {"GLBS", readGlobalSequences},
    {"TEXS", readTextures},
    {"MTLS", readMaterials},
    {"TXAN", readTextureAnimations},
    {"GEOS", readGeosets},
    {"GEOA", readGeosetAnimations},
    {"BONE", readBones},
    {"LITE", readLights},
    {"HELP", readHelpers},
    {"ATCH", readAttachments},
    {"PIVT", readPivotPoints},
    {"PREM", readParticleEmitters},
    {"PRE2", readParticleEmitters2},
    {"RIBB", readRibbonEmitters},
    {"EVTS", readEventObjects},
    {"CAMS", readCameras},
    {"CLID", readCollisionShapes},
};

void readChunk(Reader& in, const std::string& tag, std::size_t end, MdxModel& m, TextureRequest requestTexture)
{
    for (const ChunkReader& reader : ChunkReaders)
        if (tag == reader.tag) {
            reader.read(in, end, m, requestTexture);
            return;
        }
}

// The model cache: paths in request order and their models, side by side.
std::vector<std::string> cachePaths;
std::vector<std::unique_ptr<MdxModel>> cacheModels;

}  // namespace

std::string parseMdx(const std::uint8_t* data, std::size_t size, const std::string& path, MdxModel& model,
                     TextureRequest requestTexture)
{
    model = MdxModel{};
    Reader in(data, size, path);
    try {
        if (size < 4 || std::memcmp(data, "MDLX", 4) != 0)
            return "Not a Warcraft 3 Mdx : " + path;
        in.pos = 4;
        while (in.pos < size) {
            in.chunk = "MDLX";
            const std::string tag = in.tag();
            const std::int32_t chunkSize = in.i32();
            in.chunk = tag;
            if (chunkSize < 0)
                in.rangeError();
            if (static_cast<std::size_t>(chunkSize) > size - in.pos)
                in.endOfFile();
            const std::size_t end = in.pos + static_cast<std::size_t>(chunkSize);
            readChunk(in, tag, end, model, requestTexture);
            if (in.pos > end)
                in.rangeError();
            in.seek(end);
        }
    } catch (const MdxFault& fault) {
        model = MdxModel{};
        return fault.text;
    }
    return {};
}

void LoadMdx(const std::string& path, MdxModel& model)
{
    model = MdxModel{};
    const std::string file = platform::contentPath(path);
    if (!platform::fileExists(file)) {
        log("File does not exist : " + path, LogDebug);
        return;
    }
    std::optional<std::vector<std::uint8_t>> bytes = platform::readBinaryFile(file);
    if (!bytes) {
        log("File does not exist : " + path, LogDebug);
        return;
    }
    // A broken model is logged and stays empty in the cache; the caller (a unit
    // being created, a frame being drawn) carries on with a model that draws nothing.
    const std::string error = parseMdx(bytes->data(), bytes->size(), path, model, LoadTexture);
    if (!error.empty())
        log(error, LogWarning);
}

std::string asciiLower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

int GetModelIndex(const std::string& path)
{
    const std::string key = asciiLower(path);
    for (std::size_t i = 0; i < cachePaths.size(); ++i)
        if (cachePaths[i] == key)
            return static_cast<int>(i);
    cachePaths.push_back(key);
    cacheModels.push_back(std::make_unique<MdxModel>());
    LoadMdx(path, *cacheModels.back());
    return static_cast<int>(cachePaths.size() - 1);
}

const MdxModel& modelAt(int index)
{
    static const MdxModel empty;
    if (index < 0 || static_cast<std::size_t>(index) >= cacheModels.size())
        return empty;
    return *cacheModels[static_cast<std::size_t>(index)];
}

int modelCount()
{
    return static_cast<int>(cacheModels.size());
}

void resetModelCache()
{
    cachePaths.clear();
    cacheModels.clear();
}
