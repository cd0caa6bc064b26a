#include "game/FUnitLoad.h"

#include "shell/FLogs.h"

#include "../support/TestSupport.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace testing_support;

namespace {

// A scratch folder with a fresh log and empty tables, as at a game start.
class Definitions : public ::testing::Test {
protected:
    void SetUp() override
    {
        startLog();
        ResetDefinitions();
    }
    void TearDown() override { ResetDefinitions(); }

    std::string logText() const { return readFile("Logs/log.txt"); }
    bool logged(const std::string& text) const { return logText().find(text) != std::string::npos; }

    ScratchDir dir;
};

std::string effect(const std::string& tag, const std::string& body = "")
{
    std::string out = "<" + tag + ">";
    for (const char* field : {"size", "hp", "attack", "defense", "damage", "speed"})
        if (body.find(std::string("<") + field + ">") == std::string::npos)
            out += std::string("<") + field + ">0</" + field + ">";
    return out + body + "</" + tag + ">";
}

// An ability with every field; `replace` swaps one element for another text
// (or removes it when the text is empty).
std::string ability(int id, const std::string& name, const std::string& replaceTag = "", const std::string& with = "")
{
    std::ostringstream fields;
    const std::pair<std::string, std::string> all[] = {
        {"name", "<name>" + name + "</name>"},
        {"tooltip", "<tooltip>tip of " + name + "</tooltip>"},
        {"icon", "<icon>Textures\\Icons\\Abilities\\" + name + ".blp</icon>"},
        {"shortcut", "<shortcut>Q</shortcut>"},
        {"id", "<id>" + std::to_string(id) + "</id>"},
        {"target", "<target>Enemy</target>"},
        {"areaeffecttarget", "<areaeffecttarget>Enemy</areaeffecttarget>"},
        {"range", "<range>12</range>"},
        {"areaeffect", "<areaeffect>false</areaeffect>"},
        {"duration", "<duration>4000</duration>"},
        {"cooldown", "<cooldown>8000</cooldown>"},
        {"cost", "<cost>50</cost>"},
        {"instanteffect", effect("instanteffect", "<damage>30</damage>")},
        {"tick", "<tick>1000</tick>"},
        {"periodiceffect", effect("periodiceffect", "<speed>-1</speed>")},
        {"special", "<special/>"},
    };
    for (const auto& [tag, text] : all)
        fields << (tag == replaceTag ? with : text);
    return "<ability>" + fields.str() + "</ability>";
}

std::string upgrade(int id, const std::string& name, const std::string& extra = "")
{
    return "<upgrade><name>" + name + "</name><icon>i</icon><id>" + std::to_string(id) +
           "</id><targetsid>2</targetsid><res1cost>150</res1cost><res2cost>2</res2cost>" +
           effect("effects", "<attack>2</attack>") + extra + "</upgrade>";
}

}  // namespace

