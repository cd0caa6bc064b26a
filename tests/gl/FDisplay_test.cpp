// Model instances with a real GL context: node matrices against the GL
// modelview stack, team glow and unselectable geosets in drawing and picking,
// and the model viewer rendering a generated unit in each sequence.
#include "assets/FDisplay.h"

#include "../support/MdxSamples.h"
#include "../support/OffscreenContext.h"
#include "../support/TestSupport.h"
#include "assets/FLoader.h"
#include "assets/FTextures.h"
#include "shell/FLogs.h"

#include <GL/glu.h>

#include <cmath>
#include <filesystem>

using namespace testing_support;

namespace {

const std::string GameDir = std::string(VRAX_BINARY_DIR) + "/game";

const NodeChunk* findNode(const MdxModel& m, int id)
{
    for (const BoneChunk& b : m.bones)
        if (b.node.objectId == id)
            return &b.node;
    for (const NodeChunk& h : m.helpers)
        if (h.objectId == id)
            return &h;
    return nullptr;
}

// The node transform composed on the GL matrix stack, step by step.
TMatrix stackMatrix(const MdxModel& m, int id, int t, int start, int end)
{
    const NodeChunk* node = findNode(m, id);
    if (!node)
        return IdentityMatrix;
    glPushMatrix();
    if (node->parentId == -1) {
        glLoadIdentity();
    } else {
        const TMatrix parent = stackMatrix(m, node->parentId, t, start, end);
        glLoadMatrixf(parent.data());
    }
    bool byT, byR, byS;
    const TVec3 tr = evaluateTrack(node->translation, t, start, end, ZeroVector, byT);
    const TQuat r = evaluateTrack(node->rotation, t, start, end, IdentityQuat, byR);
    const TVec3 s = evaluateTrack(node->scaling, t, start, end, UnitVector, byS);
    const TVec3 p = m.pivotPoints[static_cast<std::size_t>(id)];
    if (byT && (byR || byS))
        glTranslatef(tr.x + p.x, tr.y + p.y, tr.z + p.z);
    else if (byT)
        glTranslatef(tr.x, tr.y, tr.z);
    else if (byR || byS)
        glTranslatef(p.x, p.y, p.z);
    if (byR) {
        const float xx = r.x * r.x, yy = r.y * r.y, zz = r.z * r.z, xy = r.x * r.y, xz = r.x * r.z, yz = r.y * r.z,
                    xw = r.x * r.w, yw = r.y * r.w, zw = r.z * r.w;
        const GLfloat rotation[16] = {1 - 2 * (yy + zz), 2 * (xy + zw), 2 * (xz - yw), 0,
                                      2 * (xy - zw), 1 - 2 * (xx + zz), 2 * (yz + xw), 0,
                                      2 * (xz + yw), 2 * (yz - xw), 1 - 2 * (xx + yy), 0, 0, 0, 0, 1};
        glMultMatrixf(rotation);
    }
    if (byS)
        glScalef(s.x, s.y, s.z);
    if (byR || byS)
        glTranslatef(-p.x, -p.y, -p.z);
    TMatrix out;
    glGetFloatv(GL_MODELVIEW_MATRIX, out.data());
    glPopMatrix();
    return out;
}

class ModelDrawing : public OffscreenContext {
protected:
    ScratchDir dir;
    void SetUp() override
    {
        OffscreenContext::SetUp();
        startLog();
        resetModelCache();
        InitTextures();
        ViewFrustum = TFrustum{};
        glMatrixMode(GL_MODELVIEW);
    }
    void TearDown() override
    {
        resetModelCache();
        OffscreenContext::TearDown();
    }
};

}  // namespace

TEST_F(ModelDrawing, NodeMatricesEqualTheModelviewStack)
{
    for (const char* unit : {"Warlord", "Bowman", "Keep", "Totem"}) {
        TModel model;
        model.SetModel(GameDir + "/Models/Units/" + unit + ".mdx");
        const MdxModel& m = model.model();
        ASSERT_FALSE(m.sequences.empty()) << unit;
        for (const SequenceChunk& s : m.sequences) {
            model.SetAnimation(s.name, true, true);
            model.sequenceIndex = static_cast<int>(&s - m.sequences.data());
            for (float f : {0.0f, 0.3f, 0.55f, 1.0f}) {
                const int t = static_cast<int>(f * static_cast<float>(s.intervalEnd - s.intervalStart));
                model.AdvanceAnimation(t);
                for (int id = 0; id <= m.highestObjectId; ++id) {
                    const TMatrix ours = model.NodeMatrix(id);
                    const TMatrix gl = stackMatrix(m, id, model.animationTime, s.intervalStart, s.intervalEnd);
                    // Same operations in the same order as the GL stack: the same bits.
                    for (int i = 0; i < 16; ++i)
                        ASSERT_EQ(ours[static_cast<std::size_t>(i)], gl[static_cast<std::size_t>(i)])
                            << unit << " " << s.name << " t=" << t << " node " << id << " element " << i;
                }
            }
        }
    }
}

