// The game's scene with a real GL context: the Welcome map's ground, the
// host's three starting workers, their circles through the colour mask,
// the placement grid, and picking by click and rectangle into the selection.
#include "../support/OffscreenContext.h"
#include "../support/Pictures.h"
#include "../support/TestSupport.h"
#include "assets/FLoader.h"
#include "assets/FModel.h"
#include "assets/FTextures.h"
#include "game/FGame.h"
#include "game/FUnitLoad.h"
#include "interaction/FCamera.h"
#include "interaction/FPicking.h"
#include "interaction/FSelection.h"
#include "interface/FCursor.h"
#include "shell/FView.h"
#include "shell/FLogs.h"
#include "world/FLoadMap.h"
#include "world/FTerrain.h"

#include <GL/glu.h>

#include <filesystem>

using namespace testing_support;

namespace {

const std::string GameDir = std::string(VRAX_BINARY_DIR) + "/game";
// Where the pictures of a run stay for a person to look at.
const std::string ShotDir = std::string(VRAX_BINARY_DIR) + "/tests/";

class GameScene : public OffscreenContext {
protected:
    ScratchDir dir;
    TGame game;
    std::int64_t clock = 0;

    void SetUp() override
    {
        OffscreenContext::SetUp();
        for (const char* folder : {"Data", "Models", "Textures", "Maps"})
            std::filesystem::create_directory_symlink(GameDir + "/" + folder, folder);
        startLog();
        InitTextures();
        resetModelCache();
        ResetDefinitions();
        ASSERT_TRUE(LoadDefinitions("Data"));
        InitGame(game, 1, true);
        CurrentGame = &game;
        EngineMode = ModeGame;
        Mouse = TMouse();
        InitTerrain();
        ASSERT_TRUE(LoadMapFile(game, "Maps/Welcome.vrax"));
        ASSERT_GE(game.units.size(), 3u);
        // Look at the host's start, where its workers stand.
        ResetCamera(Camera);
        Camera.targetX = 1920;
        Camera.targetY = 1920;
        UpdateEye(Camera);
        frames(100);
    }
    void TearDown() override
    {
        CurrentGame = nullptr;
        EngineMode = ModeMenu;
        Mouse = TMouse();
        ResetDefinitions();
        OffscreenContext::TearDown();
    }

    void frames(int count)
    {
        for (int i = 0; i < count; ++i) {
            clock += 20;
            UpdateGame(game, clock, 20);
        }
    }
    std::vector<TUnit*> workers()
    {
        std::vector<TUnit*> out;
        for (const auto& u : game.units)
            if (u->owner == 1)
                out.push_back(u.get());
        return out;
    }
    Picture draw()
    {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        setGameCamera(Camera);
        PickPass(game, Mouse);
        drawGameScene(game);
        Picture p;
        p.width = SurfaceWidth;
        p.height = SurfaceHeight;
        p.rgba = readFramePixels(SurfaceWidth, SurfaceHeight);
        return p;
    }
    // The window pixel (y from the top) of a world point.
    std::pair<double, double> onScreen(double x, double y, double z)
    {
        setGameCamera(Camera);
        GLdouble mv[16], pr[16], wx, wy, wz;
        GLint vp[4];
        glGetDoublev(GL_MODELVIEW_MATRIX, mv);
        glGetDoublev(GL_PROJECTION_MATRIX, pr);
        glGetIntegerv(GL_VIEWPORT, vp);
        gluProject(x, y, z, mv, pr, vp, &wx, &wy, &wz);
        return {wx, vp[3] - wy};
    }
    std::pair<double, double> onScreen(const TUnit& u, double z = 30)
    {
        return onScreen(u.position[0] / 10000.0, u.position[1] / 10000.0, z);
    }
};

// Pixels of `after` that differ from `before` inside the box, and how many
// of those changed their red channel / their green or blue channels.
struct Change {
    int pixels = 0, red = 0, greenBlue = 0;
};
Change changes(const Picture& before, const Picture& after, int x0, int y0, int x1, int y1)
{
    Change c;
    for (int y = std::max(y0, 0); y < std::min(y1, after.height); ++y)
        for (int x = std::max(x0, 0); x < std::min(x1, after.width); ++x) {
            const std::uint8_t* a = before.at(x, y);
            const std::uint8_t* b = after.at(x, y);
            const bool r = a[0] != b[0], gb = a[1] != b[1] || a[2] != b[2];
            c.pixels += r || gb;
            c.red += r;
            c.greenBlue += gb;
        }
    return c;
}

}  // namespace