TEST_F(Definitions, UnitFieldsTakeTheirDefaultsAndFileScales)
{
    writeFile("units.xml",
              "<units>"
              "<unit><id>7</id></unit>"
              "<unit><id>8</id><name>Archer</name><race>1</race><type>Ranged</type><aggressivity>aggressive</aggressivity>"
              "<atk_speed>1500</atk_speed><buildingtime>20005</buildingtime><hpregen>250</hpregen><mpregen>2</mpregen>"
              "<training>500</training><repairer>true</repairer><isbuilding>0</isbuilding><size>12</size>"
              "<atk_range> 14 </atk_range><res1cost>140</res1cost><res2cost>3</res2cost></unit>"
              "<unit><id>9</id><type>Hero</type><aggressivity>defensive</aggressivity><training>-1</training></unit>"
              "<unit><id>10</id><type>hero</type><aggressivity>Aggressive</aggressivity><type>Infrantry</type></unit>"
              "<notaunit><id>99</id></notaunit>"
              "</units>");
    EXPECT_TRUE(LoadUnitTypes("units.xml"));
    ASSERT_EQ(UnitTypes.size(), 4u);  // only <unit> elements count

    const TUnitAttributes& bare = UnitTypes[0];
    EXPECT_EQ(bare.id, 7);
    EXPECT_EQ(bare.hp, 100);
    EXPECT_EQ(bare.mp, 0);
    EXPECT_EQ(bare.size, 4);
    EXPECT_EQ(bare.modelScale, 10);
    EXPECT_EQ(bare.modelSize, 10);
    EXPECT_EQ(bare.type, UnitKind::Other);
    EXPECT_EQ(bare.aggressivity, Aggressivity::Neither);
    EXPECT_DOUBLE_EQ(bare.hpRegen, 1.0);
    EXPECT_DOUBLE_EQ(bare.mpRegen, 0.0);
    EXPECT_DOUBLE_EQ(bare.training, 0.0);
    EXPECT_EQ(bare.name, "");
    EXPECT_EQ(bare.damage + bare.speed + bare.atkSpeed + bare.atkRange + bare.defense + bare.buildingTime +
                  bare.res1Cost + bare.res2Cost + bare.race,
              0);
    EXPECT_FALSE(bare.isBuilding || bare.repairer);
    EXPECT_TRUE(bare.buildings.empty() && bare.spells.empty() && bare.upgrades.empty());
    for (int v : bare.soundVariants)
        EXPECT_EQ(v, -1);

    const TUnitAttributes& archer = UnitTypes[1];
    EXPECT_EQ(archer.name, "Archer");
    EXPECT_EQ(archer.race, 1);
    EXPECT_EQ(archer.type, UnitKind::Ranged);
    EXPECT_EQ(archer.aggressivity, Aggressivity::Aggressive);
    EXPECT_EQ(archer.atkSpeed, 150);
    EXPECT_EQ(archer.buildingTime, 2000);  // whole ticks
    EXPECT_DOUBLE_EQ(archer.hpRegen, 2.5);
    EXPECT_DOUBLE_EQ(archer.mpRegen, 0.02);
    EXPECT_DOUBLE_EQ(archer.training, 5.0);
    EXPECT_TRUE(archer.repairer);
    EXPECT_FALSE(archer.isBuilding);
    EXPECT_EQ(archer.size, 12);
    EXPECT_EQ(archer.atkRange, 14);
    EXPECT_EQ(archer.res1Cost, 140);
    EXPECT_EQ(archer.res2Cost, 3);

    EXPECT_EQ(UnitTypes[2].type, UnitKind::Hero);
    EXPECT_EQ(UnitTypes[2].aggressivity, Aggressivity::Defensive);
    EXPECT_DOUBLE_EQ(UnitTypes[2].training, -1.0);  // a building workers enter, not -0.01
    // Words are compared exactly; the first of two elements counts.
    EXPECT_EQ(UnitTypes[3].type, UnitKind::Other);
    EXPECT_EQ(UnitTypes[3].aggressivity, Aggressivity::Neither);
    EXPECT_FALSE(logged("id is required"));
}

TEST_F(Definitions, UnitReferencesResolveAcrossTheFileAndUnknownOnesAreLoggedAndDropped)
{
    writeFile("Data/abilities.xml", "<abilities>" + ability(1, "Heal") + ability(8, "Aura") + "</abilities>");
    writeFile("Data/upgrades.xml", "<upgrades>" + upgrade(3, "Mail", "<tooltip>t</tooltip>") + "</upgrades>");
    writeFile("Data/units.xml",
              "<units>"
              "<unit><id>1</id><name>Worker</name>"
              "  <buildings><buildingid>20</buildingid><buildingid>42</buildingid><buildingid>5</buildingid></buildings></unit>"
              "<unit><name>Nameless</name></unit>"
              "<unit><id>5</id><name>Forge</name><upgrades><upgradeid>3</upgradeid><upgradeid>4</upgradeid></upgrades></unit>"
              "<unit><id>20</id><name>Hero</name><spells>\n"
              "    <spellid>1</spellid>\n"
              "    <spellid>2</spellid>\n"
              "    <spellid>\n      8<innate>true</innate>\n    </spellid>\n"
              "    <spellid>1<innate>false</innate></spellid>\n"
              "    <note>not a spell</note>\n"
              "  </spells></unit>"
              "<unit><id>5</id><name>Second Forge</name></unit>"
              "</units>");
    EXPECT_TRUE(LoadDefinitions("Data"));
    ASSERT_EQ(UnitTypes.size(), 5u);

    // Pass 2 sees the hero defined after the worker; the unknown 42 is left out.
    const TUnitAttributes& worker = UnitTypes[0];
    ASSERT_EQ(worker.buildings.size(), 2u);
    EXPECT_EQ(worker.buildings[0], &UnitTypes[3]);
    EXPECT_EQ(worker.buildings[1], &UnitTypes[2]);  // the first of two types with id 5
    EXPECT_TRUE(logged("Debug: Parsing Units.xml, Cannot find building id `42` on `Worker`"));

    EXPECT_EQ(UnitTypes[1].id, 0);
    EXPECT_TRUE(logged("Debug: Parsing Units.xml, id is required"));

    ASSERT_EQ(UnitTypes[2].upgrades.size(), 1u);
    EXPECT_EQ(UnitTypes[2].upgrades[0], &Upgrades[0]);
    EXPECT_TRUE(logged("Parsing Units.xml, Cannot find upgrade id `4` on `Forge`"));

    const TUnitAttributes& hero = UnitTypes[3];
    ASSERT_EQ(hero.spells.size(), 3u);
    EXPECT_EQ(hero.spells[0].ability, &Abilities[0]);
    EXPECT_FALSE(hero.spells[0].innate);
    EXPECT_EQ(hero.spells[1].ability, &Abilities[1]);
    EXPECT_TRUE(hero.spells[1].innate);
    EXPECT_FALSE(hero.spells[2].innate);
    EXPECT_TRUE(logged("Parsing Units.xml, Cannot find spell id `2` on `Hero`"));

    EXPECT_EQ(FindUnitType(5), &UnitTypes[2]);
    EXPECT_EQ(FindAbility(8), &Abilities[1]);
    EXPECT_EQ(FindUpgrade(3), &Upgrades[0]);
    EXPECT_EQ(FindUnitType(77), nullptr);
    EXPECT_EQ(FindAbility(77), nullptr);
    EXPECT_EQ(FindUpgrade(77), nullptr);
    EXPECT_EQ(UnitTypeIndex(&UnitTypes[3]), 3);
    EXPECT_EQ(UnitTypeIndex(nullptr), -1);
}

