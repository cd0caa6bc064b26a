#include "assets/FDisplay.h"

#include "assets/FLoader.h"
#include "shell/FFPS.h"
#include "shell/FLogs.h"

#include <random>

TFrustum ViewFrustum;

namespace {

std::mt19937 animationRandom{12345};

enum class KeySpan { None, Hold, Between };

// The key at or before t within the sequence [start, end].
template <typename V>
KeySpan findKey(const TTransformation<V>& track, int t, int start, int end, std::size_t& i0)
{
    bool found = false;
    for (std::size_t i = 0; i < track.keys.size(); ++i) {
        if (track.keys[i].time > t || track.keys[i].time > end)
            break;
        i0 = i;
        found = true;
    }
    if (!found || track.keys[i0].time < start)
        return KeySpan::None;
    if (i0 + 1 == track.keys.size())
        return KeySpan::Hold;
    return KeySpan::Between;
}

float lerp(float a, float b, float f)
{
    return a + f * (b - a);
}

TVec3 interpolate(const TVec3& a, const TVec3& b, float f)
{
    return {lerp(a.x, b.x, f), lerp(a.y, b.y, f), lerp(a.z, b.z, f)};
}
float interpolate(float a, float b, float f)
{
    return lerp(a, b, f);
}
TQuat interpolate(const TQuat& a, const TQuat& b, float f)
{
    return slerp(a, b, f);
}

// A track's value at t; `contributed` tells whether the track had a say.
// Every interpolation type above 0 is evaluated linearly (tangents unused).
template <typename V>
V evaluate(const TTransformation<V>& track, int t, int start, int end, const V& fallback, bool& contributed)
{
    std::size_t i0 = 0;
    contributed = false;
    switch (findKey(track, t, start, end, i0)) {
    case KeySpan::None:
        return fallback;
    case KeySpan::Hold:
        if (track.interpolationType != InterpNone)
            return fallback;
        contributed = true;
        return track.keys[i0].value;
    case KeySpan::Between:
        break;
    }
    contributed = true;
    const TKey<V>& a = track.keys[i0];
    if (track.interpolationType == InterpNone)
        return a.value;
    const TKey<V>& b = track.keys[i0 + 1];
    if (a.time == b.time)
        return a.value;
    const float f = static_cast<float>(t - a.time) / static_cast<float>(b.time - a.time);
    return interpolate(a.value, b.value, f);
}

const NodeChunk* findNode(const MdxModel& m, int objectId)
{
    for (const BoneChunk& b : m.bones)
        if (b.node.objectId == objectId)
            return &b.node;
    for (const NodeChunk& h : m.helpers)
        if (h.objectId == objectId)
            return &h;
    return nullptr;
}

// Deeper than any real skeleton: a parent chain this long loops.
constexpr int MaxNodeDepth = 256;

}  // namespace

float evaluateTrack(const Transformation1& track, int t, int start, int end, float fallback, bool& contributed)
{
    return evaluate(track, t, start, end, fallback, contributed);
}

TVec3 evaluateTrack(const Transformation3& track, int t, int start, int end, const TVec3& fallback, bool& contributed)
{
    return evaluate(track, t, start, end, fallback, contributed);
}

TQuat evaluateTrack(const Transformation4& track, int t, int start, int end, const TQuat& fallback, bool& contributed)
{
    return evaluate(track, t, start, end, fallback, contributed);
}

void seedAnimationRandom(unsigned seed)
{
    animationRandom.seed(seed);
}

TModel::TModel()
{
    releaseMarker = "Ready";
}

const MdxModel& TModel::model() const
{
    return modelAt(modelIndex);
}

void TModel::SetModel(const std::string& path)
{
    modelPath = path;
    modelIndex = GetModelIndex(path);
    nodeCache.assign(static_cast<std::size_t>(model().highestObjectId) + 1, TNodeCacheEntry{});
}

void TModel::invalidateNodeCache()
{
    for (TNodeCacheEntry& e : nodeCache)
        e.time = -1;
}

void TModel::SetAnimation(const std::string& requested, bool loop, bool force)
{
    const std::string name = asciiLower(requested);
    if (name == currentAnimation && !force)
        return;
    if (name.empty()) {
        animating = false;
        return;
    }
    animating = true;
    const std::vector<SequenceChunk>& sequences = model().sequences;
    std::size_t match = 0;
    while (match < sequences.size() && asciiLower(sequences[match].name) != name)
        ++match;
    if (match == sequences.size()) {
        logLine("Animation `" + name + "` not found on `" + model().name + "`");
        return;
    }
    // A following sequence with a rarity r is chosen with chance 1/r each in turn.
    std::size_t chosen = match;
    std::uniform_real_distribution<float> uniform(0.0f, 1.0f);
    for (std::size_t b = match + 1; b < sequences.size(); ++b) {
        const float rarity = sequences[b].rarity;
        if (!(rarity > 0))
            break;
        if (uniform(animationRandom) <= 1 / rarity) {
            chosen = b;
            break;
        }
    }
    sequenceIndex = static_cast<int>(chosen);
    animationTime = sequences[chosen].intervalStart;
    currentAnimation = name;
    looping = loop;
    invalidateNodeCache();
}

