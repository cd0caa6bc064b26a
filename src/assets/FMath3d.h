// FMath3d: the small vector, quaternion and 4x4 matrix maths of the model
// instances. Matrices are column-major like OpenGL's, and every operation
// multiplies on the right as glTranslate, glScale and glMultMatrix do, so
// node transforms computed here equal those composed on the GL matrix stack.
#pragma once

#include "assets/FStructure.h"

#include <array>

using TMatrix = std::array<float, 16>;

extern const TVec3 ZeroVector;
extern const TVec3 UnitVector;
extern const TQuat IdentityQuat;
extern const TMatrix IdentityMatrix;
extern const TMatrix ZeroMatrix;

TVec3 operator+(const TVec3& a, const TVec3& b);
TVec3 operator-(const TVec3& a);

// a x b (apply b first).
TMatrix multiply(const TMatrix& a, const TMatrix& b);
// m x translation(v), as glTranslatef.
TMatrix translate(const TMatrix& m, const TVec3& v);
// m x scaling(v), as glScalef.
TMatrix scale(const TMatrix& m, const TVec3& v);
// The rotation matrix of a unit quaternion.
TMatrix rotationOf(const TQuat& q);
// m x p for the point p (w = 1).
TVec3 transformPoint(const TMatrix& m, const TVec3& p);

// Spherical interpolation from q0 to q1 by f, taking the shorter way; keys
// too close to tell apart give their average.
TQuat slerp(const TQuat& q0, const TQuat& q1, float f);

// The six view-frustum planes (right, left, bottom, top, far, near), each
// (a, b, c, d) with a unit normal.
struct TFrustum {
    std::array<std::array<float, 4>, 6> planes{};
    bool set = false;  // until a camera sets it, everything passes
};

TFrustum frustumOf(const TMatrix& projection, const TMatrix& modelview);
// A sphere passes unless it lies wholly behind one of the planes.
bool sphereInFrustum(const TFrustum& frustum, const TVec3& centre, float radius);
