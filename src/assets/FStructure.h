// FStructure: the records of one MDX model ("MDLX", version 800) as the
// loader fills them. Read by the model instances for drawing and animation,
// and written back by the model generator in tools/.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct TVec3 {
    float x = 0, y = 0, z = 0;
    bool operator==(const TVec3&) const = default;
};

struct TQuat {
    float x = 0, y = 0, z = 0, w = 1;
    bool operator==(const TQuat&) const = default;
};

enum InterpolationType { InterpNone = 0, InterpLinear = 1, InterpHermite = 2, InterpBezier = 3 };

template <typename V>
struct TKey {
    std::int32_t time = 0;  // ms on the model's one time line
    V value{};
    V inTan{};              // only in the file for Hermite and Bezier tracks
    V outTan{};
    bool operator==(const TKey&) const = default;
};

template <typename V>
struct TTransformation {
    std::int32_t interpolationType = InterpNone;
    std::int32_t globalSequenceId = -1;
    std::vector<TKey<V>> keys;
    bool operator==(const TTransformation&) const = default;
};

using Transformation1 = TTransformation<float>;
using Transformation3 = TTransformation<TVec3>;
using Transformation4 = TTransformation<TQuat>;

struct TExtent {
    float boundsRadius = 0;
    TVec3 minimum, maximum;
    bool operator==(const TExtent&) const = default;
};

struct SequenceChunk {
    std::string name;              // 80
    std::int32_t intervalStart = 0;
    std::int32_t intervalEnd = 0;
    float moveSpeed = 0;
    std::int32_t flags = 0;        // 1 = does not loop; callers decide looping themselves
    float rarity = 0;
    std::int32_t syncPoint = 0;
    TExtent extent;
    bool operator==(const SequenceChunk&) const = default;
};

enum ReplaceableId { ReplaceNone = 0, ReplaceTeamColor = 1, ReplaceTeamGlow = 2 };

struct TextureChunk {
    std::int32_t replaceableId = 0;
    std::string path;              // at most 255 characters
    unsigned glTexture = 0;        // from the texture cache; 0 for replaceable textures
    std::int32_t flags = 0;
    bool operator==(const TextureChunk&) const = default;
};

enum FilterMode { FilterNone = 0, FilterTransparent = 1, FilterBlend = 2, FilterAdditive = 3,
                  FilterAddAlpha = 4, FilterModulate = 5, FilterModulate2x = 6 };

struct LayerChunk {
    std::int32_t filterMode = 0;
    std::int32_t shadingFlags = 0;
    std::int32_t textureId = 0;
    std::int32_t textureAnimationId = -1;
    std::int32_t coordId = 0;
    float alpha = 1;
    Transformation1 alphaTrack;      // KMTA
    Transformation1 textureIdTrack;  // KMTF (ints in the file)
    bool operator==(const LayerChunk&) const = default;
};

struct MaterialChunk {
    std::int32_t priorityPlane = 0;
    std::int32_t flags = 0;
    std::vector<LayerChunk> layers;
    bool operator==(const MaterialChunk&) const = default;
};

struct TextureAnimationChunk {
    Transformation3 translation;  // KTAT
    Transformation4 rotation;     // KTAR
    Transformation3 scaling;      // KTAS
    bool operator==(const TextureAnimationChunk&) const = default;
};

struct TTriangle {
    std::uint16_t a = 0, b = 0, c = 0;
    bool operator==(const TTriangle&) const = default;
};

struct TTexCoord {
    float u = 0, v = 0;
    bool operator==(const TTexCoord&) const = default;
};

enum { SelectionUnselectable = 4 };

struct GeosetChunk {
    std::vector<TVec3> vertices;
    std::vector<TVec3> workVertices;        // sized to the vertex count, otherwise unused
    std::vector<std::uint32_t> workValues;  // likewise
    std::vector<TVec3> normals;
    std::vector<std::int32_t> faceTypeGroups;
    std::vector<std::int32_t> faceGroupCounts;
    std::vector<TTriangle> triangles;
    std::vector<std::uint8_t> vertexGroups;  // per vertex: its matrix group
    std::vector<std::int32_t> matrixGroupSizes;
    std::vector<std::int32_t> matrixIndices;
    std::vector<std::vector<std::int32_t>> matrixGroups;  // object ids per group, built from the two above
    std::int32_t materialId = 0;
    std::int32_t selectionGroup = 0;
    std::int32_t selectionFlags = 0;
    TExtent extent;
    TExtent lastExtent;                      // the last of the per-sequence extents in the file
    std::int32_t extentCount = 0;
    std::int32_t texCoordSetCount = 0;
    std::vector<TTexCoord> texCoords;        // the first set
    bool operator==(const GeosetChunk&) const = default;
};

struct GeosetAnimationChunk {
    float alpha = 1;
    std::int32_t flags = 0;
    TVec3 color{1, 1, 1};
    std::int32_t geosetId = 0;
    Transformation1 alphaTrack;  // KGAO
    Transformation3 colorTrack;  // KGAC
    bool operator==(const GeosetAnimationChunk&) const = default;
};

struct NodeChunk {
    std::string name;  // 80
    std::int32_t objectId = 0;
    std::int32_t parentId = -1;
    std::int32_t flags = 0;
    Transformation3 translation;  // KGTR
    Transformation4 rotation;     // KGRT
    Transformation3 scaling;      // KGSC
    bool operator==(const NodeChunk&) const = default;
};

