#include "assets/FMath3d.h"

#include <cmath>

const TVec3 ZeroVector{0, 0, 0};
const TVec3 UnitVector{1, 1, 1};
const TQuat IdentityQuat{0, 0, 0, 1};
const TMatrix IdentityMatrix{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
const TMatrix ZeroMatrix{};

TVec3 operator+(const TVec3& a, const TVec3& b)
{
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}

TVec3 operator-(const TVec3& a)
{
    return {-a.x, -a.y, -a.z};
}

TMatrix multiply(const TMatrix& a, const TMatrix& b)
{
    TMatrix r;
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row)
            r[col * 4 + row] = a[row] * b[col * 4] + a[4 + row] * b[col * 4 + 1] + a[8 + row] * b[col * 4 + 2] +
                               a[12 + row] * b[col * 4 + 3];
    return r;
}

TMatrix translate(const TMatrix& m, const TVec3& v)
{
    TMatrix r = m;
    for (int row = 0; row < 4; ++row)
        r[12 + row] = m[row] * v.x + m[4 + row] * v.y + m[8 + row] * v.z + m[12 + row];
    return r;
}

TMatrix scale(const TMatrix& m, const TVec3& v)
{
    TMatrix r = m;
    for (int row = 0; row < 4; ++row) {
        r[row] *= v.x;
        r[4 + row] *= v.y;
        r[8 + row] *= v.z;
    }
    return r;
}

TMatrix rotationOf(const TQuat& q)
{
    const float xx = q.x * q.x, yy = q.y * q.y, zz = q.z * q.z;
    const float xy = q.x * q.y, xz = q.x * q.z, yz = q.y * q.z;
    const float xw = q.x * q.w, yw = q.y * q.w, zw = q.z * q.w;
    return {1 - 2 * (yy + zz), 2 * (xy + zw),     2 * (xz - yw),     0,
            2 * (xy - zw),     1 - 2 * (xx + zz), 2 * (yz + xw),     0,
            2 * (xz + yw),     2 * (yz - xw),     1 - 2 * (xx + yy), 0,
            0,                 0,                 0,                 1};
}

TVec3 transformPoint(const TMatrix& m, const TVec3& p)
{
    return {m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12], m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
            m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14]};
}

TQuat slerp(const TQuat& q0, const TQuat& q1in, float f)
{
    TQuat q1 = q1in;
    float c = q0.x * q1.x + q0.y * q1.y + q0.z * q1.z + q0.w * q1.w;
    if (c < 0) {
        q1 = {-q1.x, -q1.y, -q1.z, -q1.w};
        c = -c;
    }
    if (c >= 1)
        return q0;
    const float w = std::acos(c);
    const float s = std::sqrt(1 - c * c);
    if (s < 0.001f)
        return {(q0.x + q1.x) / 2, (q0.y + q1.y) / 2, (q0.z + q1.z) / 2, (q0.w + q1.w) / 2};
    const float a = std::sin((1 - f) * w) / s;
    const float b = std::sin(f * w) / s;
    return {a * q0.x + b * q1.x, a * q0.y + b * q1.y, a * q0.z + b * q1.z, a * q0.w + b * q1.w};
}

TFrustum frustumOf(const TMatrix& projection, const TMatrix& modelview)
{
    const TMatrix clip = multiply(projection, modelview);
    auto row = [&](int r) { return std::array<float, 4>{clip[r], clip[4 + r], clip[8 + r], clip[12 + r]}; };
    const std::array<float, 4> r0 = row(0), r1 = row(1), r2 = row(2), r3 = row(3);
    TFrustum f;
    const std::array<std::array<float, 4>, 6> signs{{{-1, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, -1}, {0, 0, 1}}};
    for (int p = 0; p < 6; ++p) {
        std::array<float, 4>& plane = f.planes[static_cast<std::size_t>(p)];
        const auto& s = signs[static_cast<std::size_t>(p)];
        for (int i = 0; i < 4; ++i)
            plane[static_cast<std::size_t>(i)] = r3[static_cast<std::size_t>(i)] + s[0] * r0[static_cast<std::size_t>(i)] +
                                                 s[1] * r1[static_cast<std::size_t>(i)] + s[2] * r2[static_cast<std::size_t>(i)];
        const float length = std::sqrt(plane[0] * plane[0] + plane[1] * plane[1] + plane[2] * plane[2]);
        if (length > 0)
            for (float& v : plane)
                v /= length;
    }
    f.set = true;
    return f;
}

bool sphereInFrustum(const TFrustum& frustum, const TVec3& centre, float radius)
{
    if (!frustum.set)
        return true;
    for (const auto& p : frustum.planes)
        if (p[0] * centre.x + p[1] * centre.y + p[2] * centre.z + p[3] <= -radius)
            return false;
    return true;
}
