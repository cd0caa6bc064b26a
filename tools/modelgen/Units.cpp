#include "Units.h"

#include "ModelBuilder.h"

#include <cmath>
#include <functional>

namespace {

// ---- textures ---------------------------------------------------------------

struct TRgb {
    int r, g, b;
};

const char* const Race0Atlas = "Textures/Units/Race0Atlas.blp";
const char* const Race1Atlas = "Textures/Units/Race1Atlas.blp";
const char* const NeutralAtlas = "Textures/Units/NeutralAtlas.blp";
const char* const CircleTexturePath = "Textures/Selection/SelectionRing.blp";

// Swatch columns, the same meaning in every atlas so builders can share parts.
enum Swatch { Stone = 0, Wood = 1, Skin = 2, Metal = 3, Roof = 4, Cloth = 5, Trim = 6, White = 7 };

const TRgb Race0Colours[AtlasColumns] = {{156, 152, 144}, {124, 84, 48}, {226, 182, 142}, {180, 188, 202},
                                         {72, 94, 138},   {214, 204, 164}, {232, 192, 64}, {255, 255, 255}};
const TRgb Race1Colours[AtlasColumns] = {{116, 94, 72},  {92, 58, 36},   {112, 152, 72}, {92, 92, 98},
                                         {176, 134, 84}, {164, 44, 32},  {232, 222, 192}, {255, 255, 255}};
const TRgb NeutralColours[AtlasColumns] = {{132, 132, 126}, {84, 112, 62},  {166, 164, 116}, {92, 92, 92},
                                           {124, 84, 48},   {184, 188, 198}, {238, 238, 238}, {255, 255, 255}};

TGeneratedTexture atlas(const std::string& path, const TRgb* colours)
{
    const float shades[AtlasRows] = {1.0f, 0.82f, 0.68f, 0.5f};
    TGeneratedTexture t{path, AtlasColumns * AtlasCell, AtlasRows * AtlasCell, {}};
    for (int y = 0; y < t.height; ++y)
        for (int x = 0; x < t.width; ++x) {
            const TRgb c = colours[x / AtlasCell];
            const float s = shades[y / AtlasCell];
            // A faint grain so surfaces are not perfectly flat.
            const float grain = 1.0f + 0.04f * static_cast<float>(((x * 7 + y * 13) % 5) - 2) / 2.0f;
            for (int v : {c.r, c.g, c.b})
                t.rgba.push_back(static_cast<std::uint8_t>(std::min(255.0f, static_cast<float>(v) * s * grain)));
            t.rgba.push_back(255);
        }
    return t;
}

TGeneratedTexture ringTexture()
{
    TGeneratedTexture t{CircleTexturePath, 8, 8, {}};
    for (int i = 0; i < 64; ++i)
        t.rgba.insert(t.rgba.end(), {255, 255, 255, 220});
    return t;
}

std::string tgaOf(const std::string& blp)
{
    return blp.substr(0, blp.size() - 3) + "tga";
}

// ---- shared set-up -------------------------------------------------------------

struct TKit {
    ModelBuilder b;
    int body = 0;  // geoset in the race colours
    int team = 0;  // geoset in team colour
};

void setUp(TKit& kit, const char* atlasPath)
{
    const int atlasTexture = kit.b.texture(ReplaceNone, atlasPath);
    const int teamTexture = kit.b.texture(ReplaceTeamColor, "");
    const int plain = kit.b.material({atlasTexture});
    // Team colour shaded by the atlas' white column on a second layer.
    const int teamMaterial = kit.b.material({teamTexture, atlasTexture});
    kit.body = kit.b.geoset(plain);
    kit.team = kit.b.geoset(teamMaterial);
}

void allSequences(ModelBuilder& b, bool building, float walkSpeed)
{
    b.sequence("Stand", StandSpan, 0, true);
    b.sequence("Stand 2", Stand2Span, 3, true);
    b.sequence("Stand Ready", ReadySpan, 0, true);
    b.sequence("Walk", WalkSpan, 0, true, walkSpeed);
    b.sequence("Attack", AttackSpan, 0, true);
    b.sequence("Death", DeathSpan, 0, false);
    b.sequence("Birth", building ? BuildingBirthSpan : UnitBirthSpan, 0, false);
}

// Time at fraction f of a span.
int at(TSpan s, float f)
{
    return s.start + static_cast<int>(std::lround(f * static_cast<float>(s.end - s.start)));
}

// ---- figures --------------------------------------------------------------------

enum class Weapon { Pick, Spear, Bow, SwordShield, Staff, Axe, Sling, GreatAxe, SkullStaff };

struct TFigure {
    int race = 0;
    float width = 1;   // sideways bulk
    float height = 1;
    Weapon weapon = Weapon::Spear;
    bool hero = false;
    bool robe = false;  // casters: a long skirt instead of trousers
};

TGeneratedModel figure(const std::string& name, const std::string& path, const TFigure& f)
{
    TKit kit{ModelBuilder(name)};
    ModelBuilder& b = kit.b;
    setUp(kit, f.race == 0 ? Race0Atlas : Race1Atlas);
    const float w = f.width, h = f.height;
    const bool brute = f.race == 1;

    const int root = b.helper("Root", -1, {0, 0, 0});
    const int pelvis = b.bone("Pelvis", root, {0, 0, 28 * h});
    const int chest = b.bone("Chest", pelvis, {0, 0, 34 * h});
    const int head = b.bone("Head", chest, {0, 0, 50 * h});
    const int armL = b.bone("ArmLeft", chest, {0, 11 * w, 48 * h});
    const int armR = b.bone("ArmRight", chest, {0, -11 * w, 48 * h});
    const int legL = b.bone("LegLeft", pelvis, {0, 5 * w, 28 * h});
    const int legR = b.bone("LegRight", pelvis, {0, -5 * w, 28 * h});

    // Legs and feet.
    for (auto [leg, y] : {std::pair{legL, 5 * w}, std::pair{legR, -5 * w}}) {
        if (!f.robe)
            b.box(kit.body, leg, {-3, y - 3, 3}, {3, y + 3, 28 * h}, brute ? Roof : Cloth);
        b.box(kit.body, leg, {-3.5f, y - 3.2f, 0}, {5, y + 3.2f, 4}, Wood);
    }
    if (f.robe)
        b.prism(kit.body, pelvis, {0, 0, 2}, 11 * w, 7 * w, 28 * h - 2, 8, Cloth);
    // Body, leaning forward for the brutes.
    const float lean = brute ? 3 : 0;
    b.box(kit.body, pelvis, {-5, -8 * w, 24 * h}, {5, 8 * w, 31 * h}, Wood);
    b.box(kit.body, chest, {-5 + lean, -9 * w, 31 * h}, {5 + lean, 9 * w, 48 * h}, brute ? Skin : Metal);
    if (brute) {
        for (float y : {-9 * w, 9 * w})  // shoulder pads in team colour
            b.box(kit.team, chest, {-4 + lean, y - 4, 44 * h}, {5 + lean, y + 4, 51 * h}, White);
        b.box(kit.body, chest, {-5.5f + lean, -9.5f * w, 31 * h}, {5.5f + lean, 9.5f * w, 36 * h}, Roof);
    } else {
        b.box(kit.team, chest, {5, -6 * w, 30 * h}, {6, 6 * w, 46 * h}, White);  // tabard
    }
    if (f.hero)
        b.box(kit.team, chest, {-7 + lean, -8 * w, 18 * h}, {-5.5f + lean, 8 * w, 48 * h}, White);  // cape
    // Head.
    const float hz = 50 * h;
    b.box(kit.body, head, {-4 + lean, -4, hz}, {4 + lean, 4, hz + 9}, Skin);
    b.box(kit.body, head, {3.9f + lean, -2.5f, hz + 4}, {4.4f + lean, 2.5f, hz + 5.5f}, Wood);  // brow
    if (brute) {
        for (float y : {-2.5f, 2.5f})
            b.prism(kit.body, head, {4 + lean, y, hz + 1}, 0.9f, 0, 3.5f, 4, Trim);  // tusks
        if (f.hero || f.weapon == Weapon::SkullStaff)
            for (float y : {-4.0f, 4.0f})
                b.prism(kit.body, head, {lean, y, hz + 8}, 1.6f, 0, 7, 5, Trim);  // horns
    } else if (f.weapon != Weapon::Staff) {
        b.prism(kit.body, head, {lean, 0, hz + 7}, 5.5f, f.hero ? 4.5f : 0.5f, f.hero ? 3 : 6, 8, f.hero ? Trim : Metal);
    } else {
        b.prism(kit.body, head, {lean, 0, hz + 6}, 5.5f, 0, 9, 8, Cloth);  // hood
    }
    // Arms.
    for (auto [arm, y] : {std::pair{armL, 11 * w}, std::pair{armR, -11 * w}}) {
        b.box(kit.body, arm, {-2.5f, y - 2.5f, 30 * h}, {2.5f, y + 2.5f, 48 * h}, brute ? Skin : Metal);
        b.box(kit.body, arm, {-2.2f, y - 2.2f, 26 * h}, {2.2f, y + 2.2f, 30 * h}, Skin);
    }
    // Weapons: held in the right hand pointing forward, or in the left for the bow.
    const TVec3 hand{0, -11 * w, 27 * h};
    switch (f.weapon) {
    case Weapon::Pick:
        b.prismX(kit.body, armR, {hand.x - 4, hand.y, hand.z}, 1, 1, 20, 5, Wood);
        b.box(kit.body, armR, {hand.x + 14, hand.y - 1, hand.z - 7}, {hand.x + 17, hand.y + 1, hand.z + 7}, Metal);
        if (brute)
            b.prism(kit.body, chest, {-9 + lean, 0, 32 * h}, 6, 7, 12, 6, Wood);  // basket on the back
        break;
    case Weapon::Spear:
        b.prismX(kit.body, armR, {hand.x - 20, hand.y, hand.z}, 1, 1, 58, 5, Wood);
        b.prismX(kit.body, armR, {hand.x + 38, hand.y, hand.z}, 2.2f, 0, 9, 4, Metal);
        b.box(kit.team, armL, {-5, 14 * w, 22 * h}, {5, 15.5f * w, 40 * h}, White);  // small shield
        break;
    case Weapon::Bow:
        for (int i = 0; i < 5; ++i) {
            const float z0 = 10 * h + static_cast<float>(i) * 7 * h, z1 = z0 + 7 * h;
            const float bend = 3 - std::fabs(static_cast<float>(i) - 2) * 1.5f;
            b.box(kit.body, armL, {bend + 2, 10.5f * w, z0}, {bend + 3.5f, 12 * w, z1}, Wood);
        }
        b.box(kit.body, armL, {0.5f, 11 * w, 10 * h}, {0.8f, 11.3f * w, 45 * h}, White);  // string
        b.prism(kit.team, chest, {-7 + lean, 4 * w, 32 * h}, 2.5f, 2.5f, 14, 6, White);     // quiver
        break;
    case Weapon::SwordShield:
        b.box(kit.body, armR, {hand.x + 1, hand.y - 0.6f, hand.z - 1}, {hand.x + 30, hand.y + 0.6f, hand.z + 2.5f}, Metal);
        b.box(kit.body, armR, {hand.x - 1, hand.y - 4, hand.z - 1}, {hand.x + 1, hand.y + 4, hand.z + 2.5f}, Trim);
        b.box(kit.team, armL, {-8, 14 * w, 20 * h}, {8, 16 * w, 44 * h}, White);
        b.box(kit.body, armL, {-2, 16 * w, 30 * h}, {2, 17 * w, 34 * h}, Trim);
        break;
    case Weapon::Staff:
        b.prism(kit.body, armR, {hand.x + 2, hand.y, 6 * h}, 1, 1, 62 * h, 5, Wood);
        b.sphere(kit.body, armR, {hand.x + 2, hand.y, 70 * h}, {3.5f, 3.5f, 3.5f}, Trim);
        break;
    case Weapon::Axe:
        b.prismX(kit.body, armR, {hand.x - 3, hand.y, hand.z}, 1.2f, 1.2f, 24, 5, Wood);
        b.box(kit.body, armR, {hand.x + 15, hand.y - 0.8f, hand.z - 2}, {hand.x + 21, hand.y + 0.8f, hand.z + 11}, Metal);
        break;
    case Weapon::Sling:
        b.box(kit.body, armR, {hand.x - 0.4f, hand.y - 0.4f, hand.z - 12}, {hand.x + 0.4f, hand.y + 0.4f, hand.z}, Roof);
        b.sphere(kit.body, armR, {hand.x, hand.y, hand.z - 13}, {2, 2, 2}, Stone);
        b.prism(kit.team, pelvis, {4, 6 * w, 22 * h}, 3, 2.5f, 5, 6, White);  // pouch of stones
        break;
    case Weapon::GreatAxe:
        b.prismX(kit.body, armR, {hand.x - 8, hand.y, hand.z}, 1.5f, 1.5f, 40, 5, Wood);
        for (float z : {-1.0f, 1.0f})
            b.box(kit.body, armR, {hand.x + 24, hand.y - 1, hand.z + z * 1}, {hand.x + 32, hand.y + 1, hand.z + z * 14}, Metal);
        break;
    case Weapon::SkullStaff:
        b.prism(kit.body, armR, {hand.x + 2, hand.y, 6 * h}, 1.1f, 0.8f, 60 * h, 5, Wood);
        b.sphere(kit.body, armR, {hand.x + 2, hand.y, 68 * h}, {3.5f, 3, 4}, Trim);
        b.prism(kit.team, armR, {hand.x + 2, hand.y, 60 * h}, 2, 0, -6, 4, White);  // feathers
        break;
    }

    allSequences(b, false, brute ? 260.0f : 240.0f);
    const TVec3 X{1, 0, 0}, Y{0, 1, 0}, Z{0, 0, 1};
    // Stand: breathing and a slow bob.
    b.move(root, StandSpan.start, {0, 0, 0}, true);
    b.move(root, at(StandSpan, 0.5f), {0, 0, -0.6f}, true);
    b.move(root, StandSpan.end, {0, 0, 0}, true);
    b.rotate(chest, StandSpan.start, Y, 0);
    b.rotate(chest, at(StandSpan, 0.5f), Y, 3);
    b.rotate(chest, StandSpan.end, Y, 0);
    // Stand 2: a look around and a stretch of the free arm.
    for (auto [fr, deg] : {std::pair{0.0f, 0.0f}, {0.25f, 35.0f}, {0.6f, -35.0f}, {1.0f, 0.0f}})
        b.rotate(head, at(Stand2Span, fr), Z, deg);
    for (auto [fr, deg] : {std::pair{0.0f, 0.0f}, {0.5f, -50.0f}, {1.0f, 0.0f}})
        b.rotate(armL, at(Stand2Span, fr), Y, deg);
    // Stand Ready: weapon up, leaning in.
    for (auto [fr, deg] : {std::pair{0.0f, -40.0f}, {0.5f, -48.0f}, {1.0f, -40.0f}})
        b.rotate(armR, at(ReadySpan, fr), Y, deg);
    b.rotate(chest, ReadySpan.start, Y, 10);
    b.rotate(chest, ReadySpan.end, Y, 10);
    // Walk: legs and arms swing in opposition over a bouncing stride.
    for (auto [fr, deg] : {std::pair{0.0f, 28.0f}, {0.5f, -28.0f}, {1.0f, 28.0f}}) {
        b.rotate(legL, at(WalkSpan, fr), Y, deg);
        b.rotate(legR, at(WalkSpan, fr), Y, -deg);
        b.rotate(armL, at(WalkSpan, fr), Y, -deg * 0.7f);
        b.rotate(armR, at(WalkSpan, fr), Y, deg * 0.7f);
    }
    for (auto [fr, z] : {std::pair{0.0f, 0.0f}, {0.25f, 1.8f}, {0.5f, 0.0f}, {0.75f, 1.8f}, {1.0f, 0.0f}})
        b.move(root, at(WalkSpan, fr), {0, 0, z}, true);
    // Attack: wind up and strike (the archer draws with the left arm raised).
    if (f.weapon == Weapon::Bow) {
        for (auto [fr, deg] : {std::pair{0.0f, -85.0f}, {1.0f, -85.0f}})
            b.rotate(armL, at(AttackSpan, fr), Y, deg);
        for (auto [fr, deg] : {std::pair{0.0f, -80.0f}, {0.6f, -60.0f}, {0.7f, -85.0f}, {1.0f, -80.0f}})
            b.rotate(armR, at(AttackSpan, fr), Y, deg);
    } else {
        for (auto [fr, deg] : {std::pair{0.0f, -30.0f}, {0.4f, -160.0f}, {0.65f, -45.0f}, {1.0f, -30.0f}})
            b.rotate(armR, at(AttackSpan, fr), Y, deg);
    }
    for (auto [fr, deg] : {std::pair{0.0f, 0.0f}, {0.4f, 18.0f}, {0.65f, -14.0f}, {1.0f, 0.0f}})
        b.rotate(chest, at(AttackSpan, fr), Z, deg);
    // Death: topple forward, arms flung out.
    for (auto [fr, deg] : {std::pair{0.0f, 0.0f}, {0.35f, 88.0f}, {1.0f, 88.0f}})
        b.rotate(root, at(DeathSpan, fr), Y, deg);
    for (auto [fr, deg] : {std::pair{0.0f, 0.0f}, {0.45f, -70.0f}, {1.0f, -70.0f}}) {
        b.rotate(armL, at(DeathSpan, fr), X, deg);
        b.rotate(armR, at(DeathSpan, fr), X, -deg);
    }
    // Birth: grow out of the ground.
    b.grow(root, UnitBirthSpan.start, {0.1f, 0.1f, 0.1f});
    b.grow(root, UnitBirthSpan.end, {1, 1, 1});
    b.finish();
    return {path, b.model};
}

// ---- buildings ---------------------------------------------------------------------

struct TBuildingRig {
    int root, base, roof, banner, detail;
};

// s: footprint in world units. The description adds solids to the rig's bones.
TGeneratedModel building(const std::string& name, const std::string& path, const char* atlasPath, float s,
                         float roofZ, TVec3 bannerTop, TVec3 detailPivot,
                         const std::function<void(TKit&, const TBuildingRig&)>& describe)
{
    TKit kit{ModelBuilder(name)};
    ModelBuilder& b = kit.b;
    setUp(kit, atlasPath);
    TBuildingRig rig;
    rig.root = b.helper("Root", -1, {0, 0, 0});
    rig.base = b.bone("Base", rig.root, {0, 0, 0});
    rig.roof = b.bone("Roof", rig.base, {0, 0, roofZ});
    rig.banner = b.bone("Banner", rig.base, bannerTop);
    rig.detail = b.bone("Detail", rig.base, detailPivot);
    describe(kit, rig);

    allSequences(b, true, 0);
    const TVec3 X{1, 0, 0}, Z{0, 0, 1};
    const TSpan birth = BuildingBirthSpan;
    // Construction: the walls rise over the minute, the roof and banner go on last.
    b.grow(rig.root, birth.start, {1, 1, 0.04f});
    b.grow(rig.root, at(birth, 0.8f), {1, 1, 1});
    b.grow(rig.root, birth.end, {1, 1, 1});
    for (int part : {rig.roof, rig.banner}) {
        b.grow(part, birth.start, {0.02f, 0.02f, 0.02f});
        b.grow(part, at(birth, 0.75f), {0.02f, 0.02f, 0.02f});
        b.grow(part, birth.end, {1, 1, 1});
    }
    // The banner flutters about its pole.
    for (TSpan span : {StandSpan, ReadySpan, WalkSpan})
        for (auto [fr, deg] : {std::pair{0.0f, -8.0f}, {0.5f, 10.0f}, {1.0f, -8.0f}})
            b.rotate(rig.banner, at(span, fr), Z, deg, true);
    for (auto [fr, deg] : {std::pair{0.0f, -8.0f}, {0.25f, 25.0f}, {0.5f, -15.0f}, {0.75f, 25.0f}, {1.0f, -8.0f}})
        b.rotate(rig.banner, at(Stand2Span, fr), Z, deg, true);
    // Attack and Stand 2: the working part pulses.
    for (TSpan span : {AttackSpan, Stand2Span})
        for (auto [fr, k] : {std::pair{0.0f, 1.0f}, {0.3f, 1.18f}, {1.0f, 1.0f}})
            b.grow(rig.detail, at(span, fr), {k, k, k});
    // Death: tilt and sink into the ground.
    b.move(rig.root, DeathSpan.start, {0, 0, 0});
    b.move(rig.root, DeathSpan.end, {0, 0, -s * 0.7f});
    b.rotate(rig.root, DeathSpan.start, X, 0);
    b.rotate(rig.root, DeathSpan.end, X, 9);
    b.finish();
    return {path, b.model};
}

// A pole from `baseZ` up to `top` with a team-coloured banner; the banner
// bone's pivot sits on the pole so the cloth swings about it.
void flag(TKit& k, const TBuildingRig& r, TVec3 top, float length, float baseZ)
{
    k.b.prism(k.body, r.base, {top.x, top.y, baseZ}, 1.6f, 1.2f, top.z - baseZ + 3, 5, Wood);
    k.b.box(k.team, r.banner, {top.x + 1.5f, top.y - 0.8f, top.z - length * 0.65f},
            {top.x + length, top.y + 0.8f, top.z}, White);
}

std::vector<TGeneratedModel> buildings()
{
    std::vector<TGeneratedModel> out;
    // Race 0: dressed stone, timber and slate.
    out.push_back(building("Keep", "Models/Units/Keep.mdx", Race0Atlas, 256, 150, {0, 0, 236}, {0, 0, 0},
                           [](TKit& k, const TBuildingRig& r) {
        k.b.box(k.body, r.base, {-100, -100, 0}, {100, 100, 12}, Stone);
        k.b.box(k.body, r.base, {-70, -70, 12}, {70, 70, 150}, Stone);
        k.b.prism(k.body, r.roof, {0, 0, 150}, 80, 0, 60, 4, Roof);
        for (float x : {-85.0f, 85.0f})
            for (float y : {-85.0f, 85.0f}) {
                k.b.prism(k.body, r.base, {x, y, 0}, 24, 22, 170, 8, Stone);
                k.b.prism(k.body, r.roof, {x, y, 170}, 28, 0, 40, 8, Roof);
                k.b.prism(k.team, r.roof, {x, y, 168}, 25, 25, 4, 8, White);
            }
        k.b.box(k.body, r.detail, {70, -18, 0}, {74, 18, 44}, Wood);  // gate
        flag(k, r, {0, 0, 236}, 40, 200);
    }));
    out.push_back(building("Barracks", "Models/Units/Barracks.mdx", Race0Atlas, 192, 80, {70, 60, 130}, {60, 0, 0},
                           [](TKit& k, const TBuildingRig& r) {
        k.b.box(k.body, r.base, {-80, -70, 0}, {80, 70, 8}, Stone);
        k.b.box(k.body, r.base, {-70, -55, 8}, {70, 55, 80}, Cloth);
        for (float x : {-70.0f, -23.0f, 23.0f, 70.0f})
            k.b.box(k.body, r.base, {x - 4, -57, 8}, {x + 4, 57, 82}, Wood);
        k.b.gable(k.body, r.roof, {-78, -64, 80}, {78, 64, 80}, 52, Roof);
        k.b.box(k.team, r.detail, {70, -14, 30}, {73, 14, 62}, White);  // shield over the door
        k.b.box(k.body, r.base, {70, -10, 8}, {72, 10, 32}, Wood);
        flag(k, r, {70, 60, 130}, 32, 0);
    }));
    out.push_back(building("Mine Shaft", "Models/Units/MineShaft.mdx", Race0Atlas, 192, 60, {-40, 50, 120}, {55, 0, 25},
                           [](TKit& k, const TBuildingRig& r) {
        k.b.sphere(k.body, r.base, {0, 0, 0}, {85, 80, 70}, Stone);
        k.b.box(k.body, r.base, {50, -22, 0}, {80, -16, 50}, Wood);
        k.b.box(k.body, r.base, {50, 16, 0}, {80, 22, 50}, Wood);
        k.b.box(k.body, r.roof, {48, -26, 50}, {82, 26, 58}, Wood);
        k.b.box(k.body, r.base, {80, -16, 0}, {81, 16, 46}, Metal);
        for (int i = 0; i < 5; ++i)
            k.b.sphere(k.body, r.detail, {60 + 6.0f * static_cast<float>(i % 2), -30 + 14.0f * static_cast<float>(i), 6}, {6, 6, 5}, Trim);
        flag(k, r, {-40, 50, 120}, 30, 40);
    }));
    out.push_back(building("Forge", "Models/Units/Forge.mdx", Race0Atlas, 192, 70, {-60, -60, 120}, {50, 30, 20},
                           [](TKit& k, const TBuildingRig& r) {
        k.b.box(k.body, r.base, {-75, -70, 0}, {75, 70, 8}, Stone);
        k.b.box(k.body, r.base, {-65, -60, 8}, {40, 60, 70}, Stone);
        k.b.prism(k.body, r.roof, {-12, 0, 70}, 85, 0, 45, 4, Roof);
        k.b.prism(k.body, r.base, {-40, 35, 8}, 14, 11, 130, 6, Stone);  // chimney
        k.b.box(k.body, r.detail, {45, 20, 8}, {65, 40, 24}, Metal);      // anvil
        k.b.box(k.team, r.base, {40, -40, 20}, {42, -10, 50}, White);
        flag(k, r, {-60, -60, 120}, 30, 0);
    }));
    out.push_back(building("Chapel", "Models/Units/Chapel.mdx", Race0Atlas, 192, 90, {47, 0, 262}, {0, 0, 150},
                           [](TKit& k, const TBuildingRig& r) {
        k.b.box(k.body, r.base, {-80, -55, 0}, {70, 55, 8}, Stone);
        k.b.box(k.body, r.base, {-70, -45, 8}, {30, 45, 90}, Cloth);
        k.b.gable(k.body, r.roof, {-76, -52, 90}, {30, 52, 90}, 48, Roof);
        k.b.box(k.body, r.base, {25, -22, 8}, {69, 22, 150}, Cloth);
        k.b.prism(k.body, r.roof, {47, 0, 150}, 34, 0, 90, 4, Roof);
        k.b.sphere(k.body, r.detail, {70, 0, 110}, {2, 10, 10}, Trim);  // rose window
        k.b.box(k.team, r.base, {69, -10, 8}, {71, 10, 50}, White);
        flag(k, r, {47, 0, 262}, 30, 230);
    }));
    // Race 1: rough timber, hides, bone and red paint.
    out.push_back(building("Great Hall", "Models/Units/GreatHall.mdx", Race1Atlas, 256, 90, {-95, 95, 150}, {95, 0, 40},
                           [](TKit& k, const TBuildingRig& r) {
        k.b.prism(k.body, r.base, {0, 0, 0}, 115, 105, 12, 8, Stone);
        k.b.prism(k.body, r.base, {0, 0, 12}, 100, 95, 78, 8, Wood);
        k.b.prism(k.body, r.roof, {0, 0, 90}, 112, 0, 110, 8, Roof);
        k.b.prism(k.team, r.roof, {0, 0, 88}, 114, 112, 6, 8, White);
        for (float y : {-45.0f, 45.0f})
            k.b.prismX(k.body, r.detail, {88, y, 45}, 8, 0, 55, 5, Trim);  // tusks over the door
        k.b.box(k.body, r.base, {94, -20, 12}, {100, 20, 60}, Cloth);
        flag(k, r, {-95, 95, 150}, 40, 0);
    }));
    out.push_back(building("War Camp", "Models/Units/WarCamp.mdx", Race1Atlas, 192, 70, {0, 0, 150}, {0, 0, 0},
                           [](TKit& k, const TBuildingRig& r) {
        for (int i = 0; i < 20; ++i) {  // palisade
            const float a = 6.2831853f * static_cast<float>(i) / 20;
            if (i == 0)
                continue;  // the gap is the gate
            const TVec3 p{82 * std::cos(a), 82 * std::sin(a), 0};
            k.b.prism(k.body, r.base, p, 6, 6, 50, 5, Wood);
            k.b.prism(k.body, r.base, {p.x, p.y, 50}, 6, 0, 12, 5, Wood);
        }
        k.b.prism(k.body, r.base, {0, 0, 0}, 55, 45, 20, 6, Roof);
        k.b.prism(k.body, r.roof, {0, 0, 20}, 48, 0, 70, 6, Roof);  // tent
        k.b.prism(k.team, r.roof, {0, 0, 56}, 25, 14, 10, 6, White);
        k.b.box(k.body, r.detail, {-30, 50, 0}, {-12, 66, 30}, Trim);  // weapon rack
        flag(k, r, {0, 0, 150}, 34, 80);
    }));
    out.push_back(building("Burrow", "Models/Units/Burrow.mdx", Race1Atlas, 192, 60, {-50, -40, 110}, {60, 0, 0},
                           [](TKit& k, const TBuildingRig& r) {
        k.b.sphere(k.body, r.base, {0, 0, 0}, {88, 84, 62}, Stone);
        k.b.prism(k.body, r.detail, {70, 0, 0}, 24, 20, 30, 8, Wood);
        k.b.box(k.body, r.detail, {88, -14, 2}, {93, 14, 24}, Metal);  // the dark opening
        for (float y : {-30.0f, 30.0f})
            k.b.prism(k.body, r.roof, {50, y, 50}, 5, 0, 30, 5, Trim);
        k.b.prism(k.team, r.roof, {-10, 0, 58}, 20, 8, 10, 6, White);
        flag(k, r, {-50, -40, 110}, 30, 35);
    }));
    out.push_back(building("Totem", "Models/Units/Totem.mdx", Race1Atlas, 192, 130, {-60, 50, 110}, {0, 0, 140},
                           [](TKit& k, const TBuildingRig& r) {
        k.b.prism(k.body, r.base, {0, 0, 0}, 70, 62, 10, 8, Stone);
        k.b.prism(k.body, r.base, {0, 0, 10}, 20, 16, 160, 8, Wood);
        for (float z : {40.0f, 90.0f, 140.0f}) {
            k.b.box(k.body, r.base, {14, -12, z}, {22, 12, z + 26}, Cloth);     // painted faces
            k.b.box(k.body, r.base, {21, -8, z + 14}, {24, -3, z + 19}, Trim);  // eyes
            k.b.box(k.body, r.base, {21, 3, z + 14}, {24, 8, z + 19}, Trim);
        }
        for (float y : {-1.0f, 1.0f})  // wings
            k.b.box(k.team, r.detail, {-6, y * 18, 130}, {6, y * 70, 150}, White);
        k.b.prism(k.body, r.roof, {0, 0, 170}, 22, 0, 30, 8, Roof);
        flag(k, r, {-60, 50, 110}, 30, 0);
    }));
    // No race: the map's standing stones.
    out.push_back(building("Standing Stone", "Models/Units/StandingStone.mdx", NeutralAtlas, 128, 100, {0, 0, 140}, {0, 0, 0},
                           [](TKit& k, const TBuildingRig& r) {
        k.b.prism(k.body, r.base, {0, 0, 0}, 50, 46, 6, 7, Wood);
        k.b.box(k.body, r.base, {-14, -22, 0}, {12, 20, 100}, Stone);
        k.b.box(k.body, r.base, {-16, -24, 60}, {14, 22, 64}, Skin);  // lichen band
        k.b.box(k.body, r.detail, {-40, 26, 0}, {-24, 40, 48}, Metal);
        k.b.box(k.body, r.detail, {22, -42, 0}, {36, -28, 36}, Stone);
        k.b.prism(k.body, r.roof, {-1, -1, 100}, 18, 0, 22, 4, Stone);
        k.b.box(k.team, r.banner, {12, -5, 30}, {13, 5, 44}, White);  // the owner's mark
    }));
    return out;
}

// ---- small models ---------------------------------------------------------------------

TGeneratedModel selectionCircle(const std::string& name, float inner, float outer)
{
    ModelBuilder b(name);
    const int tex = b.texture(ReplaceNone, CircleTexturePath);
    const int mat = b.material({tex}, FilterBlend);
    const int g = b.geoset(mat, SelectionUnselectable);
    const int root = b.bone("Circle", -1, {0, 0, 0});
    b.ring(g, root, inner, outer, 1, 32);
    b.sequence("Stand", {0, 1000}, 0, true);
    b.finish();
    return {"Models/Misc/" + name + ".mdx", b.model};
}

TGeneratedModel arrowMissile()
{
    TKit kit{ModelBuilder("ArrowMissile")};
    ModelBuilder& b = kit.b;
    setUp(kit, NeutralAtlas);
    const int root = b.bone("Arrow", -1, {0, 0, 0});
    b.prismX(kit.body, root, {-22, 0, 0}, 0.7f, 0.7f, 36, 4, Wood);
    b.prismX(kit.body, root, {14, 0, 0}, 2, 0, 8, 4, Metal);
    for (float s : {-1.0f, 1.0f}) {
        b.box(kit.team, root, {-22, -0.2f, s * 0.7f}, {-14, 0.2f, s * 3.2f}, White);
        b.box(kit.team, root, {-22, s * 0.7f, -0.2f}, {-14, s * 3.2f, 0.2f}, White);
    }
    b.sequence("Stand", {0, 1000}, 0, true);
    b.finish();
    return {"Models/Missiles/ArrowMissile.mdx", b.model};
}

}  // namespace