TEST_F(ModelDrawing, TeamGlowIsNeverDrawnAndUnselectableGeosetsOnlyMissPicking)
{
    MdxModel m;
    m.version = 800;
    m.name = "Geosets";
    SequenceChunk stand;
    stand.name = "Stand";
    stand.intervalEnd = 1000;
    stand.extent = {100, {-10, -10, -10}, {10, 10, 10}};
    m.sequences = {stand};
    m.textures = {{0, "", 0, 0}, {ReplaceTeamGlow, "", 0, 0}};
    LayerChunk plain, glow;
    glow.textureId = 1;
    m.materials = {MaterialChunk{0, 0, {plain}}, MaterialChunk{0, 0, {glow}}};
    BoneChunk root;
    root.node.name = "Root";
    m.bones = {root};
    m.pivotPoints = {{0, 0, 0}};
    auto square = [](float x) {
        return std::vector<TVec3>{{x - 2, -2, 0}, {x + 2, -2, 0}, {x + 2, 2, 0}, {x - 2, -2, 0}, {x + 2, 2, 0}, {x - 2, 2, 0}};
    };
    m.geosets = {boundGeoset(square(-6), 0, 1), boundGeoset(square(0), 0), boundGeoset(square(6), 0)};
    m.geosets[1].selectionFlags = SelectionUnselectable;
    for (GeosetChunk& g : m.geosets)
        g.extent = {5, {-10, -3, -1}, {10, 3, 1}};
    writeModel("Models/Geosets.mdx", m);
    TModel model;
    model.SetModel("Models/Geosets.mdx");
    model.SetScale(10);
    model.SetAnimation("Stand", true, false);

    glViewport(0, 0, SurfaceWidth, SurfaceHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-10, 10, -10, 10, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    model.DrawGeosets(false);
    const std::vector<std::uint8_t> frame = readFramePixels(SurfaceWidth, SurfaceHeight);
    auto lit = [&](float x) {
        const int px = static_cast<int>((x + 10) / 20 * static_cast<float>(SurfaceWidth));
        return at(frame, px, SurfaceHeight / 2)[0] > 0;
    };
    EXPECT_FALSE(lit(-6));  // team glow
    EXPECT_TRUE(lit(0));
    EXPECT_TRUE(lit(6));

    auto hitsAt = [&](float x) {
        GLuint buffer[64];
        glSelectBuffer(64, buffer);
        glRenderMode(GL_SELECT);
        glInitNames();
        glPushName(0);
        GLint viewport[4] = {0, 0, SurfaceWidth, SurfaceHeight};
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPickMatrix((x + 10) / 20 * SurfaceWidth, SurfaceHeight / 2.0, 3, 3, viewport);
        glOrtho(-10, 10, -10, 10, -10, 10);
        glMatrixMode(GL_MODELVIEW);
        model.DrawGeosets(true);
        return glRenderMode(GL_RENDER);
    };
    EXPECT_EQ(hitsAt(-6), 0);
    EXPECT_EQ(hitsAt(0), 0);  // unselectable
    EXPECT_EQ(hitsAt(6), 1);
}

TEST(ModelViewer, RendersAUnitInEverySequence)
{
    ScratchDir dir;
    const std::string viewer = GameDir + "/vrax-modelview";
    const std::string unit = GameDir + "/Models/Units/Raider.mdx";
    std::string info = capture(viewer + " --info " + unit);
    ASSERT_NE(info.find("Stand 2"), std::string::npos) << info;
    std::vector<std::string> images;
    for (const char* sequence : {"Stand", "Stand 2", "Stand Ready", "Walk", "Attack", "Death", "Birth"}) {
        const std::string out = dir.path() + "/" + std::string(sequence) + ".png";
        ASSERT_EQ(run(viewer + " " + unit + " --sequence '" + sequence + "' --time 600 --size 96 --out '" + out + "'"), 0)
            << sequence;
        ASSERT_TRUE(std::filesystem::exists(out)) << sequence;
        images.push_back(readFile(out));
    }
    EXPECT_NE(images[0], images[5]);  // Stand and Death
    EXPECT_NE(images[3], images[4]);  // Walk and Attack
    // A file the loader refuses is named with the loader's error.
    writeFile("Broken.mdx", "MDLXSEQS\xff\xff\xff\xff");
    EXPECT_NE(capture(viewer + " --info Broken.mdx").find("Range check error in SEQS : Broken.mdx"), std::string::npos);
}