TEST_F(Definitions, AnAbilityOrUpgradeMissingAFieldIsSkippedAndTheNextTakesItsSlot)
{
    writeFile("abilities.xml",
              "<abilities>\n<!-- comments are not items -->\n" + ability(1, "NoSpecial", "special", "") +
                  ability(2, "Frost") + ability(3, "BadRange", "range", "<range>far</range>") +
                  ability(4, "NoKey", "shortcut", "<shortcut></shortcut>") +
                  ability(5, "BadFlag", "areaeffect", "<areaeffect>maybe</areaeffect>") +
                  ability(6, "NoSpeed", "periodiceffect", "<periodiceffect><size>0</size><hp>0</hp><attack>0</attack>"
                                                          "<defense>0</defense><damage>0</damage></periodiceffect>") +
                  ability(7, "Defend", "duration", "<duration>-1</duration>") +
                  "<spell><name>Aura</name><tooltip/><icon/><shortcut>-</shortcut><id>8</id><target>Self</target>"
                  "<areaeffecttarget>Friendly</areaeffecttarget><range>10</range><areaeffect>true</areaeffect>"
                  "<duration>-1</duration><cooldown>0</cooldown><cost>0</cost>" +
                  effect("instanteffect", "<damage>-3</damage>") + "<tick>2000</tick>" +
                  effect("periodiceffect", "<damage>-3</damage>") + "<special>whatever</special></spell>" +
                  "</abilities>");
    EXPECT_TRUE(LoadAbilities("abilities.xml"));
    ASSERT_EQ(Abilities.size(), 3u);

    const TAbility& frost = Abilities[0];
    EXPECT_EQ(frost.name, "Frost");
    EXPECT_EQ(frost.tooltip, "tip of Frost");
    EXPECT_EQ(frost.shortcut, 'Q');
    EXPECT_EQ(frost.id, 2);
    EXPECT_EQ(frost.target, AbilityTarget::Enemy);
    EXPECT_EQ(frost.range, 12);
    EXPECT_FALSE(frost.areaEffect);
    EXPECT_EQ(frost.duration, 400);
    EXPECT_EQ(frost.cooldown, 800);
    EXPECT_EQ(frost.tick, 100);
    EXPECT_EQ(frost.cost, 50);
    EXPECT_EQ(frost.instantEffect.damage, 30);
    EXPECT_EQ(frost.periodicEffect.speed, -1);
    EXPECT_EQ(frost.periodicEffect.damage, 0);

    // -1 is "until undone"; scaling it like other times would make it 0, "never".
    EXPECT_EQ(Abilities[1].name, "Defend");
    EXPECT_EQ(Abilities[1].duration, -1);

    const TAbility& aura = Abilities[2];  // any element name is an item
    EXPECT_EQ(aura.target, AbilityTarget::NoUnit);
    EXPECT_EQ(aura.areaEffectTarget, AbilityTarget::Friendly);
    EXPECT_TRUE(aura.areaEffect);
    EXPECT_EQ(aura.shortcut, '-');
    EXPECT_EQ(aura.instantEffect.damage, -3);
    EXPECT_EQ(aura.periodicEffect.damage, -3);

    for (const char* skipped : {"item 0 `NoSpecial` skipped: no element `special`", "item 2 `BadRange` skipped: `range`",
                                "item 3 `NoKey` skipped", "item 4 `BadFlag` skipped", "item 5 `NoSpeed` skipped"})
        EXPECT_TRUE(logged(std::string("Warning: Parsing Abilities.xml, ") + skipped)) << skipped;

    writeFile("upgrades.xml", "<upgrades>" + upgrade(1, "Spears") + "<upgrade><name>NoTooltip</name></upgrade>" +
                                  upgrade(3, "Mail", "<tooltip>+1 defense</tooltip>") + "</upgrades>");
    EXPECT_TRUE(LoadUpgrades("upgrades.xml"));  // the first lacks a tooltip too
    ASSERT_EQ(Upgrades.size(), 1u);
    EXPECT_EQ(Upgrades[0].name, "Mail");
    EXPECT_EQ(Upgrades[0].id, 3);
    EXPECT_EQ(Upgrades[0].targetsId, 2);
    EXPECT_EQ(Upgrades[0].res1Cost, 150);
    EXPECT_EQ(Upgrades[0].res2Cost, 2);
    EXPECT_EQ(Upgrades[0].effects.attack, 2);
    EXPECT_EQ(Upgrades[0].tooltip, "+1 defense");
}