struct BoneChunk {
    NodeChunk node;
    std::int32_t geosetId = -1;
    std::int32_t geosetAnimationId = -1;
    bool operator==(const BoneChunk&) const = default;
};

struct LightChunk {
    NodeChunk node;
    std::int32_t type = 0;
    std::array<std::uint8_t, 4> attenuationStart{};  // kept as read
    std::array<std::uint8_t, 4> attenuationEnd{};
    TVec3 color;
    float intensity = 0;
    TVec3 ambientColor;
    float ambientIntensity = 0;
    Transformation1 visibility;        // KLAV
    Transformation3 colorTrack;        // KLAC
    Transformation1 intensityTrack;    // KLAI
    Transformation3 ambientColorTrack; // KLBC
    Transformation1 ambientIntensityTrack;  // KLBI
    bool operator==(const LightChunk&) const = default;
};

struct AttachmentChunk {
    NodeChunk node;
    std::string path;  // at most 255
    std::int32_t attachmentId = 0;
    Transformation1 visibility;  // KATV
    bool operator==(const AttachmentChunk&) const = default;
};

struct ParticleEmitterChunk {
    NodeChunk node;
    float emissionRate = 0, gravity = 0, longitude = 0, latitude = 0;
    std::string path;  // spawned model, at most 255
    float lifespan = 0, initialVelocity = 0;
    Transformation1 visibility;  // KPEV
    bool operator==(const ParticleEmitterChunk&) const = default;
};

struct Particleemitter2Chunk {
    NodeChunk node;
    float speed = 0, variation = 0, latitude = 0, gravity = 0, lifespan = 0, emissionRate = 0,
          length = 0, width = 0;
    std::int32_t filterMode = 0, rows = 0, columns = 0, headOrTail = 0;
    float tailLength = 0, time = 0;
    std::array<TVec3, 3> segmentColor{};
    std::array<std::uint8_t, 3> segmentAlpha{};
    TVec3 segmentScaling;
    std::array<std::int32_t, 3> headIntervals{}, headDecayIntervals{}, tailIntervals{}, tailDecayIntervals{};
    std::int32_t textureId = 0, squirt = 0, priorityPlane = 0, replaceableId = 0;
    Transformation1 visibility;    // KP2V
    Transformation1 emissionTrack; // KP2E
    Transformation1 widthTrack;    // KP2W
    Transformation1 lengthTrack;   // KP2N
    Transformation1 speedTrack;    // KP2S
    bool operator==(const Particleemitter2Chunk&) const = default;
};

struct RibbonEmitterChunk {
    NodeChunk node;
    float heightAbove = 0, heightBelow = 0, alpha = 0;
    TVec3 color;
    float lifespan = 0;
    std::int32_t textureSlot = 0, emissionRate = 0, rows = 0, columns = 0, materialId = 0;
    float gravity = 0;
    Transformation1 visibility;        // KRVS
    Transformation1 heightAboveTrack;  // KRHA
    Transformation1 heightBelowTrack;  // KRHB
    bool operator==(const RibbonEmitterChunk&) const = default;
};

struct EventObjectChunk {
    NodeChunk node;
    std::int32_t globalSequenceId = -1;
    std::vector<std::int32_t> times;  // KEVT
    bool operator==(const EventObjectChunk&) const = default;
};

struct CameraChunk {
    std::string name;  // 80
    TVec3 position;
    std::array<std::uint8_t, 4> fieldOfView{}, farClip{}, nearClip{};  // kept as read
    TVec3 targetPosition;
    Transformation3 translation;        // KCTR
    Transformation3 targetTranslation;  // KTTR
    Transformation1 rotation;           // KCRL
    bool operator==(const CameraChunk&) const = default;
};

enum CollisionShapeType { ShapeBox = 0, ShapePlane = 1, ShapeSphere = 2, ShapeCylinder = 3 };

struct CollisionShapeChunk {
    NodeChunk node;
    std::int32_t shapeType = 0;
    TVec3 vertex1, vertex2;  // the second for boxes only
    float radius = 0;        // spheres only
    bool operator==(const CollisionShapeChunk&) const = default;
};

struct MdxModel {
    std::int32_t version = 0;
    std::string name;           // 80
    std::string animationFile;  // at most 255
    TExtent extent;
    std::int32_t blendTime = 0;
    std::vector<SequenceChunk> sequences;
    std::vector<std::int32_t> globalSequences;
    std::vector<TextureChunk> textures;
    std::vector<MaterialChunk> materials;
    std::vector<TextureAnimationChunk> textureAnimations;
    std::vector<GeosetChunk> geosets;
    std::vector<GeosetAnimationChunk> geosetAnimations;
    std::vector<BoneChunk> bones;
    std::vector<LightChunk> lights;
    std::vector<NodeChunk> helpers;
    std::vector<AttachmentChunk> attachments;
    std::vector<TVec3> pivotPoints;  // indexed by object id
    std::vector<ParticleEmitterChunk> particleEmitters;
    std::vector<Particleemitter2Chunk> particleEmitters2;
    std::vector<RibbonEmitterChunk> ribbonEmitters;
    std::vector<EventObjectChunk> eventObjects;
    std::vector<CameraChunk> cameras;
    std::vector<CollisionShapeChunk> collisionShapes;
    std::int32_t highestObjectId = 0;  // among bones and helpers
    bool operator==(const MdxModel&) const = default;
};
