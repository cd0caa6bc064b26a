#include "MdxWriter.h"

#include <cstring>
#include <fstream>

namespace {

class Bytes {
public:
    std::vector<std::uint8_t> out;

    void i32(std::int32_t v)
    {
        const auto u = static_cast<std::uint32_t>(v);
        for (int s = 0; s < 32; s += 8)
            out.push_back(static_cast<std::uint8_t>(u >> s));
    }
    void f32(float f)
    {
        std::int32_t bits;
        std::memcpy(&bits, &f, 4);
        i32(bits);
    }
    void u16(std::uint16_t v)
    {
        out.push_back(static_cast<std::uint8_t>(v));
        out.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    void u8(std::uint8_t v) { out.push_back(v); }
    void tag(const char* t)
    {
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<std::uint8_t>(t[i]));
    }
    void text(const std::string& s, std::size_t width)
    {
        for (std::size_t i = 0; i < width; ++i)
            out.push_back(i < s.size() ? static_cast<std::uint8_t>(s[i]) : 0);
    }
    template <std::size_t N>
    void raw(const std::array<std::uint8_t, N>& a)
    {
        for (std::uint8_t v : a)
            out.push_back(v);
    }
    void vec3(const TVec3& v)
    {
        f32(v.x);
        f32(v.y);
        f32(v.z);
    }
    void quat(const TQuat& q)
    {
        f32(q.x);
        f32(q.y);
        f32(q.z);
        f32(q.w);
    }
    void extent(const TExtent& e)
    {
        f32(e.boundsRadius);
        vec3(e.minimum);
        vec3(e.maximum);
    }
    void value(float v, bool asInt) { asInt ? i32(static_cast<std::int32_t>(v)) : f32(v); }
    void value(const TVec3& v, bool) { vec3(v); }
    void value(const TQuat& q, bool) { quat(q); }

    template <typename V>
    void track(const char* name, const TTransformation<V>& t, bool asInt = false)
    {
        if (t.keys.empty())
            return;
        tag(name);
        i32(static_cast<std::int32_t>(t.keys.size()));
        i32(t.interpolationType);
        i32(t.globalSequenceId);
        for (const TKey<V>& k : t.keys) {
            i32(k.time);
            value(k.value, asInt);
            if (t.interpolationType > InterpLinear) {
                value(k.inTan, asInt);
                value(k.outTan, asInt);
            }
        }
    }

    // An inclusive size to be filled in by close().
    std::size_t open()
    {
        const std::size_t at = out.size();
        i32(0);
        return at;
    }
    // A chunk size (excluding the header) to be filled in by close(at, false).
    void close(std::size_t at, bool inclusive = true)
    {
        const auto size = static_cast<std::uint32_t>(out.size() - at - (inclusive ? 0 : 4));
        for (int s = 0; s < 4; ++s)
            out[at + static_cast<std::size_t>(s)] = static_cast<std::uint8_t>(size >> (8 * s));
    }

    void node(const NodeChunk& n)
    {
        const std::size_t at = open();
        text(n.name, 80);
        i32(n.objectId);
        i32(n.parentId);
        i32(n.flags);
        track("KGTR", n.translation);
        track("KGRT", n.rotation);
        track("KGSC", n.scaling);
        close(at);
    }

    template <typename T, typename WriteEntry>
    void chunk(const char* name, const std::vector<T>& entries, WriteEntry writeEntry)
    {
        if (entries.empty())
            return;
        tag(name);
        const std::size_t at = open();
        for (const T& e : entries)
            writeEntry(e);
        close(at, false);
    }
};

}  // namespace