TEST_F(Definitions, BrokenFilesAreLoggedAndKeepWhatLoadedBefore)
{
    writeFile("units.xml",
              "<units><unit><id>1</id><name>Worker</name><buildings><buildingid>2</buildingid></buildings></unit>"
              "<unit><id>2</id><name>Keep</name></unit>"
              "<unit><id>3</id><name>Broken</name><hp>lots</hp></unit>"
              "<unit><id>4</id><name>After</name></unit></units>");
    EXPECT_FALSE(LoadUnitTypes("units.xml"));
    ASSERT_EQ(UnitTypes.size(), 2u);  // the types before keep their indices
    ASSERT_EQ(UnitTypes[0].buildings.size(), 1u);
    EXPECT_EQ(UnitTypes[0].buildings[0], &UnitTypes[1]);
    EXPECT_TRUE(logged("Warning: Parsing Units.xml, unit 2 `Broken`: `hp`: 'lots' is not a valid integer value"));

    // The loaded records never move while more are read.
    const TUnitAttributes* first = &UnitTypes[0];
    writeFile("more.xml", "<units>" + std::string(300, ' ') + "<unit><id>9</id></unit></units>");
    for (int i = 0; i < 200; ++i)
        LoadUnitTypes("more.xml");
    EXPECT_EQ(&UnitTypes[0], first);
    EXPECT_EQ(UnitTypes[0].buildings[0], &UnitTypes[1]);

    // Values that would divide by zero or flood the grid are brought back in bounds.
    writeFile("odd.xml", "<units><unit><id>5</id><name>Odd</name><modelscale>0</modelscale><size>100000</size></unit>"
                         "<unit><id>6</id><size>-3</size></unit></units>");
    ResetDefinitions();
    EXPECT_TRUE(LoadUnitTypes("odd.xml"));
    ASSERT_EQ(UnitTypes.size(), 2u);
    EXPECT_EQ(UnitTypes[0].modelScale, 10);
    EXPECT_EQ(UnitTypes[0].size, 480);
    EXPECT_EQ(UnitTypes[1].size, 0);
    EXPECT_TRUE(logged("Warning: Parsing Units.xml, modelscale 0 on `Odd` must be above 0; 10 is used"));
    EXPECT_TRUE(logged("Warning: Parsing Units.xml, size 100000 on `Odd` must be 0 to 480; 480 is used"));

    writeFile("bad.xml", "<units><unit><id>1</id></units>");
    const std::size_t before = UnitTypes.size();
    EXPECT_FALSE(LoadUnitTypes("bad.xml"));
    EXPECT_FALSE(LoadAbilities("missing.xml"));
    EXPECT_FALSE(LoadUpgrades("bad.xml"));
    EXPECT_EQ(UnitTypes.size(), before);
    EXPECT_TRUE(logged("Warning: Parsing Units.xml, cannot load bad.xml:"));
    EXPECT_TRUE(logged("Warning: Parsing Abilities.xml, cannot load missing.xml: The file cannot be read"));

    ResetDefinitions();
    EXPECT_TRUE(UnitTypes.empty() && Abilities.empty() && Upgrades.empty());
}

