#include "interaction/FCamera.h"

#include <algorithm>
#include <cmath>

TCamera Camera;

void ResetCamera(TCamera& camera)
{
    camera = TCamera();
    UpdateEye(camera);
}

void UpdateEye(TCamera& camera)
{
    camera.targetX = std::clamp(camera.targetX, CameraMinX, CameraMaxX);
    camera.targetY = std::clamp(camera.targetY, CameraMinY, CameraMaxY);
    const double reach = camera.height * std::tan(camera.pitch);
    camera.eyeX = camera.targetX + std::cos(camera.yaw) * reach;
    camera.eyeY = camera.targetY - std::sin(camera.yaw) * reach;
}

void ZoomCamera(TCamera& camera, int delta)
{
    camera.pitch += delta * 0.00025;
    camera.height += delta * -1.1;
    // Height follows the pitch, so both ends are exact whatever the steps.
    if (!(camera.pitch < CameraHighPitch)) {
        camera.pitch = CameraHighPitch;
        camera.height = CameraNearHeight;
    }
    if (camera.pitch <= CameraLowPitch) {
        camera.pitch = CameraLowPitch;
        camera.height = CameraFarHeight;
    }
    UpdateEye(camera);
}

void DragCamera(TCamera& camera, double dx, double dy)
{
    camera.targetX -= dx / 2;
    camera.targetY += dy / 2;
    UpdateEye(camera);
}

bool OnMinimap(double x, double y)
{
    return x >= MinimapLeft && x <= MinimapLeft + MinimapSide && y >= MinimapTop && y <= MinimapTop + MinimapSide;
}

void CentreOnMinimap(TCamera& camera, double x, double y)
{
    camera.targetX = (x - MinimapLeft) * MinimapWorld / MinimapSide;
    camera.targetY = (MinimapTop + MinimapSide - y) * MinimapWorld / MinimapSide;
    UpdateEye(camera);
}

TEdgeScroll EdgeScroll(TCamera& camera, double cursorX, double cursorY, int viewportWidth, int viewportHeight,
                       TScrollKeys keys, std::int32_t elapsed)
{
    TEdgeScroll s;
    s.cursorLeft = cursorX < 10;
    s.cursorRight = cursorX > viewportWidth - 10;
    s.cursorUp = cursorY < 10;
    s.cursorDown = cursorY > viewportHeight - 10;
    s.left = keys.left || s.cursorLeft;
    s.right = keys.right || s.cursorRight;
    s.up = keys.up || s.cursorUp;
    s.down = keys.down || s.cursorDown;
    // An arrow held takes the move over from the edge: no scroll shape.
    s.cursorLeft = s.cursorLeft && !keys.left;
    s.cursorRight = s.cursorRight && !keys.right;
    s.cursorUp = s.cursorUp && !keys.up;
    s.cursorDown = s.cursorDown && !keys.down;
    const double step = 2.0 * std::clamp(elapsed, 0, 100);
    if (s.left)
        camera.targetX -= step;
    if (s.right)
        camera.targetX += step;
    if (s.up)
        camera.targetY += step;
    if (s.down)
        camera.targetY -= step;
    UpdateEye(camera);
    return s;
}
