#include "MdxSamples.h"

#include "MdxWriter.h"

#include <filesystem>

namespace testing_support {

namespace {

NodeChunk node(const std::string& name, int id, int parent)
{
    NodeChunk n;
    n.name = name;
    n.objectId = id;
    n.parentId = parent;
    n.flags = 256 + id;
    n.translation = track<TVec3>(InterpLinear, {{0, {1, 2, 3}}, {100, {4, 5, 6}}});
    n.rotation = track<TQuat>(InterpHermite, {{0, {0, 0, 0, 1}}, {100, {0, 0, 0.6f, 0.8f}}});
    n.rotation.keys[1].inTan = {0.1f, 0.2f, 0.3f, 0.4f};
    n.rotation.keys[1].outTan = {0.5f, 0.6f, 0.7f, 0.8f};
    n.scaling = track<TVec3>(InterpNone, {{50, {2, 2, 2}}});
    n.scaling.globalSequenceId = 0;
    return n;
}

}  // namespace

GeosetChunk boundGeoset(const std::vector<TVec3>& vertices, int objectId, int materialId)
{
    GeosetChunk g;
    g.vertices = vertices;
    g.workVertices.resize(vertices.size());
    g.workValues.resize(vertices.size());
    g.normals.assign(vertices.size(), {0, 0, 1});
    g.faceTypeGroups = {4};
    g.faceGroupCounts = {static_cast<std::int32_t>(vertices.size() / 3 * 3)};
    for (std::size_t i = 0; i + 2 < vertices.size(); i += 3)
        g.triangles.push_back({static_cast<std::uint16_t>(i), static_cast<std::uint16_t>(i + 1),
                               static_cast<std::uint16_t>(i + 2)});
    g.vertexGroups.assign(vertices.size(), 0);
    g.matrixGroupSizes = {1};
    g.matrixIndices = {objectId};
    g.matrixGroups = {{objectId}};
    g.materialId = materialId;
    g.extent = {2, {-1, -1, -1}, {1, 1, 1}};
    g.extentCount = 0;
    g.texCoordSetCount = 1;
    g.texCoords.assign(vertices.size(), {0.5f, 0.5f});
    return g;
}

MdxModel everyChunkModel()
{
    MdxModel m;
    m.version = 800;
    m.name = "Everything";
    m.animationFile = "Anim.mda";
    m.extent = {10, {-5, -6, 0}, {5, 6, 12}};
    m.blendTime = 150;
    SequenceChunk s;
    s.name = "Stand";
    s.intervalStart = 0;
    s.intervalEnd = 1000;
    s.moveSpeed = 2.5f;
    s.flags = 1;
    s.rarity = 3;
    s.syncPoint = 7;
    s.extent = {9, {-1, -2, -3}, {1, 2, 3}};
    m.sequences = {s, s};
    m.sequences[1].name = "Walk";
    m.globalSequences = {500, 900};
    m.textures = {{0, "Textures/A.blp", 0, 3}, {1, "", 0, 0}, {2, "", 0, 1}};
    LayerChunk layer;
    layer.filterMode = FilterBlend;
    layer.shadingFlags = 17;
    layer.textureId = 1;
    layer.textureAnimationId = 0;
    layer.coordId = 0;
    layer.alpha = 0.75f;
    layer.alphaTrack = track<float>(InterpHermite, {{0, 0.5f}, {10, 1.0f}});
    layer.alphaTrack.keys[0].inTan = 0.25f;
    layer.alphaTrack.keys[0].outTan = 0.125f;
    layer.textureIdTrack = track<float>(InterpNone, {{0, 0}, {20, 2}});
    MaterialChunk mat;
    mat.priorityPlane = 2;
    mat.flags = 16;
    mat.layers = {layer, layer};
    mat.layers[1].alphaTrack = {};
    m.materials = {mat, MaterialChunk{}};
    TextureAnimationChunk ta;
    ta.translation = track<TVec3>(InterpLinear, {{0, {0, 0, 0}}, {10, {1, 0, 0}}});
    ta.rotation = track<TQuat>(InterpLinear, {{0, {0, 0, 0, 1}}});
    ta.scaling = track<TVec3>(InterpBezier, {{0, {1, 1, 1}}});
    m.textureAnimations = {ta};
    GeosetChunk g = boundGeoset({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}, {0, 0, 1}, {1, 0, 1}}, 0);
    g.vertexGroups = {0, 0, 0, 1, 1, 1};
    g.matrixGroupSizes = {1, 2};
    g.matrixIndices = {0, 0, 1};
    g.matrixGroups = {{0}, {0, 1}};
    g.selectionGroup = 3;
    g.selectionFlags = SelectionUnselectable;
    g.extentCount = 2;
    g.lastExtent = {4, {0, 0, 0}, {1, 1, 1}};
    m.geosets = {g, boundGeoset({{0, 0, 0}, {2, 0, 0}, {0, 2, 0}}, 1, 1)};
    GeosetAnimationChunk ga;
    ga.alpha = 0.5f;
    ga.flags = 1;
    ga.color = {0.1f, 0.2f, 0.3f};
    ga.geosetId = 1;
    ga.alphaTrack = track<float>(InterpNone, {{0, 1}, {500, 0}});
    ga.colorTrack = track<TVec3>(InterpLinear, {{0, {1, 0, 0}}});
    m.geosetAnimations = {ga};
    m.bones = {{node("Root", 0, -1), 0, -1}, {node("Arm", 1, 0), 1, 0}};
    m.helpers = {node("Helper", 5, 0)};
    LightChunk light;
    light.node = node("Light", 2, -1);
    light.type = 1;
    light.attenuationStart = {1, 2, 3, 4};
    light.attenuationEnd = {5, 6, 7, 8};
    light.color = {1, 0.5f, 0.25f};
    light.intensity = 2;
    light.ambientColor = {0.1f, 0.1f, 0.1f};
    light.ambientIntensity = 0.5f;
    light.visibility = track<float>(InterpNone, {{0, 1}});
    light.colorTrack = track<TVec3>(InterpLinear, {{0, {1, 1, 1}}});
    light.intensityTrack = track<float>(InterpLinear, {{0, 3}});
    light.ambientColorTrack = track<TVec3>(InterpLinear, {{0, {0, 0, 1}}});
    light.ambientIntensityTrack = track<float>(InterpLinear, {{0, 4}});
    m.lights = {light};
    AttachmentChunk at;
    at.node = node("Hand", 3, 1);
    at.path = "Models/Sword.mdx";
    at.attachmentId = 4;
    at.visibility = track<float>(InterpNone, {{0, 1}, {100, 0}});
    m.attachments = {at};
    m.pivotPoints = {{0, 0, 0}, {0, 1, 2}, {3, 4, 5}, {6, 7, 8}, {9, 10, 11}, {1, 1, 1}, {2, 2, 2}, {3, 3, 3}};
    ParticleEmitterChunk pe;
    pe.node = node("Smoke", 4, -1);
    pe.emissionRate = 1;
    pe.gravity = 2;
    pe.longitude = 3;
    pe.latitude = 4;
    pe.path = "Models/Puff.mdx";
    pe.lifespan = 5;
    pe.initialVelocity = 6;
    pe.visibility = track<float>(InterpNone, {{0, 1}});
    m.particleEmitters = {pe};
    Particleemitter2Chunk p2;
    p2.node = node("Sparks", 6, -1);
    p2.speed = 1, p2.variation = 2, p2.latitude = 3, p2.gravity = 4, p2.lifespan = 5, p2.emissionRate = 6;
    p2.length = 7, p2.width = 8;
    p2.filterMode = 2, p2.rows = 3, p2.columns = 4, p2.headOrTail = 1;
    p2.tailLength = 9, p2.time = 0.5f;
    p2.segmentColor = {TVec3{1, 0, 0}, TVec3{0, 1, 0}, TVec3{0, 0, 1}};
    p2.segmentAlpha = {255, 128, 0};
    p2.segmentScaling = {1, 2, 3};
    p2.headIntervals = {1, 2, 3};
    p2.headDecayIntervals = {4, 5, 6};
    p2.tailIntervals = {7, 8, 9};
    p2.tailDecayIntervals = {10, 11, 12};
    p2.textureId = 0, p2.squirt = 1, p2.priorityPlane = 2, p2.replaceableId = 0;
    p2.visibility = track<float>(InterpNone, {{0, 1}});
    p2.emissionTrack = track<float>(InterpLinear, {{0, 6}});
    p2.widthTrack = track<float>(InterpLinear, {{0, 8}});
    p2.lengthTrack = track<float>(InterpLinear, {{0, 7}});
    p2.speedTrack = track<float>(InterpLinear, {{0, 1}});
    m.particleEmitters2 = {p2};
    RibbonEmitterChunk rb;
    rb.node = node("Trail", 7, -1);
    rb.heightAbove = 1, rb.heightBelow = 2, rb.alpha = 0.5f;
    rb.color = {1, 1, 0};
    rb.lifespan = 3;
    rb.textureSlot = 0, rb.emissionRate = 10, rb.rows = 1, rb.columns = 1, rb.materialId = 0;
    rb.gravity = 9;
    rb.visibility = track<float>(InterpNone, {{0, 1}});
    rb.heightAboveTrack = track<float>(InterpLinear, {{0, 1}});
    rb.heightBelowTrack = track<float>(InterpLinear, {{0, 2}});
    m.ribbonEmitters = {rb};
    EventObjectChunk ev;
    ev.node = node("Footstep", 8, -1);
    ev.globalSequenceId = -1;
    ev.times = {100, 600};
    m.eventObjects = {ev};
    CameraChunk cam;
    cam.name = "Portrait";
    cam.position = {100, 0, 50};
    cam.fieldOfView = {0, 0, 128, 63};
    cam.farClip = {0, 0, 250, 68};
    cam.nearClip = {0, 0, 128, 62};
    cam.targetPosition = {0, 0, 40};
    cam.translation = track<TVec3>(InterpLinear, {{0, {0, 0, 0}}});
    cam.targetTranslation = track<TVec3>(InterpLinear, {{0, {0, 0, 1}}});
    cam.rotation = track<float>(InterpLinear, {{0, 0.5f}});
    m.cameras = {cam};
    CollisionShapeChunk box;
    box.node = node("Box", 9, -1);
    box.shapeType = ShapeBox;
    box.vertex1 = {-1, -1, 0};
    box.vertex2 = {1, 1, 2};
    CollisionShapeChunk ball;
    ball.node = node("Ball", 10, -1);
    ball.shapeType = ShapeSphere;
    ball.vertex1 = {0, 0, 1};
    ball.radius = 1.5f;
    m.collisionShapes = {box, ball};
    m.highestObjectId = 5;  // bones and helpers only
    return m;
}

void writeModel(const std::string& path, const MdxModel& model)
{
    const std::filesystem::path p(path);
    if (p.has_parent_path())
        std::filesystem::create_directories(p.parent_path());
    saveMdx(model, path);
}

}  // namespace testing_support