std::vector<TGeneratedModel> buildAllModels()
{
    std::vector<TGeneratedModel> out = buildings();
    auto add = [&](const std::string& name, const std::string& file, TFigure f) {
        out.push_back(figure(name, "Models/Units/" + file + ".mdx", f));
    };
    add("Serf", "Serf", {0, 0.9f, 0.85f, Weapon::Pick, false, false});
    add("Spearman", "Spearman", {0, 1.0f, 1.0f, Weapon::Spear, false, false});
    add("Bowman", "Bowman", {0, 0.9f, 1.0f, Weapon::Bow, false, false});
    add("Warden", "Warden", {0, 1.15f, 1.2f, Weapon::SwordShield, true, false});
    add("Acolyte", "Acolyte", {0, 0.9f, 0.95f, Weapon::Staff, false, true});
    add("Drudge", "Drudge", {1, 1.05f, 0.8f, Weapon::Pick, false, false});
    add("Raider", "Raider", {1, 1.3f, 1.05f, Weapon::Axe, false, false});
    add("Slinger", "Slinger", {1, 1.15f, 0.95f, Weapon::Sling, false, false});
    add("Warlord", "Warlord", {1, 1.45f, 1.25f, Weapon::GreatAxe, true, false});
    add("Shaman", "Shaman", {1, 1.1f, 0.95f, Weapon::SkullStaff, false, true});
    out.push_back(selectionCircle("SelectionCircle", 28, 33));
    out.push_back(selectionCircle("SelectionCircleLight", 30, 32));
    out.push_back(arrowMissile());
    return out;
}

std::vector<TGeneratedTexture> buildAllTextures()
{
    return {atlas(tgaOf(Race0Atlas), Race0Colours), atlas(tgaOf(Race1Atlas), Race1Colours),
            atlas(tgaOf(NeutralAtlas), NeutralColours), ringTexture()};
}
