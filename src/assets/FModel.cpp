#include "assets/FModel.h"

#include "assets/FDisplay.h"
#include "game/FGame.h"
#include "game/FUnitLoad.h"
#include "interaction/FSelection.h"
#include "interface/FXMLLoader.h"
#include "shell/FOpenGL.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

int PickName = 0;

namespace {

constexpr float DegreesPerFacing = static_cast<float>(180.0 / 3.14159265358979323846 / 10000.0);
const char* const SelectionCircle = "Models/Misc/SelectionCircle.mdx";
const char* const HoverCircle = "Models/Misc/SelectionCircleLight.mdx";

void translateTo(const std::int64_t position[3])
{
    glTranslatef(static_cast<float>(position[0]) / 10000.0f, static_cast<float>(position[1]) / 10000.0f,
                 static_cast<float>(position[2]) / 10000.0f);
}

void rotateToFacing(std::int64_t facing)
{
    glRotatef(static_cast<float>(facing) * DegreesPerFacing, 0, 0, 1);
}

// The point 200 units above the unit, in the interface's design space, y from the top.
void recordScreenPosition(TUnit& unit)
{
    GLdouble modelview[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    GLdouble wx = 0, wy = 0, wz = 0;
    if (gluProject(static_cast<double>(unit.position[0]) / 10000.0, static_cast<double>(unit.position[1]) / 10000.0,
                   static_cast<double>(unit.position[2]) / 10000.0 + 200, modelview, projection, viewport, &wx, &wy,
                   &wz) != GL_TRUE)
        return;
    double w = SurfaceWidth, h = SurfaceHeight;
    if (!frames.empty() && frames[0]->width > 0 && frames[0]->height > 0) {
        w = frames[0]->width;
        h = frames[0]->height;
    }
    if (SurfaceWidth <= 0 || SurfaceHeight <= 0)
        return;
    unit.screenX = static_cast<int>(std::lround(w / SurfaceWidth * wx));
    unit.screenY = static_cast<int>(std::lround(h / SurfaceHeight * (viewport[3] - wy)));
}

void drawCircle(const TGame& game, const TUnit& unit, TCircle circle)
{
    if (unit.owner == game.localPlayer)
        glColorMask(GL_FALSE, GL_TRUE, GL_TRUE, GL_TRUE);
    else
        glColorMask(GL_TRUE, GL_FALSE, GL_FALSE, GL_TRUE);
    TModel ring;
    ring.SetModel(circle == TCircle::Selected ? SelectionCircle : HoverCircle);
    const int modelScale = unit.unitType && unit.unitType->modelScale != 0 ? unit.unitType->modelScale : 10;
    const int modelSize = unit.unitType ? unit.unitType->modelSize : 10;
    ring.SetScale(modelSize * unit.scale / modelScale);
    for (int c = 0; c < 3; ++c)
        ring.position[c] = unit.position[c];
    ring.SetAnimation("Stand", true, false);
    // The ring is drawn at the unit's translated origin: its own position only places the culling sphere.
    ring.DrawGeosets(false);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
}

void pickPass(TGame& game)
{
    for (const std::unique_ptr<TUnit>& unit : game.units) {
        glLoadName(static_cast<GLuint>(PickName++));
        if (!unit->outside || !unit->IsVisible())
            continue;
        glPushMatrix();
        translateTo(unit->position);
        rotateToFacing(unit->facing);
        unit->DrawGeosets(true);
        glPopMatrix();
    }
}

void drawPlacement(const TGame& game, const TMouse& mouse, const TUnitAttributes& building)
{
    glDisable(GL_TEXTURE_2D);
    for (const TPlacementSquare& q : PlacementSquares(game, building, mouse.groundX, mouse.groundY)) {
        if (q.occupied)
            glColorMask(GL_TRUE, GL_FALSE, GL_FALSE, GL_TRUE);
        else
            glColorMask(GL_FALSE, GL_TRUE, GL_FALSE, GL_TRUE);
        glColor4f(0.5f, 0.5f, 0.5f, 0.5f);
        glBegin(GL_QUADS);
        glVertex3f(static_cast<float>(q.x1), static_cast<float>(q.y1), 2);
        glVertex3f(static_cast<float>(q.x1), static_cast<float>(q.y0), 2);
        glVertex3f(static_cast<float>(q.x0), static_cast<float>(q.y0), 2);
        glVertex3f(static_cast<float>(q.x0), static_cast<float>(q.y1), 2);
        glEnd();
    }
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glColor4f(1, 1, 1, 1);
    const float px = static_cast<float>(mouse.groundX / 64 * 64 + 8), py = static_cast<float>(mouse.groundY / 64 * 64 + 8);
    glPushMatrix();
    glTranslatef(px, py, 0);
    TModel preview;
    preview.SetModel(building.model);
    glRotatef(-90, 0, 0, 1);
    preview.SetScale(building.modelScale);
    preview.position[0] = static_cast<std::int64_t>(px) * 10000;
    preview.position[1] = static_cast<std::int64_t>(py) * 10000;
    preview.SetAnimation("Stand", true, false);
    preview.DrawGeosets(false);
    glPopMatrix();
}

void visiblePass(TGame& game, const TMouse& mouse)
{
    game.visibleUnits.clear();
    const bool ownPick = OwnPick(game, mouse);
    for (std::size_t i = 0; i < game.units.size(); ++i) {
        TUnit& unit = *game.units[i];
        if (!unit.outside || !unit.IsVisible())
            continue;
        glPushMatrix();
        game.visibleUnits.push_back(static_cast<int>(i));
        recordScreenPosition(unit);
        translateTo(unit.position);
        glPushMatrix();
        rotateToFacing(unit.facing);
        unit.DrawGeosets(false);
        glPopMatrix();
        const TCircle circle = CircleFor(game, mouse, unit, static_cast<int>(i), ownPick);
        if (circle != TCircle::None)
            drawCircle(game, unit, circle);
        glPopMatrix();
    }
    for (const std::unique_ptr<TProjectile>& missile : game.projectiles) {
        if (!missile->IsVisible())
            continue;
        // A phase of its own per missile, from its launch, so that a volley does not spin in step.
        const std::int64_t phase = (missile->launchTime * 7919) % 10000;
        glPushMatrix();
        translateTo(missile->position);
        rotateToFacing(missile->facing);
        glRotatef(static_cast<float>((phase + game.totalTime) % 360), 1, 0, 0);
        missile->DrawGeosets(false);
        glPopMatrix();
    }
    if (const TUnitAttributes* building = PlacingBuilding(mouse))
        drawPlacement(game, mouse, *building);
}

}  // namespace

void DrawUnits(TGame& game, const TMouse& mouse, bool picking)
{
    if (picking)
        pickPass(game);
    else
        visiblePass(game, mouse);
}