TEST_F(GameScene, TheGroundAndTheWorkersShowAndOnlyTheSquaresInViewAreDrawn)
{
    const Picture shot = draw();
    ASSERT_TRUE(writePicture(ShotDir + "GameScene.png", shot));
    // Some squares are culled, the ones in front of the camera are not.
    EXPECT_GT(TerrainIndices.size(), 400u);
    EXPECT_LT(TerrainIndices.size(), 25600u);
    EXPECT_EQ(TerrainIndices.size() % 4, 0u);
    // The grass covers the lower half of the screen, away from the units.
    EXPECT_GT(meanBrightness(crop(shot, 0, shot.height * 3 / 4, shot.width / 4, shot.height / 4)), 30);

    // The three workers are drawn and each has its place on the screen.
    for (TUnit* w : workers()) {
        EXPECT_NE(std::find(game.visibleUnits.begin(), game.visibleUnits.end(), w->listIndex), game.visibleUnits.end());
        const auto [x, y] = onScreen(*w, 200);
        EXPECT_NEAR(w->screenX, x, 2);
        EXPECT_NEAR(w->screenY, y, 2);
    }
    // The stones in the middle of the map are out of view and not listed.
    EXPECT_LT(game.visibleUnits.size(), game.units.size());

    // Looking away from the map, nothing of the ground is drawn.
    setScenePerspective(SurfaceWidth, SurfaceHeight);
    gluLookAt(0, 0, 100, -100, -100, 200, 0, 0, 1);
    ExtractFrustum();
    DrawTerrain();
    EXPECT_TRUE(TerrainIndices.empty());
}

TEST_F(GameScene, CirclesShowThroughTheColourMaskOfTheirOwner)
{
    TUnit& worker = *workers()[1];
    const auto [x, y] = onScreen(worker, 0);
    const int x0 = static_cast<int>(x) - 60, y0 = static_cast<int>(y) - 60;
    const Picture plain = draw();

    // The player's own selected unit: a ring in green and blue only.
    AddToGroup(game, game.selection, worker);
    const Picture selected = draw();
    const Change own = changes(plain, selected, x0, y0, x0 + 120, y0 + 120);
    EXPECT_GT(own.greenBlue, 40);
    EXPECT_EQ(own.red, 0);
    writePicture(ShotDir + "GameSceneSelected.png", crop(selected, x0, y0, 120, 120));

    // A dead unit keeps no circle even while still selected.
    worker.alive = false;
    EXPECT_EQ(changes(plain, draw(), x0, y0, x0 + 120, y0 + 120).pixels, 0);
    worker.alive = true;
    ClearGroup(game, game.selection);

    // Another player's unit under the cursor: a lighter ring in red only.
    worker.owner = 2;
    const Picture foreignPlain = draw();
    const auto [hx, hy] = onScreen(worker);
    Mouse.cursorX = hx;
    Mouse.cursorY = hy;
    const Picture hovered = draw();
    ASSERT_TRUE(IsHovered(Mouse, worker.listIndex));
    const Change foreign = changes(foreignPlain, hovered, x0, y0, x0 + 120, y0 + 120);
    EXPECT_GT(foreign.red, 40);
    EXPECT_EQ(foreign.greenBlue, 0);
}