std::vector<std::uint8_t> writeMdx(const MdxModel& m)
{
    Bytes b;
    b.tag("MDLX");
    b.tag("VERS");
    b.i32(4);
    b.i32(m.version);
    b.tag("MODL");
    b.i32(372);
    b.text(m.name, 80);
    b.text(m.animationFile, 260);
    b.extent(m.extent);
    b.i32(m.blendTime);
    b.chunk("SEQS", m.sequences, [&](const SequenceChunk& s) {
        b.text(s.name, 80);
        b.i32(s.intervalStart);
        b.i32(s.intervalEnd);
        b.f32(s.moveSpeed);
        b.i32(s.flags);
        b.f32(s.rarity);
        b.i32(s.syncPoint);
        b.extent(s.extent);
    });
    b.chunk("GLBS", m.globalSequences, [&](std::int32_t g) { b.i32(g); });
    b.chunk("MTLS", m.materials, [&](const MaterialChunk& mat) {
        const std::size_t at = b.open();
        b.i32(mat.priorityPlane);
        b.i32(mat.flags);
        b.tag("LAYS");
        b.i32(static_cast<std::int32_t>(mat.layers.size()));
        for (const LayerChunk& l : mat.layers) {
            const std::size_t layerAt = b.open();
            b.i32(l.filterMode);
            b.i32(l.shadingFlags);
            b.i32(l.textureId);
            b.i32(l.textureAnimationId);
            b.i32(l.coordId);
            b.f32(l.alpha);
            b.track("KMTA", l.alphaTrack);
            b.track("KMTF", l.textureIdTrack, true);
            b.close(layerAt);
        }
        b.close(at);
    });
    b.chunk("TEXS", m.textures, [&](const TextureChunk& t) {
        b.i32(t.replaceableId);
        b.text(t.path, 260);
        b.i32(t.flags);
    });
    b.chunk("TXAN", m.textureAnimations, [&](const TextureAnimationChunk& a) {
        const std::size_t at = b.open();
        b.track("KTAT", a.translation);
        b.track("KTAR", a.rotation);
        b.track("KTAS", a.scaling);
        b.close(at);
    });
    b.chunk("GEOS", m.geosets, [&](const GeosetChunk& g) {
        const std::size_t at = b.open();
        b.tag("VRTX");
        b.i32(static_cast<std::int32_t>(g.vertices.size()));
        for (const TVec3& v : g.vertices)
            b.vec3(v);
        b.tag("NRMS");
        b.i32(static_cast<std::int32_t>(g.normals.size()));
        for (const TVec3& v : g.normals)
            b.vec3(v);
        b.tag("PTYP");
        b.i32(static_cast<std::int32_t>(g.faceTypeGroups.size()));
        for (std::int32_t v : g.faceTypeGroups)
            b.i32(v);
        b.tag("PCNT");
        b.i32(static_cast<std::int32_t>(g.faceGroupCounts.size()));
        for (std::int32_t v : g.faceGroupCounts)
            b.i32(v);
        b.tag("PVTX");
        b.i32(static_cast<std::int32_t>(g.triangles.size() * 3));
        for (const TTriangle& t : g.triangles) {
            b.u16(t.a);
            b.u16(t.b);
            b.u16(t.c);
        }
        b.tag("GNDX");
        b.i32(static_cast<std::int32_t>(g.vertexGroups.size()));
        for (std::uint8_t v : g.vertexGroups)
            b.u8(v);
        b.tag("MTGC");
        b.i32(static_cast<std::int32_t>(g.matrixGroupSizes.size()));
        for (std::int32_t v : g.matrixGroupSizes)
            b.i32(v);
        b.tag("MATS");
        b.i32(static_cast<std::int32_t>(g.matrixIndices.size()));
        for (std::int32_t v : g.matrixIndices)
            b.i32(v);
        b.i32(g.materialId);
        b.i32(g.selectionGroup);
        b.i32(g.selectionFlags);
        b.extent(g.extent);
        b.i32(g.extentCount);
        for (std::int32_t k = 0; k < g.extentCount; ++k)
            b.extent(g.lastExtent);
        b.tag("UVAS");
        b.i32(g.texCoordSetCount);
        b.tag("UVBS");
        b.i32(static_cast<std::int32_t>(g.texCoords.size()));
        for (const TTexCoord& c : g.texCoords) {
            b.f32(c.u);
            b.f32(c.v);
        }
        b.close(at);
    });
    b.chunk("GEOA", m.geosetAnimations, [&](const GeosetAnimationChunk& a) {
        const std::size_t at = b.open();
        b.f32(a.alpha);
        b.i32(a.flags);
        b.vec3(a.color);
        b.i32(a.geosetId);
        b.track("KGAO", a.alphaTrack);
        b.track("KGAC", a.colorTrack);
        b.close(at);
    });
    b.chunk("BONE", m.bones, [&](const BoneChunk& bone) {
        b.node(bone.node);
        b.i32(bone.geosetId);
        b.i32(bone.geosetAnimationId);
    });
    b.chunk("LITE", m.lights, [&](const LightChunk& l) {
        const std::size_t at = b.open();
        b.node(l.node);
        b.i32(l.type);
        b.raw(l.attenuationStart);
        b.raw(l.attenuationEnd);
        b.vec3(l.color);
        b.f32(l.intensity);
        b.vec3(l.ambientColor);
        b.f32(l.ambientIntensity);
        b.track("KLAV", l.visibility);
        b.track("KLAC", l.colorTrack);
        b.track("KLAI", l.intensityTrack);
        b.track("KLBC", l.ambientColorTrack);
        b.track("KLBI", l.ambientIntensityTrack);
        b.close(at);
    });
    b.chunk("HELP", m.helpers, [&](const NodeChunk& n) { b.node(n); });
    b.chunk("ATCH", m.attachments, [&](const AttachmentChunk& a) {
        const std::size_t at = b.open();
        b.node(a.node);
        b.text(a.path, 260);
        b.i32(a.attachmentId);
        b.track("KATV", a.visibility);
        b.close(at);
    });
    b.chunk("PIVT", m.pivotPoints, [&](const TVec3& p) { b.vec3(p); });
    b.chunk("PREM", m.particleEmitters, [&](const ParticleEmitterChunk& e) {
        const std::size_t at = b.open();
        b.node(e.node);
        b.f32(e.emissionRate);
        b.f32(e.gravity);
        b.f32(e.longitude);
        b.f32(e.latitude);
        b.text(e.path, 260);
        b.f32(e.lifespan);
        b.f32(e.initialVelocity);
        b.track("KPEV", e.visibility);
        b.close(at);
    });
    b.chunk("PRE2", m.particleEmitters2, [&](const Particleemitter2Chunk& e) {
        const std::size_t at = b.open();
        b.node(e.node);
        for (float f : {e.speed, e.variation, e.latitude, e.gravity, e.lifespan, e.emissionRate, e.length, e.width})
            b.f32(f);
        for (std::int32_t i : {e.filterMode, e.rows, e.columns, e.headOrTail})
            b.i32(i);
        b.f32(e.tailLength);
        b.f32(e.time);
        for (const TVec3& c : e.segmentColor)
            b.vec3(c);
        for (std::uint8_t a : e.segmentAlpha)
            b.u8(a);
        b.vec3(e.segmentScaling);
        for (const auto* block : {&e.headIntervals, &e.headDecayIntervals, &e.tailIntervals, &e.tailDecayIntervals})
            for (std::int32_t v : *block)
                b.i32(v);
        for (std::int32_t i : {e.textureId, e.squirt, e.priorityPlane, e.replaceableId})
            b.i32(i);
        b.track("KP2V", e.visibility);
        b.track("KP2E", e.emissionTrack);
        b.track("KP2W", e.widthTrack);
        b.track("KP2N", e.lengthTrack);
        b.track("KP2S", e.speedTrack);
        b.close(at);
    });
    b.chunk("RIBB", m.ribbonEmitters, [&](const RibbonEmitterChunk& r) {
        const std::size_t at = b.open();
        b.node(r.node);
        b.f32(r.heightAbove);
        b.f32(r.heightBelow);
        b.f32(r.alpha);
        b.vec3(r.color);
        b.f32(r.lifespan);
        for (std::int32_t i : {r.textureSlot, r.emissionRate, r.rows, r.columns, r.materialId})
            b.i32(i);
        b.f32(r.gravity);
        b.track("KRVS", r.visibility);
        b.track("KRHA", r.heightAboveTrack);
        b.track("KRHB", r.heightBelowTrack);
        b.close(at);
    });
    b.chunk("CAMS", m.cameras, [&](const CameraChunk& c) {
        const std::size_t at = b.open();
        b.text(c.name, 80);
        b.vec3(c.position);
        b.raw(c.fieldOfView);
        b.raw(c.farClip);
        b.raw(c.nearClip);
        b.vec3(c.targetPosition);
        b.track("KCTR", c.translation);
        b.track("KTTR", c.targetTranslation);
        b.track("KCRL", c.rotation);
        b.close(at);
    });
    b.chunk("EVTS", m.eventObjects, [&](const EventObjectChunk& e) {
        b.node(e.node);
        b.tag("KEVT");
        b.i32(static_cast<std::int32_t>(e.times.size()));
        b.i32(e.globalSequenceId);
        for (std::int32_t t : e.times)
            b.i32(t);
    });
    b.chunk("CLID", m.collisionShapes, [&](const CollisionShapeChunk& s) {
        b.node(s.node);
        b.i32(s.shapeType);
        b.vec3(s.vertex1);
        if (s.shapeType != ShapeSphere)
            b.vec3(s.vertex2);
        if (s.shapeType == ShapeSphere || s.shapeType == ShapeCylinder)
            b.f32(s.radius);
    });
    return b.out;
}

bool saveMdx(const MdxModel& model, const std::string& path)
{
    const std::vector<std::uint8_t> bytes = writeMdx(model);
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}