void TModel::AdvanceAnimation(int t)
{
    const std::vector<SequenceChunk>& sequences = model().sequences;
    if (!animating || sequences.empty() || static_cast<std::size_t>(sequenceIndex) >= sequences.size())
        return;
    const SequenceChunk& s = sequences[static_cast<std::size_t>(sequenceIndex)];
    if (t != -1) {
        animationTime = s.intervalStart + t;
        return;
    }
    AdvanceAnimationBy(FrameClock.elapsed);
}

void TModel::AdvanceAnimationBy(int elapsedMs)
{
    const std::vector<SequenceChunk>& sequences = model().sequences;
    if (!animating || sequences.empty() || static_cast<std::size_t>(sequenceIndex) >= sequences.size())
        return;
    const SequenceChunk& s = sequences[static_cast<std::size_t>(sequenceIndex)];
    const int n = animationTime + elapsedMs;
    // Reaching the end exactly ends the sequence too: with frame times that
    // divide its length a looping attack would otherwise wrap for ever
    // without raising the release marker, and a death would start over.
    if (n >= s.intervalEnd && elapsedMs > 0) {
        if (looping) {
            if (!returnAnimation.empty()) {
                currentAnimation = returnAnimation;
                returnAnimation.clear();
            }
            if (releaseMarker.empty())
                releaseMarker = "Ready";
            SetAnimation(currentAnimation, true, true);
        } else {
            animationTime = s.intervalEnd;
            SetAnimation("", false, false);
        }
    } else if (s.intervalEnd > s.intervalStart) {
        animationTime = s.intervalStart + (n - s.intervalStart) % (s.intervalEnd - s.intervalStart);
    }
}

const TMatrix& TModel::NodeMatrix(int objectId)
{
    if (objectId >= 0 && static_cast<std::size_t>(objectId) < nodeCache.size()) {
        TNodeCacheEntry& entry = nodeCache[static_cast<std::size_t>(objectId)];
        if (!nodeCacheEnabled || entry.time != animationTime) {
            entry.matrix = computeNodeMatrix(objectId, 0);
            entry.time = animationTime;
        }
        return entry.matrix;
    }
    scratch_ = computeNodeMatrix(objectId, 0);
    return scratch_;
}

TMatrix TModel::computeNodeMatrix(int objectId, int depth)
{
    const MdxModel& m = model();
    const NodeChunk* node = findNode(m, objectId);
    if (!node) {
        log("Model Error: " + m.name + " can't find the Node " + std::to_string(objectId), LogDebug);
        return IdentityMatrix;
    }
    // Parents come from the cache too, which is what keeps skinning cheap.
    TMatrix matrix = IdentityMatrix;
    if (node->parentId != -1) {
        if (depth >= MaxNodeDepth) {
            log("Model Error: " + m.name + " has a parent loop at the Node " + std::to_string(objectId), LogDebug);
        } else if (nodeCacheEnabled && node->parentId >= 0 &&
                   static_cast<std::size_t>(node->parentId) < nodeCache.size() &&
                   nodeCache[static_cast<std::size_t>(node->parentId)].time == animationTime) {
            matrix = nodeCache[static_cast<std::size_t>(node->parentId)].matrix;
        } else {
            matrix = computeNodeMatrix(node->parentId, depth + 1);
            if (nodeCacheEnabled && node->parentId >= 0 && static_cast<std::size_t>(node->parentId) < nodeCache.size())
                nodeCache[static_cast<std::size_t>(node->parentId)] = {animationTime, matrix};
        }
    }

    int start = 0, end = 0;
    if (static_cast<std::size_t>(sequenceIndex) < m.sequences.size()) {
        start = m.sequences[static_cast<std::size_t>(sequenceIndex)].intervalStart;
        end = m.sequences[static_cast<std::size_t>(sequenceIndex)].intervalEnd;
    }
    bool byT = false, byR = false, byS = false;
    const TVec3 t = evaluate(node->translation, animationTime, start, end, ZeroVector, byT);
    const TQuat r = evaluate(node->rotation, animationTime, start, end, IdentityQuat, byR);
    const TVec3 s = evaluate(node->scaling, animationTime, start, end, UnitVector, byS);
    const TVec3 pivot = (objectId >= 0 && static_cast<std::size_t>(objectId) < m.pivotPoints.size())
                            ? m.pivotPoints[static_cast<std::size_t>(objectId)]
                            : ZeroVector;
    if (byT && (byR || byS))
        matrix = translate(matrix, t + pivot);
    else if (byT)
        matrix = translate(matrix, t);
    else if (byR || byS)
        matrix = translate(matrix, pivot);
    if (byR)
        matrix = multiply(matrix, rotationOf(r));
    if (byS)
        matrix = ::scale(matrix, s);
    if (byR || byS)
        matrix = translate(matrix, -pivot);
    return matrix;
}