// The shipped data, read as the game reads it: the roster's fixed indices and
// ids, every reference resolved, and the tuning the guide asks for.
TEST_F(Definitions, TheShippedFilesLoadCompletely)
{
    ASSERT_TRUE(LoadDefinitions(VRAX_SOURCE_DIR "/content/Data"));
    ASSERT_EQ(UnitTypes.size(), 20u);
    ASSERT_EQ(Abilities.size(), 8u);
    ASSERT_EQ(Upgrades.size(), 6u);
    EXPECT_FALSE(logged("Parsing"));  // nothing skipped, nothing unresolved

    const std::pair<int, const char*> roster[20] = {
        {10, "Keep"},       {1, "Serf"},      {2, "Spearman"}, {3, "Bowman"},   {4, "Warden"},
        {5, "Barracks"},    {6, "Mine Shaft"}, {7, "Forge"},   {8, "Acolyte"},  {9, "Chapel"},
        {11, "Drudge"},     {12, "Great Hall"}, {13, "Raider"}, {14, "Slinger"}, {15, "Warlord"},
        {16, "War Camp"},   {17, "Burrow"},   {18, "Totem"},   {19, "Shaman"},  {20, "Standing Stone"}};
    for (int i = 0; i < 20; ++i) {
        const TUnitAttributes& u = UnitTypes[static_cast<std::size_t>(i)];
        EXPECT_EQ(u.id, roster[i].first) << i;
        EXPECT_EQ(u.name, roster[i].second) << i;
        EXPECT_EQ(u.model.rfind("Models\\Units\\", 0), 0u) << u.name;
        EXPECT_FALSE(u.icon.empty() || u.sound.empty() || u.tooltip.empty()) << u.name;
        EXPECT_EQ(u.isBuilding, u.speed == 0) << u.name;
        if (u.isBuilding)
            EXPECT_EQ(u.hpRegen, 0.0) << u.name;
        else
            EXPECT_GT(u.hpRegen, 0.0) << u.name;
    }
    const char* abilities[8] = {"Heal", "Frost Bolt", "Fire Rain", "Battle Cry", "Venom", "Stone Skin", "Defend", "Healing Aura"};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(Abilities[static_cast<std::size_t>(i)].name, abilities[i]);
    EXPECT_EQ(Abilities[6].duration, -1);
    EXPECT_EQ(Abilities[7].duration, -1);
    const char* upgrades[6] = {"Tempered Spears", "Fletching", "Banded Mail", "Raider Axes", "Sling Stones", "Thick Hides"};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(Upgrades[static_cast<std::size_t>(i)].name, upgrades[i]);

    // Sizes the occupancy grid and the building preview rely on.
    EXPECT_EQ(UnitTypes[0].size, 16);
    EXPECT_EQ(UnitTypes[5].size, 12);
    EXPECT_EQ(UnitTypes[19].size, 8);
    EXPECT_DOUBLE_EQ(UnitTypes[6].training, -1.0);
    EXPECT_DOUBLE_EQ(UnitTypes[16].training, -1.0);

    auto names = [](const std::vector<const TUnitAttributes*>& list) {
        std::string out;
        for (const TUnitAttributes* t : list)
            out += t->name + ",";
        return out;
    };
    EXPECT_EQ(names(UnitTypes[1].buildings), "Keep,Barracks,Mine Shaft,Forge,Chapel,");
    EXPECT_EQ(names(UnitTypes[10].buildings), "Great Hall,War Camp,Burrow,Totem,");
    EXPECT_EQ(names(UnitTypes[0].buildings), "Serf,");
    EXPECT_EQ(names(UnitTypes[11].buildings), "Drudge,");
    EXPECT_EQ(UnitTypes[7].upgrades.size(), 3u);
    EXPECT_EQ(UnitTypes[17].upgrades.size(), 3u);
    for (const TUpgrade& up : Upgrades)
        EXPECT_NE(FindUnitType(up.targetsId), nullptr) << up.name;

    for (int hero : {4, 14}) {
        const TUnitAttributes& h = UnitTypes[static_cast<std::size_t>(hero)];
        EXPECT_EQ(h.type, UnitKind::Hero);
        ASSERT_EQ(h.spells.size(), 8u);
        EXPECT_EQ(h.spells[6].ability->name, "Defend");
        EXPECT_EQ(h.spells[7].ability->name, "Healing Aura");
        for (int s = 0; s < 8; ++s)
            EXPECT_EQ(h.spells[static_cast<std::size_t>(s)].innate, s == 7);
    }

    // The balance the guide asks for, as the damage rule computes a fight:
    // damage × (1 − defense / 10) every atkSpeed ticks.
    auto secondsToKill = [](const TUnitAttributes& a, const TUnitAttributes& b) {
        const double perHit = a.damage * (1.0 - b.defense / 10.0);
        return b.hp / perHit * a.atkSpeed / 100.0;
    };
    const TUnitAttributes &serf = UnitTypes[1], &spearman = UnitTypes[2], &bowman = UnitTypes[3], &warden = UnitTypes[4];
    const TUnitAttributes &drudge = UnitTypes[10], &raider = UnitTypes[12], &slinger = UnitTypes[13];
    EXPECT_LE(serf.res1Cost * 2, spearman.res1Cost);
    EXPECT_LT(secondsToKill(spearman, drudge) * 4, secondsToKill(drudge, spearman));
    EXPECT_LT(secondsToKill(raider, serf) * 4, secondsToKill(serf, raider));
    EXPECT_GT(bowman.atkRange, 10);
    EXPECT_GT(slinger.atkRange, 10);
    EXPECT_GT(bowman.speed, raider.speed);  // archers keep their distance from soldiers
    EXPECT_GT(slinger.speed, spearman.speed);
    // A hero outlasts three soldiers of the other side, for about their price.
    EXPECT_GT(secondsToKill(raider, warden), 3 * secondsToKill(warden, raider));
    EXPECT_GT(secondsToKill(spearman, UnitTypes[14]), 3 * secondsToKill(UnitTypes[14], spearman));
    EXPECT_LE(warden.res1Cost, 4 * spearman.res1Cost);
}

