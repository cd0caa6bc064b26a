// Model instances without a window: animation choice and timing, track
// evaluation, node matrices against a re-derivation, skinning, visibility.
#include "assets/FDisplay.h"

#include "../support/MdxSamples.h"
#include "../support/TestSupport.h"
#include "assets/FLoader.h"
#include "shell/FFPS.h"
#include "shell/FLogs.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace testing_support;

namespace {

SequenceChunk sequence(const std::string& name, int start, int end, float rarity)
{
    SequenceChunk s;
    s.name = name;
    s.intervalStart = start;
    s.intervalEnd = end;
    s.rarity = rarity;
    s.extent = {5, {-1, -1, 0}, {1, 1, 2}};
    return s;
}

BoneChunk bone(const std::string& name, int id, int parent)
{
    BoneChunk b;
    b.node.name = name;
    b.node.objectId = id;
    b.node.parentId = parent;
    return b;
}

// Stand, Stand 2 (rarity 3), Walk; a root bone and an arm bone below it.
MdxModel rig(float stand2Rarity = 3)
{
    MdxModel m;
    m.version = 800;
    m.name = "Rig";
    m.sequences = {sequence("Stand", 0, 1000, 0), sequence("Stand 2", 2000, 3000, stand2Rarity), sequence("Walk", 4000, 5000, 0)};
    m.bones = {bone("Root", 0, -1), bone("Arm", 1, 0)};
    m.pivotPoints = {{0, 0, 0}, {0, 0, 10}};
    m.geosets = {boundGeoset({{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, 1)};
    m.highestObjectId = 1;
    return m;
}

TQuat aboutZ(float degrees)
{
    const float h = degrees * 3.14159265f / 360;
    return {0, 0, std::sin(h), std::cos(h)};
}

bool logHas(const std::string& text)
{
    for (const std::string& line : readLines("Logs/log.txt"))
        if (line.find(text) != std::string::npos)
            return true;
    return false;
}

class Instance : public ::testing::Test {
protected:
    ScratchDir dir;
    TModel model;
    void SetUp() override
    {
        startLog();
        resetModelCache();
        ViewFrustum = TFrustum{};
        seedAnimationRandom(7);
        FrameClock.elapsed = 100;
    }
    void TearDown() override { resetModelCache(); }
    void use(const MdxModel& m)
    {
        static int serial = 0;
        const std::string path = "Models/M" + std::to_string(serial++) + ".mdx";
        writeModel(path, m);
        model.SetModel(path);
        model.SetScale(10);
    }
};

void expectNear(const TVec3& a, const TVec3& b)
{
    EXPECT_NEAR(a.x, b.x, 1e-4f);
    EXPECT_NEAR(a.y, b.y, 1e-4f);
    EXPECT_NEAR(a.z, b.z, 1e-4f);
}

}  // namespace

TEST_F(Instance, CreateAndSetModel)
{
    EXPECT_EQ(model.releaseMarker, "Ready");
    EXPECT_TRUE(model.returnAnimation.empty());
    EXPECT_FALSE(model.animating);
    use(rig());
    EXPECT_EQ(model.nodeCache.size(), 2u);
    for (const TNodeCacheEntry& e : model.nodeCache)
        EXPECT_EQ(e.time, -1);
}

TEST_F(Instance, RarerVariationPlaysAboutOneTimeInThree)
{
    use(rig());
    int variations = 0;
    constexpr int Trials = 3000;
    for (int i = 0; i < Trials; ++i) {
        model.SetAnimation("STAND", true, true);
        EXPECT_EQ(model.currentAnimation, "stand");
        ASSERT_TRUE(model.sequenceIndex == 0 || model.sequenceIndex == 1);
        variations += model.sequenceIndex == 1;
    }
    EXPECT_NEAR(variations / static_cast<double>(Trials), 1.0 / 3, 0.04);
    // Asking for the variation by name plays it; Walk after it has no rarity.
    model.SetAnimation("Stand 2", true, true);
    EXPECT_EQ(model.sequenceIndex, 1);
    EXPECT_EQ(model.animationTime, 2000);
}

TEST_F(Instance, SameNameWithoutForceKeepsTheTime)
{
    use(rig());
    model.SetAnimation("Walk", true, false);
    model.AdvanceAnimation(300);
    EXPECT_EQ(model.animationTime, 4300);
    model.SetAnimation("walk", false, false);
    EXPECT_EQ(model.animationTime, 4300);
    EXPECT_TRUE(model.looping);
    model.SetAnimation("walk", true, true);
    EXPECT_EQ(model.animationTime, 4000);
}

TEST_F(Instance, UnknownAnimationIsLoggedAndTheOldOneGoesOn)
{
    use(rig());
    model.SetAnimation("walk", true, false);
    model.SetAnimation("Run", true, false);
    EXPECT_TRUE(logHas("Addline : Animation `run` not found on `Rig`"));
    EXPECT_TRUE(model.animating);
    EXPECT_EQ(model.sequenceIndex, 2);
    EXPECT_EQ(model.currentAnimation, "walk");
}

TEST_F(Instance, LoopingAnimationPassingItsEndTakesTheQueuedName)
{
    use(rig());
    model.SetAnimation("walk", true, false);
    model.AdvanceAnimation(950);
    model.returnAnimation = "stand";
    model.releaseMarker.clear();
    model.AdvanceAnimation(-1);
    EXPECT_EQ(model.currentAnimation, "stand");
    EXPECT_TRUE(model.returnAnimation.empty());
    EXPECT_EQ(model.releaseMarker, "Ready");
    EXPECT_EQ(model.animationTime, model.model().sequences[static_cast<std::size_t>(model.sequenceIndex)].intervalStart);
    // Without a queued name it starts over; reaching the end exactly shows the start frame.
    model.SetAnimation("walk", true, true);
    model.AdvanceAnimation(900);
    model.AdvanceAnimation(-1);
    EXPECT_EQ(model.animationTime, 4000);
    model.AdvanceAnimation(-1);
    EXPECT_EQ(model.animationTime, 4100);
}

TEST_F(Instance, NonLoopingAnimationStopsOnItsLastFrame)
{
    use(rig());
    model.SetAnimation("walk", false, false);
    model.AdvanceAnimation(950);
    model.AdvanceAnimation(-1);
    EXPECT_EQ(model.animationTime, 5000);
    EXPECT_FALSE(model.animating);
    model.AdvanceAnimation(-1);
    EXPECT_EQ(model.animationTime, 5000);
    model.SetAnimation("", true, true);
    EXPECT_FALSE(model.animating);
}

TEST_F(Instance, TrackHoldAndDefaultRules)
{
    MdxModel m = rig(0);
    m.bones[0].node.translation = track<TVec3>(InterpLinear, {{100, {0, 0, 0}}, {500, {10, 0, 0}}});
    m.bones[1].node.translation = track<TVec3>(InterpNone, {{100, {0, 0, 0}}, {500, {10, 0, 0}}});
    use(m);
    model.SetAnimation("stand", true, false);
    auto offset = [&](int objectId, int t) {
        model.AdvanceAnimation(t);
        return model.NodeMatrix(objectId)[12];
    };
    EXPECT_FLOAT_EQ(offset(0, 300), 5);
    EXPECT_FLOAT_EQ(offset(0, 50), 0);   // before the first key: the default
    EXPECT_FLOAT_EQ(offset(0, 700), 0);  // after the last key of a linear track: the default again
    EXPECT_FLOAT_EQ(offset(1, 700), 10); // type 0 holds (its parent adds nothing at 700)
    EXPECT_FLOAT_EQ(offset(1, 300), 5);  // type 0 steps: its key before (0) plus the parent's 5
    // A track whose keys lie in another sequence does not reach into this one.
    model.SetAnimation("walk", true, false);
    EXPECT_FLOAT_EQ(offset(1, 300), 0);
}

TEST(Slerp, NearlyEqualKeysAreAveragedAndOppositeSignsTakeTheShortWay)
{
    // Half a tenth of a degree apart: the sine of the angle between them is below 0.001.
    const TQuat a = aboutZ(10), b = aboutZ(10.1f);
    const TQuat mid = slerp(a, b, 0.1f);
    EXPECT_FLOAT_EQ(mid.z, (a.z + b.z) / 2);
    EXPECT_FLOAT_EQ(mid.w, (a.w + b.w) / 2);
    const TQuat half = slerp(aboutZ(0), aboutZ(90), 0.5f);
    EXPECT_NEAR(half.z, aboutZ(45).z, 1e-6);
    const TQuat c = aboutZ(80);
    const TQuat flipped = slerp(aboutZ(0), {-c.x, -c.y, -c.z, -c.w}, 0.5f);
    EXPECT_NEAR(flipped.z, aboutZ(40).z, 1e-6);
    EXPECT_EQ(slerp(a, a, 0.3f), a);
}

// Node matrices checked against the transform written out directly: for each
// node, p -> T + P + R(S (p - P)), applied from the node up to the root, with
// the rotation done by quaternion products rather than a matrix.
TEST_F(Instance, NodeMatricesMatchADirectDerivation)
{
    MdxModel m = rig(0);
    m.pivotPoints = {{1, 2, 0}, {0, 3, 10}};
    m.bones[0].node.translation = track<TVec3>(InterpLinear, {{0, {0, 0, 0}}, {1000, {20, -4, 6}}});
    m.bones[0].node.rotation = track<TQuat>(InterpLinear, {{0, aboutZ(0)}, {1000, aboutZ(120)}});
    m.bones[0].node.scaling = track<TVec3>(InterpHermite, {{0, {1, 1, 1}}, {1000, {2, 0.5f, 3}}});
    const float s = std::sqrt(0.5f);
    m.bones[1].node.rotation = track<TQuat>(InterpLinear, {{0, {0, 0, 0, 1}}, {1000, {s, 0, 0, s}}});
    use(m);
    model.SetAnimation("stand", true, false);

    auto rotate = [](TQuat q, TVec3 v) {
        // q v q* expanded
        const TVec3 u{q.x, q.y, q.z};
        auto cross = [](TVec3 a, TVec3 b) { return TVec3{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; };
        const TVec3 t = cross(u, v);
        const TVec3 t2{2 * t.x, 2 * t.y, 2 * t.z};
        const TVec3 c = cross(u, t2);
        return TVec3{v.x + q.w * t2.x + c.x, v.y + q.w * t2.y + c.y, v.z + q.w * t2.z + c.z};
    };
    for (int t : {0, 250, 500, 999}) {
        model.AdvanceAnimation(t);
        const float f = static_cast<float>(t) / 1000;
        const TVec3 translation{20 * f, -4 * f, 6 * f};
        const TQuat rootRotation = aboutZ(120 * f);
        const TVec3 scaling{1 + f, 1 - 0.5f * f, 1 + 2 * f};
        const TQuat armRotation = slerp({0, 0, 0, 1}, {s, 0, 0, s}, f);
        for (TVec3 p : {TVec3{0, 0, 0}, TVec3{1, 2, 3}, TVec3{-4, 0.5f, 12}}) {
            const TVec3 pa = m.pivotPoints[1];
            TVec3 q = rotate(armRotation, {p.x - pa.x, p.y - pa.y, p.z - pa.z});
            q = {q.x + pa.x, q.y + pa.y, q.z + pa.z};
            const TVec3 pr = m.pivotPoints[0];
            TVec3 r{(q.x - pr.x) * scaling.x, (q.y - pr.y) * scaling.y, (q.z - pr.z) * scaling.z};
            r = rotate(rootRotation, r);
            const TVec3 expected{r.x + pr.x + translation.x, r.y + pr.y + translation.y, r.z + pr.z + translation.z};
            expectNear(transformPoint(model.NodeMatrix(1), p), expected);
        }
        EXPECT_EQ(model.nodeCache[0].time, model.animationTime);  // the parent was cached on the way
    }
    // Without the cache the matrices are the same.
    const TMatrix cached = model.NodeMatrix(1);
    model.nodeCacheEnabled = false;
    EXPECT_EQ(model.NodeMatrix(1), cached);
}

TEST_F(Instance, MissingParentAndParentLoopsAreTolerated)
{
    MdxModel m = rig(0);
    m.bones[1].node.parentId = 7;
    m.bones[1].node.translation = track<TVec3>(InterpNone, {{0, {1, 2, 3}}});
    use(m);
    model.SetAnimation("stand", true, false);
    const TMatrix& arm = model.NodeMatrix(1);
    EXPECT_TRUE(logHas("Debug: Model Error: Rig can't find the Node 7"));
    expectNear(transformPoint(arm, {0, 0, 0}), {1, 2, 3});

    MdxModel loop = rig(0);
    loop.bones[0].node.parentId = 1;
    use(loop);
    model.SetAnimation("stand", true, false);
    model.nodeCacheEnabled = false;
    EXPECT_NO_FATAL_FAILURE(model.NodeMatrix(1));
    EXPECT_TRUE(logHas("parent loop"));
}

TEST_F(Instance, ScaleAndSkinning)
{
    MdxModel m = rig(0);
    m.bones[1].node.translation = track<TVec3>(InterpNone, {{0, {0, 0, 5}}});
    // Vertex 1 averages the two bones.
    m.geosets[0].matrixGroupSizes = {1, 2};
    m.geosets[0].matrixIndices = {1, 0, 1};
    m.geosets[0].vertexGroups = {0, 1, 0};
    use(m);
    model.SetAnimation("stand", true, false);
    expectNear(model.TransformVertex(0, 0), {1, 0, 5});
    expectNear(model.TransformVertex(0, 1), {0, 1, 2.5f});
    model.SetScale(20);
    expectNear(model.TransformVertex(0, 0), {2, 0, 10});
    // The whole geoset at once gives the very same points, group sums shared.
    std::vector<TVec3> all;
    model.SkinGeoset(0, all);
    ASSERT_EQ(all.size(), 3u);
    for (int v = 0; v < 3; ++v) {
        const TVec3 one = model.TransformVertex(0, v);
        EXPECT_EQ(all[static_cast<std::size_t>(v)].x, one.x);
        EXPECT_EQ(all[static_cast<std::size_t>(v)].y, one.y);
        EXPECT_EQ(all[static_cast<std::size_t>(v)].z, one.z);
    }
    model.SetScale(0);
    expectNear(model.TransformVertex(0, 2), {0, 0, 0});
}

TEST_F(Instance, GeosetAlphaHidesTeamGlowUnselectableAndFadedGeosets)
{
    MdxModel m = rig(0);
    m.textures = {{0, "", 0, 0}, {ReplaceTeamGlow, "", 0, 0}};
    LayerChunk plain, glow;
    glow.textureId = 1;
    m.materials = {MaterialChunk{0, 0, {plain}}, MaterialChunk{0, 0, {glow, plain}}};
    const GeosetChunk g = m.geosets[0];
    m.geosets = {g, g, g, g};
    m.geosets[1].materialId = 1;
    m.geosets[2].selectionFlags = SelectionUnselectable;
    GeosetAnimationChunk fade;
    fade.geosetId = 3;
    fade.alphaTrack = track<float>(InterpNone, {{0, 1}, {500, 0}});
    m.geosetAnimations = {fade};
    use(m);
    model.SetAnimation("stand", true, false);
    EXPECT_GT(model.GeosetAlpha(0, false), 0);
    EXPECT_EQ(model.GeosetAlpha(1, false), 0);
    EXPECT_EQ(model.GeosetAlpha(1, true), 0);
    EXPECT_GT(model.GeosetAlpha(2, false), 0);
    EXPECT_EQ(model.GeosetAlpha(2, true), 0);
    EXPECT_GT(model.GeosetAlpha(3, false), 0);
    model.AdvanceAnimation(600);
    EXPECT_EQ(model.GeosetAlpha(3, false), 0);
}

TEST_F(Instance, VisibilityUsesTheSequenceSphereAndTheFrustum)
{
    use(rig());
    model.SetAnimation("stand", true, false);
    EXPECT_TRUE(model.IsVisible());  // no camera yet: everything passes
    // Identity matrices: the view is the cube from -1 to 1.
    ViewFrustum = frustumOf(IdentityMatrix, IdentityMatrix);
    model.position[0] = 0;
    EXPECT_TRUE(model.IsVisible());
    model.position[0] = 70000;  // 7 units away, radius 5
    EXPECT_FALSE(model.IsVisible());
    model.position[0] = 50000;
    EXPECT_TRUE(model.IsVisible());

    MdxModel none = rig();
    none.sequences.clear();
    use(none);
    EXPECT_FALSE(model.IsVisible());
}
