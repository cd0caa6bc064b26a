// FDisplay: TModel, one placed and animated instance of a cached MDX model.
// Units and projectiles derive from it; the scene drawing also makes bare
// ones for circles and the building preview. Animation, node matrices and
// skinning are headless (FDisplay.cpp); only DrawGeosets and the frustum
// read-back touch OpenGL (FDisplayDraw.cpp).
#pragma once

#include "assets/FMath3d.h"
#include "assets/FStructure.h"

#include <cstdint>
#include <string>
#include <vector>

struct TNodeCacheEntry {
    std::int32_t time = -1;  // -1: not computed for the current time
    TMatrix matrix{};
};

class TModel {
public:
    TModel();  // everything zero, releaseMarker "Ready"

    std::int64_t facing = 0;  // ten-thousandths of a radian about z
    std::string modelPath;
    int modelIndex = 0;
    int scale = 0;  // tenths: 10 is the file's size
    std::vector<TNodeCacheEntry> nodeCache;
    std::int64_t position[3] = {0, 0, 0};  // ten-thousandths of a world unit
    int screenX = 0, screenY = 0;
    bool animating = false;
    bool looping = false;
    int sequenceIndex = 0;
    int animationTime = 0;
    std::string returnAnimation;
    std::string releaseMarker;
    std::string currentAnimation;  // lower case
    std::int64_t teamColor[3] = {0, 0, 0};  // ten-thousandths per channel
    // Off only to measure what the node cache saves.
    bool nodeCacheEnabled = true;

    // Loads the model on first use and sizes the node cache to it.
    void SetModel(const std::string& path);
    void SetFacing(std::int64_t angle) { facing = angle; }
    void SetScale(int value) { scale = value; }
    // Plays the animation `name` (any case), drawing a rarer variation where
    // the model offers one; the same name again does nothing without `force`.
    void SetAnimation(const std::string& name, bool loop, bool force);
    // t = -1 advances by the frame's elapsed time; otherwise sets the time to
    // interval start + t.
    void AdvanceAnimation(int t);
    // Advances the clock by `elapsedMs` of frame time: sequence ends, returns
    // to returnAnimation and the release marker, as AdvanceAnimation(-1). The
    // game runs it for every unit every frame, drawn or not.
    void AdvanceAnimationBy(int elapsedMs);

    // Whether the current sequence's bounding sphere is in view.
    bool IsVisible() const;
    // Draws every visible geoset at the current modelview matrix; with
    // `picking`, shapes only, for selection.
    void DrawGeosets(bool picking);
    // > 0 when geoset g is drawn at the current time.
    float GeosetAlpha(int g, bool picking);
    // Vertex v of geoset g, skinned at animationTime and scaled.
    TVec3 TransformVertex(int g, int v);
    // Every vertex of geoset g as TransformVertex gives it, each matrix group summed once.
    void SkinGeoset(int g, std::vector<TVec3>& out);
    // The matrix of node `objectId` at animationTime (identity for a missing node).
    const TMatrix& NodeMatrix(int objectId);

    const MdxModel& model() const;

private:
    TMatrix computeNodeMatrix(int objectId, int depth);
    void invalidateNodeCache();
    TMatrix scratch_{};  // result holder for nodes outside the cache
    std::vector<TMatrix> groupSums_;         // SkinGeoset's per-group sums
    std::vector<std::uint8_t> groupReady_;
};

// A track's value at time t of the sequence [start, end], or `fallback`;
// `contributed` tells whether the track had a say.
float evaluateTrack(const Transformation1& track, int t, int start, int end, float fallback, bool& contributed);
TVec3 evaluateTrack(const Transformation3& track, int t, int start, int end, const TVec3& fallback, bool& contributed);
TQuat evaluateTrack(const Transformation4& track, int t, int start, int end, const TQuat& fallback, bool& contributed);

// The view frustum of the current camera; every IsVisible and geoset test uses it.
extern TFrustum ViewFrustum;
// Reads the projection and modelview matrices from GL into ViewFrustum; the
// camera calls it right after its look-at transform.
void ExtractFrustum();

// Seeds the random draws of animation variations.
void seedAnimationRandom(unsigned seed);