TEST_F(GameScene, AClickPicksTheUnitAndARectanglePicksTheThreeIntoTheSelection)
{
    std::vector<TUnit*> w = workers();
    ASSERT_EQ(w.size(), 3u);

    // A click on empty ground picks nothing and leaves the selection alone.
    AddToGroup(game, game.selection, *w[0]);
    const auto [gx, gy] = onScreen(w[1]->position[0] / 10000.0, w[1]->position[1] / 10000.0 - 400, 0);
    Mouse.cursorX = gx;
    Mouse.cursorY = gy;
    LeftButtonDown(Mouse);
    draw();
    EXPECT_EQ(Mouse.hitFlag, 0);
    LeftButtonUp(game, Mouse, false, false, 1000);
    EXPECT_EQ(game.selection.members, std::vector<TUnit*>{w[0]});
    // The ground point is where the cursor meets the ground.
    EXPECT_NEAR(Mouse.groundX, w[1]->position[0] / 10000.0, 8);
    EXPECT_NEAR(Mouse.groundY, w[1]->position[1] / 10000.0 - 400, 8);

    // A click on the middle worker selects it alone.
    const auto [mx, my] = onScreen(*w[1]);
    Mouse.cursorX = mx;
    Mouse.cursorY = my;
    LeftButtonDown(Mouse);
    draw();
    ASSERT_EQ(Mouse.hitFlag, 1);
    EXPECT_EQ(Mouse.pickedUnits, std::vector<std::int32_t>{w[1]->listIndex});
    LeftButtonUp(game, Mouse, false, false, 2000);
    EXPECT_EQ(game.selection.members, std::vector<TUnit*>{w[1]});

    // A rectangle from left of the first to right of the last takes all three.
    const auto [lx, ly] = onScreen(*w[0]);
    const auto [rx, ry] = onScreen(*w[2]);
    Mouse.cursorX = lx - 40;
    Mouse.cursorY = std::min(ly, ry) - 60;
    LeftButtonDown(Mouse);
    Mouse.cursorX = rx + 40;
    Mouse.cursorY = std::max(ly, ry) + 40;
    draw();
    ASSERT_EQ(Mouse.hitFlag, 1);
    EXPECT_EQ(Mouse.pickedUnits.size(), 3u);
    LeftButtonUp(game, Mouse, false, false, 3000);
    EXPECT_EQ(game.selection.members.size(), 3u);
    EXPECT_EQ(Mouse.dragging, 0);
    for (TUnit* u : w)
        EXPECT_TRUE(u->selected);
}

TEST_F(GameScene, ThePlacementGridShowsFreeSquaresInGreenAndTakenOnesInRed)
{
    const TUnitAttributes* building = nullptr;
    for (const TUnitAttributes& t : UnitTypes)
        if (t.isBuilding && t.size == 8 && !t.model.empty()) {
            building = &t;
            break;
        }
    ASSERT_NE(building, nullptr);
    const Picture plain = draw();
    // On free ground left of the workers: 2 x 2 green squares.
    const std::int32_t px = 1920 - 512, py = 1920 + 64;
    Mouse.pendingCommand = std::make_unique<TPendingCommand>();
    Mouse.pendingCommand->kind = 7;
    Mouse.pendingCommand->building = building;
    const auto [sx, sy] = onScreen(px, py, 0);
    Mouse.cursorX = sx;
    Mouse.cursorY = sy;
    const Picture placing = draw();
    EXPECT_EQ(Mouse.hitFlag, 0) << "no picking while a building waits for its place";
    EXPECT_NEAR(Mouse.groundX, px, 8);
    const std::vector<TPlacementSquare> squares = PlacementSquares(game, *building, Mouse.groundX, Mouse.groundY);
    ASSERT_EQ(squares.size(), 4u);
    for (const TPlacementSquare& q : squares)
        EXPECT_FALSE(q.occupied);
    // The block's far corner, away from the preview: only the green channel moved.
    const auto [cx, cy] = onScreen(squares[3].x0 + 6, squares[3].y0 + 6, 2);
    const Change corner = changes(plain, placing, static_cast<int>(cx) - 3, static_cast<int>(cy) - 3,
                                  static_cast<int>(cx) + 3, static_cast<int>(cy) + 3);
    EXPECT_GT(corner.pixels, 0);
    EXPECT_EQ(corner.red, 0);
    writePicture(ShotDir + "GameScenePlacement.png", placing);

    // Over a worker the squares it stands on are taken.
    TUnit& worker = *workers()[1];
    const std::vector<TPlacementSquare> taken = PlacementSquares(
        game, *building, static_cast<std::int32_t>(worker.position[0] / 10000), static_cast<std::int32_t>(worker.position[1] / 10000));
    EXPECT_TRUE(std::any_of(taken.begin(), taken.end(), [](const TPlacementSquare& q) { return q.occupied; }));
}