TVec3 TModel::TransformVertex(int g, int v)
{
    const GeosetChunk& geoset = model().geosets[static_cast<std::size_t>(g)];
    const TVec3& p = geoset.vertices[static_cast<std::size_t>(v)];
    const float size = static_cast<float>(scale) * 0.1f;
    const std::vector<std::int32_t>* group = nullptr;
    if (static_cast<std::size_t>(v) < geoset.vertexGroups.size())
        group = &geoset.matrixGroups[geoset.vertexGroups[static_cast<std::size_t>(v)]];
    if (!group || group->empty())
        return {p.x * size, p.y * size, p.z * size};  // unbound vertices stay where the file puts them
    TMatrix sum = ZeroMatrix;
    for (std::int32_t objectId : *group) {
        const TMatrix& m = NodeMatrix(objectId);
        for (int i = 0; i < 16; ++i)
            sum[static_cast<std::size_t>(i)] += m[static_cast<std::size_t>(i)];
    }
    const float factor = size / static_cast<float>(group->size());
    return {(sum[0] * p.x + sum[4] * p.y + sum[8] * p.z + sum[12]) * factor,
            (sum[1] * p.x + sum[5] * p.y + sum[9] * p.z + sum[13]) * factor,
            (sum[2] * p.x + sum[6] * p.y + sum[10] * p.z + sum[14]) * factor};
}

void TModel::SkinGeoset(int g, std::vector<TVec3>& out)
{
    const GeosetChunk& geoset = model().geosets[static_cast<std::size_t>(g)];
    const float size = static_cast<float>(scale) * 0.1f;
    // Each matrix group's sum once, rather than once for every vertex it moves.
    groupSums_.resize(geoset.matrixGroups.size());
    groupReady_.assign(geoset.matrixGroups.size(), 0);
    out.resize(geoset.vertices.size());
    for (std::size_t v = 0; v < out.size(); ++v) {
        const TVec3& p = geoset.vertices[v];
        const std::size_t k = v < geoset.vertexGroups.size() ? geoset.vertexGroups[v] : geoset.matrixGroups.size();
        if (k >= geoset.matrixGroups.size() || geoset.matrixGroups[k].empty()) {
            out[v] = TransformVertex(g, static_cast<int>(v));
            continue;
        }
        TMatrix& sum = groupSums_[k];
        if (!groupReady_[k]) {
            sum = ZeroMatrix;
            for (std::int32_t objectId : geoset.matrixGroups[k]) {
                const TMatrix& m = NodeMatrix(objectId);
                for (int i = 0; i < 16; ++i)
                    sum[static_cast<std::size_t>(i)] += m[static_cast<std::size_t>(i)];
            }
            groupReady_[k] = 1;
        }
        const float factor = size / static_cast<float>(geoset.matrixGroups[k].size());
        out[v] = {(sum[0] * p.x + sum[4] * p.y + sum[8] * p.z + sum[12]) * factor,
                  (sum[1] * p.x + sum[5] * p.y + sum[9] * p.z + sum[13]) * factor,
                  (sum[2] * p.x + sum[6] * p.y + sum[10] * p.z + sum[14]) * factor};
    }
}

float TModel::GeosetAlpha(int g, bool picking)
{
    const MdxModel& m = model();
    const GeosetChunk& geoset = m.geosets[static_cast<std::size_t>(g)];
    if (picking && geoset.selectionFlags == SelectionUnselectable)
        return 0;
    if (geoset.materialId >= 0 && static_cast<std::size_t>(geoset.materialId) < m.materials.size()) {
        const MaterialChunk& material = m.materials[static_cast<std::size_t>(geoset.materialId)];
        if (!material.layers.empty()) {
            const std::int32_t textureId = material.layers[0].textureId;
            if (textureId >= 0 && static_cast<std::size_t>(textureId) < m.textures.size() &&
                m.textures[static_cast<std::size_t>(textureId)].replaceableId == ReplaceTeamGlow)
                return 0;
        }
    }
    for (const GeosetAnimationChunk& a : m.geosetAnimations) {
        if (a.geosetId != g)
            continue;
        int start = 0, end = 0;
        if (static_cast<std::size_t>(sequenceIndex) < m.sequences.size()) {
            start = m.sequences[static_cast<std::size_t>(sequenceIndex)].intervalStart;
            end = m.sequences[static_cast<std::size_t>(sequenceIndex)].intervalEnd;
        }
        bool contributed = false;
        return evaluate(a.alphaTrack, animationTime, start, end, 1.0f, contributed);
    }
    return 1;
}

bool TModel::IsVisible() const
{
    const MdxModel& m = model();
    if (m.sequences.empty() || static_cast<std::size_t>(sequenceIndex) >= m.sequences.size())
        return false;
    const TExtent& e = m.sequences[static_cast<std::size_t>(sequenceIndex)].extent;
    const TVec3 centre{(e.minimum.x + e.maximum.x) / 2 + static_cast<float>(position[0]) / 10000.0f,
                       (e.minimum.y + e.maximum.y) / 2 + static_cast<float>(position[1]) / 10000.0f,
                       (e.minimum.z + e.maximum.z) / 2 + static_cast<float>(position[2]) / 10000.0f};
    return sphereInFrustum(ViewFrustum, centre, e.boundsRadius);
}