// The shipped map against the shipped types: two to eight start positions
// (0 and 1 where the game expects them) and stones clear of every start.
TEST_F(Definitions, TheWelcomeMapPlacesKnownTypesAwayFromTheStarts)
{
    ASSERT_TRUE(LoadUnitTypes(VRAX_SOURCE_DIR "/content/Data/units.xml"));
    std::istringstream map(readFile(VRAX_SOURCE_DIR "/content/Maps/Welcome.vrax"));
    std::vector<std::pair<int, int>> starts(8, {-1, -1});
    std::vector<std::pair<int, int>> stones;
    std::string line;
    while (std::getline(map, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        int kind = -1, x = -1, y = -1;
        ASSERT_TRUE(fields >> kind >> x >> y) << line;
        ASSERT_TRUE(kind >= 0 && kind < static_cast<int>(UnitTypes.size())) << line;
        if (kind <= 9) {
            ASSERT_LT(kind, 8) << line;
            starts[static_cast<std::size_t>(kind)] = {x, y};
        } else {
            EXPECT_EQ(UnitTypes[static_cast<std::size_t>(kind)].name, "Standing Stone") << line;
            const int h = UnitTypes[static_cast<std::size_t>(kind)].size / 2;
            EXPECT_TRUE(x - h >= 0 && y - h >= 0 && x + h <= 480 && y + h <= 480) << line;
            stones.push_back({x, y});
        }
    }
    EXPECT_EQ(starts[0], (std::pair<int, int>{120, 120}));
    EXPECT_EQ(starts[1], (std::pair<int, int>{360, 360}));
    EXPECT_GE(stones.size(), 4u);
    for (const auto& [sx, sy] : starts) {
        EXPECT_TRUE(sx >= 40 && sy >= 40 && sx <= 440 && sy <= 440);  // room for the starting units
        for (const auto& [x, y] : stones)
            EXPECT_GT((x - sx) * (x - sx) + (y - sy) * (y - sy), 60 * 60) << x << "," << y;
    }
}
