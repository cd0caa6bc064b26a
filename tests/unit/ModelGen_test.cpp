// The model generator's promises to the game: every model the content names,
// each unit with its seven sequences, team colour on replaceable id 1,
// animation through bones and helpers, and files our loader reads back as built.
#include "MdxWriter.h"
#include "Units.h"
#include "assets/FLoader.h"
#include "game/FUnitLoad.h"
#include "shell/FLogs.h"

#include "../support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

const std::vector<TGeneratedModel>& models()
{
    static const std::vector<TGeneratedModel> all = buildAllModels();
    return all;
}

bool isBuilding(const std::string& path)
{
    for (const char* b : {"Keep", "Barracks", "MineShaft", "Forge", "Chapel", "GreatHall", "WarCamp", "Burrow",
                          "Totem", "StandingStone"})
        if (path == std::string("Models/Units/") + b + ".mdx")
            return true;
    return false;
}

template <typename V>
void expectKeysInOrder(const TTransformation<V>& t, const std::string& where)
{
    for (std::size_t i = 1; i < t.keys.size(); ++i)
        EXPECT_LT(t.keys[i - 1].time, t.keys[i].time) << where;
}

}  // namespace

TEST(ModelGen, EveryNamedModelIsMade)
{
    std::set<std::string> paths;
    for (const TGeneratedModel& m : models())
        paths.insert(m.path);
    EXPECT_EQ(paths.size(), 23u);
    for (const char* p : {"Models/Misc/SelectionCircle.mdx", "Models/Misc/SelectionCircleLight.mdx",
                          "Models/Missiles/ArrowMissile.mdx", "Models/Units/Serf.mdx", "Models/Units/Drudge.mdx",
                          "Models/Units/GreatHall.mdx", "Models/Units/StandingStone.mdx"})
        EXPECT_TRUE(paths.count(p)) << p;
}

// The unit definitions name each type's model, and its icon and sounds after
// the same file name (the icons are drawn from the models).
TEST(ModelGen, EveryUnitDefinitionNamesAModelThatIsMade)
{
    std::set<std::string> paths;
    for (const TGeneratedModel& m : models())
        paths.insert(m.path);
    testing_support::ScratchDir dir;
    startLog();
    ResetDefinitions();
    ASSERT_TRUE(LoadUnitTypes(VRAX_SOURCE_DIR "/content/Data/units.xml"));
    for (const TUnitAttributes& u : UnitTypes) {
        std::string model = u.model;
        std::replace(model.begin(), model.end(), '\\', '/');
        EXPECT_TRUE(paths.count(model)) << u.name << ": " << model;
        const std::string file = model.substr(13, model.size() - 13 - 4);
        EXPECT_EQ(u.icon, "Textures\\Icons\\" + file + ".blp") << u.name;
        EXPECT_EQ(u.sound, "Sounds\\Units\\" + file + "\\" + file) << u.name;
    }
    EXPECT_EQ(UnitTypes.size(), 20u);
    ResetDefinitions();
}

TEST(ModelGen, UnitsHaveTheirSequencesTeamColourAndSkeleton)
{
    int units = 0;
    for (const TGeneratedModel& g : models()) {
        if (g.path.rfind("Models/Units/", 0) != 0)
            continue;
        ++units;
        const MdxModel& m = g.model;
        std::vector<std::string> names;
        for (const SequenceChunk& s : m.sequences)
            names.push_back(s.name);
        EXPECT_EQ(names, (std::vector<std::string>{"Stand", "Stand 2", "Stand Ready", "Walk", "Attack", "Death", "Birth"}))
            << g.path;
        EXPECT_EQ(m.sequences[1].rarity, 3) << g.path;
        const SequenceChunk& birth = m.sequences[6];
        if (isBuilding(g.path)) {
            EXPECT_EQ(birth.intervalEnd - birth.intervalStart, 60000) << g.path;
        }
        // Team colour: a geoset whose material's first layer uses replaceable id 1.
        bool team = false;
        for (const GeosetChunk& geo : m.geosets) {
            const MaterialChunk& mat = m.materials[static_cast<std::size_t>(geo.materialId)];
            team |= !mat.layers.empty() &&
                    m.textures[static_cast<std::size_t>(mat.layers[0].textureId)].replaceableId == ReplaceTeamColor;
        }
        EXPECT_TRUE(team) << g.path;
        EXPECT_FALSE(m.bones.empty()) << g.path;
        EXPECT_FALSE(m.helpers.empty()) << g.path;
        bool hermite = false;
        for (const BoneChunk& b : m.bones) {
            hermite |= b.node.rotation.interpolationType == InterpHermite ||
                       b.node.translation.interpolationType == InterpHermite;
            expectKeysInOrder(b.node.rotation, g.path + " " + b.node.name);
            expectKeysInOrder(b.node.translation, g.path + " " + b.node.name);
            expectKeysInOrder(b.node.scaling, g.path + " " + b.node.name);
        }
        for (const NodeChunk& h : m.helpers)
            hermite |= h.translation.interpolationType == InterpHermite;
        EXPECT_TRUE(hermite) << g.path;
        EXPECT_EQ(m.pivotPoints.size(), static_cast<std::size_t>(m.highestObjectId) + 1) << g.path;
        // Every texture a model lists by name is one the generator paints.
        for (const TextureChunk& t : m.textures) {
            if (t.replaceableId != ReplaceNone)
                continue;
            bool painted = false;
            for (const TGeneratedTexture& p : buildAllTextures())
                painted |= p.path == t.path.substr(0, t.path.size() - 3) + "tga";
            EXPECT_TRUE(painted) << t.path;
        }
    }
    EXPECT_EQ(units, 20);
}

TEST(ModelGen, WrittenFilesReadBackAsBuilt)
{
    for (const TGeneratedModel& g : models()) {
        const std::vector<std::uint8_t> bytes = writeMdx(g.model);
        MdxModel read;
        ASSERT_EQ(parseMdx(bytes.data(), bytes.size(), g.path, read, nullptr), "");
        EXPECT_TRUE(read == g.model) << g.path;
    }
}
