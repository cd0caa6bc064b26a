// The game's script functions called from Lua as the game interface calls
// them, on a small game of a few units: each function's results and its
// invalid indices, the commands reaching the game through the player's
// requests (on the host at once, on a joiner through the link), the menu
// (no game) answering as for an invalid index, errors for positions outside
// their lists, and README's reference made from the registration table.
#include "../support/GameSupport.h"
#include "game/FEffects.h"
#include "game/FProduction.h"
#include "game/FUnit.h"
#include "game/FWarning.h"
#include "interface/FCursor.h"
#include "script/FLua.h"
#include "script/FLuaFunctions.h"

#include <gtest/gtest.h>
#include <lua.hpp>

#include <algorithm>
#include <fstream>
#include <sstream>

using namespace testing_support;

namespace {

const TAbility& addAbility(TAbility ability)
{
    ability.id = static_cast<std::int32_t>(Abilities.size()) + 40;
    Abilities.push_back(ability);
    return Abilities.back();
}

struct GameScripts : ::testing::Test {
    GameTest t;
    RecordingLink link;
    int peasant = 0, barracks = 0, soldier = 0, farm = 0;
    const TAbility* rally = nullptr;  // on the caster itself
    const TAbility* bolt = nullptr;   // on an enemy
    const TUpgrade* sharp = nullptr;
    std::vector<int> events;

    void SetUp() override
    {
        TAbility r;
        r.name = "Rally";
        r.icon = "Icons/Rally.tga";
        r.tooltip = "Cheers the unit up.";
        r.shortcut = 'Y';
        r.target = AbilityTarget::NoUnit;
        r.cost = 10;
        r.duration = 300;
        r.cooldown = 150;
        r.instantEffect.attack = 5;
        rally = &addAbility(r);
        TAbility b;
        b.name = "Bolt";
        b.icon = "Icons/Bolt.tga";
        b.target = AbilityTarget::Enemy;
        b.range = 20;
        b.cost = 20;
        bolt = &addAbility(b);

        TUnitAttributes s = soldierType("Spearman");
        s.icon = "Icons/Spearman.tga";
        s.id = 3;
        s.defense = 2;
        s.res1Cost = 100;
        s.buildingTime = 200;
        soldier = addType(s);
        TUpgrade u;
        u.name = "Sharp Spears";
        u.icon = "Icons/Sharp.tga";
        u.tooltip = "Spearmen hit harder.";
        u.id = 1;
        u.targetsId = 3;
        u.res1Cost = 50;
        u.effects.attack = 4;
        Upgrades.push_back(u);
        sharp = &Upgrades.back();

        TUnitAttributes f = soldierType("Farm");
        f.isBuilding = true;
        f.type = UnitKind::Other;
        f.icon = "Icons/Farm.tga";
        f.tooltip = "Feeds the army.";
        f.res1Cost = 300;
        f.res2Cost = 20;
        f.size = 6;
        farm = addType(f);
        TUnitAttributes w = soldierType("Peasant");
        w.icon = "Icons/Peasant.tga";
        w.race = 1;
        w.repairer = true;
        w.mp = 100;
        w.training = 0.5;  // yields gold inside a barracks
        w.buildings = {&typeAt(farm)};
        w.spells = {TUnitSpell{false, rally}, TUnitSpell{false, bolt}};
        peasant = addType(w);
        TUnitAttributes k = soldierType("Barracks");
        k.isBuilding = true;
        k.type = UnitKind::Other;
        k.icon = "Icons/Barracks.tga";
        k.size = 8;
        k.training = -1.0;
        k.buildings = {&typeAt(soldier)};
        k.upgrades = {sharp};
        barracks = addType(k);

        CurrentGame = &t.game;
        t.game.hooks.raiseEvent = [this](InterfaceEvent event, int) { events.push_back(static_cast<int>(event)); };
        createState();
    }
    void TearDown() override
    {
        closeState();
        CurrentGame = nullptr;
        Mouse = TMouse{};
        setCursorState(CursorPointer, false, false, false, false);
    }

    // A finished building of that type.
    TUnit& hallAt(int x, int y, std::int32_t owner = 1)
    {
        TUnit& building = t.unitAt(barracks, x, y, owner);
        building.underConstruction = false;
        building.buildProgress = 1.0;
        return building;
    }
    // The value of a Lua expression as text: "nil", "true"/"false", numbers and texts as Lua writes them.
    static std::string eval(const std::string& expression)
    {
        runString("Result = " + expression);
        runString("Result = type(Result) == 'boolean' and tostring(Result) or Result");
        getGlobal("Result");
        const char* text = lua_tostring(luaState(), -1);
        std::string value = text ? text : "nil";
        lua_pop(luaState(), 1);
        runString("Result = nil");
        return value;
    }
    static std::string call(const std::string& function, int unit, const std::string& more = "")
    {
        return eval(function + "(" + std::to_string(unit) + more + ")");
    }
    int count(InterfaceEvent event) const
    {
        return static_cast<int>(std::count(events.begin(), events.end(), static_cast<int>(event)));
    }
};

// What every game function of the reference answers with a unit that does not exist.
const char* const UnitValueFunctions[] = {
    "GetUnitRace", "GetUnitIcon", "GetHP", "GetMaxHP", "GetMP", "GetMaxMP", "GetBaseDamage", "GetBaseDefense",
    "GetDamage", "GetDefense", "GetPosX", "GetPosY", "GetInterfacePosX", "GetInterfacePosY", "GetOrder",
    "GetAggressivity", "IsBuilding", "IsRepairer", "IsInConstruction", "GetBuildingPercent", "GetEffectsCount",
    "GetAbilityCount", "GetBuildingsCount", "GetUpgradesCount", "ChangeSelectedUnit", "Wound"};
const char* const BuildingFunctions[] = {"IsBuildingQueueEmpty", "GetBuildingQueueLength", "GetTrainingListLength",
                                         "GetProgressionPercent", "GetUnitInQueueIcon", "GetUnitInTrainingListIcon",
                                         "DeleteFromBuildingQueue", "DeleteFromTrainingList"};
const char* const ListFunctions[] = {
    "GetAbilityName", "GetAbilityIcon", "GetAbilityToolTip", "GetAbilityCost", "GetAbilityShortcut",
    "GetIsAbilityAvailable", "GetCooldownRemainingTime", "GetBuildingName", "GetBuildingIcon", "GetBuildingToolTip",
    "GetBuildingRes1Cost", "GetBuildingRes2Cost", "GetUpgradeName", "GetUpgradeIcon", "GetUpgradeToolTip",
    "IsUpgradeAvailable", "LaunchUpgrade", "GetEffectIcon"};

void expectInvalidAnswers(int unit)
{
    for (const char* f : UnitValueFunctions)
        EXPECT_EQ(GameScripts::call(f, unit, ", 1"), "-1") << f << " " << unit;
    EXPECT_EQ(GameScripts::call("GetName", unit), "");
    EXPECT_EQ(GameScripts::call("ValidUnit", unit), "false");
    for (const char* f : BuildingFunctions)
        EXPECT_EQ(GameScripts::call(f, unit, ", 1"), "nil") << f << " " << unit;
    for (const char* f : ListFunctions)
        EXPECT_EQ(GameScripts::call(f, unit, ", 0"), "-1") << f << " " << unit;
    for (const char* f : {"AbilityCast", "SetBuilding", "GetEffectID"})
        EXPECT_EQ(GameScripts::call(f, unit, ", 0"), "nil") << f << " " << unit;
}

}  // namespace

TEST_F(GameScripts, AllSixtyNineAreRegisteredAndTheMenuAnswersAsForAnInvalidUnit)
{
    EXPECT_STREQ(scriptFunctionName(25), "GetUnitRace");
    EXPECT_STREQ(scriptFunctionName(54), "GetEffectID");
    EXPECT_STREQ(scriptFunctionName(93), "GetMouseHoverUnit");
    int game = 0;
    for (int i = 25; i <= 93; ++i) {
        EXPECT_EQ(eval(std::string("type(") + scriptFunctionName(i) + ")"), "function") << scriptFunctionName(i);
        game += gameFunctionReference().find(std::string("`") + scriptFunctionName(i) + "(") != std::string::npos;
    }
    EXPECT_EQ(game, 69);

    t.unitAt(peasant, 100, 100);
    expectInvalidAnswers(-1);
    expectInvalidAnswers(1);

    // In the menu there is no game: nothing to read, nothing to command.
    CurrentGame = nullptr;
    expectInvalidAnswers(0);
    EXPECT_EQ(eval("GetPlayerID()"), "0");
    for (const char* f : {"GetRes1", "GetRes2", "GetPopCount", "GetNbUnitSelect", "GetNbUnitVisible"})
        EXPECT_EQ(eval(std::string(f) + "()"), "0") << f;
    EXPECT_EQ(eval("GetWarningText()"), "");
    EXPECT_EQ(eval("GetUnitSelectedID(0)"), "-1");
    EXPECT_EQ(eval("GetUnitVisibleID(0)"), "-1");
    EXPECT_EQ(eval("GetMouseHoverUnit()"), "nil");
    EXPECT_EQ(eval("Hold()"), "-1");
    EXPECT_EQ(eval("StopUnit()"), "-1");
    EXPECT_FALSE(t.logHas("Warning:"));
}

TEST_F(GameScripts, ThePlayerTheSelectionAndWhatTheDrawingShowed)
{
    TUnit& worker = t.unitAt(peasant, 100, 100);
    TUnit& spearman = t.unitAt(soldier, 110, 100);
    TUnit& foe = t.unitAt(soldier, 140, 100, 2);
    TUnit& hall = hallAt(120, 120);
    t.game.localPlayerRecord().gold = 2500.5;  // halves go to the even neighbour
    t.game.localPlayerRecord().wood = 7.5;
    EXPECT_EQ(eval("GetPlayerID()"), "1");
    EXPECT_EQ(eval("GetRes1()"), "2500");
    EXPECT_EQ(eval("GetRes2()"), "8");
    EXPECT_EQ(eval("GetPopCount()"), "3");  // the foe is player 2's
    EXPECT_EQ(eval("GetWarningText()"), "");
    ShowWarning(t.game, "Not enough Gold.");
    EXPECT_EQ(eval("GetWarningText()"), "Not enough Gold.");

    EXPECT_EQ(call("ValidUnit", 0), "true");
    EXPECT_EQ(call("ValidUnit", foe.listIndex), "false");

    // The selection, and the edge: GetUnitSelectedID(GetNbUnitSelect()) is -1.
    EXPECT_EQ(eval("GetNbUnitSelect()"), "0");
    EXPECT_EQ(eval("Hold()"), "-1");
    EXPECT_EQ(eval("ChangeSelectedUnit(1)"), "nil");
    EXPECT_EQ(eval("ChangeSelectedUnit(0)"), "nil");
    EXPECT_EQ(eval("GetNbUnitSelect()"), "1");
    EXPECT_EQ(eval("GetUnitSelectedID(0)"), "0");
    EXPECT_FALSE(spearman.selected);
    AddToGroup(t.game, t.game.selection, spearman);
    AddToGroup(t.game, t.game.selection, foe);
    EXPECT_EQ(eval("GetUnitSelectedID(GetNbUnitSelect())"), "-1");
    EXPECT_EQ(eval("GetUnitSelectedID(-1)"), "-1");
    EXPECT_GE(count(InterfaceEvent::UnitChanged), 3);

    // Hold and stop reach the player's own units that walk, never a foe.
    const Torder walk = Torder::ToCell(OrderKind::MoveTo, 200, 200);
    for (TUnit* u : {&worker, &spearman, &foe})
        GiveOrder(t.game, *u, walk);
    EXPECT_EQ(eval("Hold()"), "nil");
    EXPECT_EQ(worker.currentOrder.kind, OrderKind::HoldPosition);
    EXPECT_EQ(spearman.currentOrder.kind, OrderKind::HoldPosition);
    EXPECT_EQ(foe.currentOrder.kind, OrderKind::MoveTo);
    runString("StopUnit()");
    EXPECT_EQ(spearman.currentOrder.kind, OrderKind::Idle);
    EXPECT_EQ(foe.currentOrder.kind, OrderKind::MoveTo);
    runString("ChangeSelectedUnit(" + std::to_string(hall.listIndex) + ") Hold()");
    EXPECT_EQ(hall.currentOrder.kind, OrderKind::Idle);

    // Wound hurts the player's own unit on the host, and only its own.
    EXPECT_EQ(call("Wound", 1, ", 30.5"), "nil");
    EXPECT_EQ(spearman.hp, 70);
    runString("Wound(" + std::to_string(foe.listIndex) + ", 30)");
    EXPECT_EQ(foe.hp, 100);
    runString("Wound(1, -50)");  // no healing by wounds
    EXPECT_EQ(spearman.hp, 70);
    EXPECT_EQ(call("Wound", 99, ", 30"), "-1");

    // The drawing's list of units in view and their places on the screen.
    EXPECT_EQ(eval("GetNbUnitVisible()"), "0");
    t.game.visibleUnits = {2, 0};
    foe.screenX = 640;
    foe.screenY = 380;
    EXPECT_EQ(eval("GetNbUnitVisible()"), "2");
    EXPECT_EQ(eval("GetUnitVisibleID(0)"), "2");
    EXPECT_EQ(eval("GetUnitVisibleID(1)"), "0");
    EXPECT_EQ(eval("GetUnitVisibleID(2)"), "-1");
    EXPECT_EQ(eval("GetInterfacePosX(GetUnitVisibleID(0))"), "640");
    EXPECT_EQ(eval("GetInterfacePosY(GetUnitVisibleID(0))"), "380");

    // The unit under the cursor, as the last pick found it.
    EXPECT_EQ(eval("GetMouseHoverUnit()"), "nil");
    Mouse.hitFlag = 1;
    Mouse.pickedUnits = {3, 1};
    EXPECT_EQ(eval("GetMouseHoverUnit()"), "3");
}

TEST_F(GameScripts, OneUnitsValuesAsThePanelShowsThem)
{
    TUnit& worker = t.unitAt(peasant, 100, 101);
    TUnit& spearman = t.unitAt(soldier, 110, 100);
    TUnit& hall = hallAt(120, 120);
    worker.hp = 42.5;
    worker.mp = 49.5;
    spearman.damage = 14;
    spearman.defense = 5;
    const int w = worker.listIndex, s = spearman.listIndex, h = hall.listIndex;
    EXPECT_EQ(call("GetUnitRace", w), "1");
    EXPECT_EQ(call("GetName", w), "Peasant");
    EXPECT_EQ(call("GetUnitIcon", w), "Icons/Peasant.tga");
    EXPECT_EQ(call("GetHP", w), "42");
    EXPECT_EQ(call("GetMaxHP", w), "100");
    EXPECT_EQ(call("GetMP", w), "50");
    EXPECT_EQ(call("GetMaxMP", w), "100");
    EXPECT_EQ(call("GetDamage", s), "14");
    EXPECT_EQ(call("GetBaseDamage", s), "10");
    EXPECT_EQ(call("GetDefense", s), "5");
    EXPECT_EQ(call("GetBaseDefense", s), "2");
    EXPECT_EQ(call("GetPosX", w), "100");
    EXPECT_EQ(call("GetPosY", w), "101");
    EXPECT_EQ(eval("GetHP(0.5)"), "42");  // indices round, halves to even
    EXPECT_EQ(eval("GetHP('0')"), "42");

    // Orders as display codes; following counts as moving.
    const std::pair<Torder, int> orders[] = {
        {Torder::Idle(), 2},
        {Torder::ToCell(OrderKind::MoveTo, 150, 150), 1},
        {Torder::OnUnit(OrderKind::Follow, &spearman), 1},
        {Torder::OnUnit(OrderKind::Attack, &spearman), 4},
        {Torder::ToCell(OrderKind::HoldPosition, 0, 0), 3},
        {Torder::ToCell(OrderKind::Patrol, 150, 150), 5},
        {Torder::OnUnit(OrderKind::Construct, &hall), 6},
        {Torder::OnUnit(OrderKind::Enter, &hall), 0},
    };
    for (const auto& [order, code] : orders) {
        worker.currentOrder = order;
        EXPECT_EQ(call("GetOrder", w), std::to_string(code)) << int(order.kind);
    }
    worker.currentOrder.kind = OrderKind::Cast;
    EXPECT_EQ(call("GetOrder", w), "7");
    worker.currentOrder.kind = OrderKind::AttackMove;
    EXPECT_EQ(call("GetOrder", w), "4");
    const std::pair<int, int> settings[] = {{0, 3}, {1, 2}, {2, 1}, {7, 0}};
    for (auto [setting, code] : settings) {
        worker.aggressivity = static_cast<std::uint8_t>(setting);
        EXPECT_EQ(call("GetAggressivity", w), std::to_string(code));
    }

    EXPECT_EQ(call("IsBuilding", w), "false");
    EXPECT_EQ(call("IsBuilding", h), "true");
    EXPECT_EQ(call("IsRepairer", w), "true");
    EXPECT_EQ(call("IsRepairer", s), "false");
    EXPECT_EQ(call("IsInConstruction", h), "false");
    EXPECT_EQ(call("GetBuildingPercent", h), "1");
    hall.buildProgress = 0.25;
    EXPECT_EQ(call("IsInConstruction", h), "true");
    EXPECT_EQ(call("GetBuildingPercent", h), "0.25");
    EXPECT_EQ(call("GetAbilityCount", w), "2");
    EXPECT_EQ(call("GetAbilityCount", s), "0");
    EXPECT_EQ(call("GetBuildingsCount", w), "1");
    EXPECT_EQ(call("GetBuildingsCount", h), "1");
    EXPECT_EQ(call("GetUpgradesCount", h), "1");
    EXPECT_EQ(call("GetUpgradesCount", w), "0");

    // A worker inside a building cannot be selected, so it repairs nothing.
    ASSERT_TRUE(EnterBuilding(t.game, worker, hall));
    EXPECT_EQ(call("IsRepairer", w), "false");
    // Nor can the dead.
    TakeDamage(t.game, spearman, 500);
    EXPECT_EQ(call("GetHP", s), "-10");
}

TEST_F(GameScripts, TheBuildQueueAndTheWorkersInsideABuilding)
{
    TUnit& hall = hallAt(120, 120);
    TUnit& worker = t.unitAt(peasant, 100, 100);
    TUnit& other = t.unitAt(peasant, 104, 100);
    TUnit& foreign = hallAt(200, 200, 2);
    const std::string h = std::to_string(hall.listIndex);
    EXPECT_EQ(eval("IsBuildingQueueEmpty(" + h + ")"), "true");
    EXPECT_EQ(call("IsBuildingQueueEmpty", worker.listIndex), "-1");
    EXPECT_EQ(call("GetUnitInQueueIcon", worker.listIndex, ", 1"), "-1");

    // Trains through the script as a player's button would.
    runString("SetBuilding(" + h + ", 0) SetBuilding(" + h + ", 0) SetBuilding(" + h + ", 0)");
    EXPECT_EQ(hall.buildQueue.size(), 3u);
    EXPECT_EQ(count(InterfaceEvent::BuildingQueueChanged), 3);
    EXPECT_EQ(eval("IsBuildingQueueEmpty(" + h + ")"), "false");
    EXPECT_EQ(eval("GetBuildingQueueLength(" + h + ")"), "3");
    EXPECT_EQ(eval("GetUnitInQueueIcon(" + h + ", 3)"), "Icons/Spearman.tga");
    t.frames(50);
    EXPECT_EQ(eval("GetProgressionPercent(" + h + ")"), "0.25");

    // DeleteFromBuildingQueue(b, 2) keeps the progress; (b, 1) restarts it.
    runString("DeleteFromBuildingQueue(" + h + ", 2)");
    EXPECT_EQ(hall.buildQueue.size(), 2u);
    EXPECT_EQ(eval("GetProgressionPercent(" + h + ")"), "0.25");
    runString("DeleteFromBuildingQueue(" + h + ", 1)");
    EXPECT_EQ(hall.buildQueue.size(), 1u);
    EXPECT_EQ(eval("GetProgressionPercent(" + h + ")"), "0");
    EXPECT_EQ(count(InterfaceEvent::BuildingQueueChanged), 5);

    // A position outside the queue is the script's error: logged, nothing changes.
    runString("DeleteFromBuildingQueue(" + h + ", 2)");
    runString("DeleteFromBuildingQueue(" + h + ", 0)");
    EXPECT_EQ(hall.buildQueue.size(), 1u);
    EXPECT_TRUE(t.logHas("Warning: DeleteFromBuildingQueue: position 2 is outside the 1 entries of the build queue"));
    EXPECT_TRUE(t.logHas("position 0 is outside"));

    // Another player's queue is shown but not changed.
    foreign.buildQueue.push_back(&typeAt(soldier));
    const std::string f = std::to_string(foreign.listIndex);
    EXPECT_EQ(eval("GetBuildingQueueLength(" + f + ")"), "1");
    runString("DeleteFromBuildingQueue(" + f + ", 1) SetBuilding(" + f + ", 0)");
    EXPECT_EQ(foreign.buildQueue.size(), 1u);

    // The workers inside: the training list.
    ASSERT_TRUE(EnterBuilding(t.game, worker, hall));
    ASSERT_TRUE(EnterBuilding(t.game, other, hall));
    events.clear();
    EXPECT_EQ(eval("GetTrainingListLength(" + h + ")"), "2");
    EXPECT_EQ(eval("GetUnitInTrainingListIcon(" + h + ", 2)"), "Icons/Peasant.tga");
    runString("DeleteFromTrainingList(" + h + ", 2)");
    EXPECT_EQ(count(InterfaceEvent::TrainingListChanged), 1);
    EXPECT_EQ(other.currentOrder.kind, OrderKind::Leave);
    EXPECT_EQ(other.currentOrder.target, &hall);
    t.frames(2);
    EXPECT_TRUE(other.outside);
    EXPECT_FALSE(worker.outside);
    EXPECT_EQ(eval("GetTrainingListLength(" + h + ")"), "1");
    runString("GetUnitInTrainingListIcon(" + h + ", 2)");
    EXPECT_TRUE(t.logHas("GetUnitInTrainingListIcon: position 2 is outside the 1 units of the training list"));
}

TEST_F(GameScripts, AbilitiesCastAtOnceOrWaitForTheirTarget)
{
    TUnit& worker = t.unitAt(peasant, 100, 100);
    const std::string w = std::to_string(worker.listIndex);
    EXPECT_EQ(eval("GetAbilityName(" + w + ", 0)"), "Rally");
    EXPECT_EQ(eval("GetAbilityIcon(" + w + ", 1)"), "Icons/Bolt.tga");
    EXPECT_EQ(eval("GetAbilityToolTip(" + w + ", 0)"), "Cheers the unit up.");
    EXPECT_EQ(eval("GetAbilityCost(" + w + ", 1)"), "20");
    EXPECT_EQ(eval("GetAbilityShortcut(" + w + ", 0)"), "Y");
    EXPECT_EQ(eval("GetAbilityShortcut(" + w + ", 1)"), "");
    EXPECT_EQ(eval("GetIsAbilityAvailable(" + w + ", 0)"), "true");
    EXPECT_EQ(eval("GetIsAbilityAvailable(" + w + ", 2)"), "false");
    EXPECT_EQ(eval("GetIsAbilityAvailable(" + w + ", -1)"), "false");
    EXPECT_EQ(eval("GetCooldownRemainingTime(" + w + ", 0)"), "0");
    EXPECT_EQ(eval("GetAbilityName(" + w + ", 2)"), "nil");
    EXPECT_TRUE(t.logHas("Warning: GetAbilityName: position 2 is outside the 2 ability slots"));

    // A spell on the unit itself goes at once: mana, cooldown, the effect.
    runString("AbilityCast(" + w + ", 0)");
    EXPECT_EQ(worker.mp, 40);
    EXPECT_EQ(eval("GetIsAbilityAvailable(" + w + ", 0)"), "false");
    EXPECT_EQ(eval("GetCooldownRemainingTime(" + w + ", 0)"), "2");  // 150 ticks
    worker.spells[0].cooldownLeft = 101;
    EXPECT_EQ(eval("GetCooldownRemainingTime(" + w + ", 0)"), "2");
    worker.spells[0].cooldownLeft = 100;
    EXPECT_EQ(eval("GetCooldownRemainingTime(" + w + ", 0)"), "1");
    EXPECT_EQ(eval("GetEffectsCount(" + w + ")"), "1");
    EXPECT_EQ(eval("GetEffectIcon(" + w + ", 1)"), "Icons/Rally.tga");
    EXPECT_EQ(worker.damage, 15);

    // A spell on a target waits for the player's click; asked again, it is put away.
    runString("AbilityCast(" + w + ", 1)");
    ASSERT_TRUE(Mouse.pendingCommand);
    EXPECT_EQ(Mouse.pendingCommand->kind, 8);
    EXPECT_EQ(Mouse.pendingCommand->abilityIndex, 1);
    EXPECT_EQ(cursorState(), CursorTargeting);
    EXPECT_EQ(t.game.aim.actor, &worker);
    runString("AbilityCast(" + w + ", 1)");
    EXPECT_FALSE(Mouse.pendingCommand);
    EXPECT_EQ(cursorState(), CursorPointer);
    EXPECT_EQ(t.game.aim.actor, nullptr);
    // Another mode chosen by the interface takes the aim's place.
    runString("AbilityCast(" + w + ", 1) SetMode(0)");
    EXPECT_FALSE(Mouse.pendingCommand);
    EXPECT_EQ(t.game.aim.actor, nullptr);
    // The aim goes when the unit that would cast it dies.
    runString("AbilityCast(" + w + ", 1)");
    EXPECT_EQ(t.game.aim.actor, &worker);
    TakeDamage(t.game, worker, 1000);
    EXPECT_EQ(t.game.aim.actor, nullptr);

    // Another player's spells are shown, never cast.
    TUnit& enemyCaster = CreateUnit(t.game, typeAt(peasant), 1700, 1600, 2, t.game.nextUnitId++);
    runString("AbilityCast(" + std::to_string(enemyCaster.listIndex) + ", 0)");
    EXPECT_EQ(enemyCaster.mp, 50);
    EXPECT_EQ(eval("GetAbilityName(" + std::to_string(enemyCaster.listIndex) + ", 1)"), "Bolt");
}

TEST_F(GameScripts, EffectsCountOnlyTheLiveOnesAndGetEffectIDReadsThePositionAsked)
{
    TUnit& spearman = t.unitAt(soldier, 110, 100);
    const std::string s = std::to_string(spearman.listIndex);
    TEffectRecord expired;
    expired.ability = bolt;
    expired.remaining = 0;  // waits in the list for the expiry step
    TEffectRecord lasting;
    lasting.ability = rally;
    lasting.remaining = 50;
    TEffectRecord forever;
    forever.ability = bolt;
    forever.remaining = -1;
    spearman.effects = {expired, lasting, forever};

    EXPECT_EQ(eval("GetEffectsCount(" + s + ")"), "2");
    EXPECT_EQ(eval("GetEffectIcon(" + s + ", 1)"), "Icons/Rally.tga");
    EXPECT_EQ(eval("GetEffectIcon(" + s + ", 2)"), "Icons/Bolt.tga");
    EXPECT_EQ(eval("GetEffectIcon(" + s + ", 3)"), "-1");
    EXPECT_EQ(eval("GetEffectIcon(" + s + ", 0)"), "-1");
    // Position k from 0 is the effect GetEffectIcon shows at k + 1, not the list's first.
    EXPECT_EQ(eval("GetEffectID(" + s + ", 0)"), std::to_string(rally->id));
    EXPECT_EQ(eval("GetEffectID(" + s + ", 1)"), std::to_string(bolt->id));
    EXPECT_EQ(eval("GetEffectID(" + s + ", 2)"), "-1");
    EXPECT_EQ(eval("GetEffectID(" + s + ", -1)"), "-1");
}

TEST_F(GameScripts, TheBuildListPlacementAndUpgrades)
{
    TUnit& worker = t.unitAt(peasant, 100, 100);
    TUnit& hall = hallAt(120, 120);
    TUnit& spearman = t.unitAt(soldier, 110, 100);
    TUnit& foeSpearman = t.unitAt(soldier, 150, 100, 2);
    const std::string w = std::to_string(worker.listIndex), h = std::to_string(hall.listIndex);
    EXPECT_EQ(eval("GetBuildingName(" + w + ", 0)"), "Farm");
    EXPECT_EQ(eval("GetBuildingIcon(" + w + ", 0)"), "Icons/Farm.tga");
    EXPECT_EQ(eval("GetBuildingToolTip(" + w + ", 0)"), "Feeds the army.");
    EXPECT_EQ(eval("GetBuildingRes1Cost(" + w + ", 0)"), "300");
    EXPECT_EQ(eval("GetBuildingRes2Cost(" + w + ", 0)"), "20");
    EXPECT_EQ(eval("GetBuildingName(" + h + ", 0)"), "Spearman");
    EXPECT_EQ(eval("GetBuildingName(" + w + ", 1)"), "nil");
    EXPECT_TRUE(t.logHas("GetBuildingName: position 1 is outside the 1 entries of the build list"));

    // A worker starts placing, when the gold is there.
    t.game.localPlayerRecord().gold = 299;
    runString("SetBuilding(" + w + ", 0)");
    EXPECT_FALSE(Mouse.pendingCommand);
    EXPECT_EQ(t.game.warning.text, "Not enough Gold.");
    t.game.localPlayerRecord().gold = 300;
    runString("SetBuilding(" + w + ", 0)");
    ASSERT_TRUE(Mouse.pendingCommand);
    EXPECT_EQ(Mouse.pendingCommand->kind, 7);
    EXPECT_EQ(Mouse.pendingCommand->building, &typeAt(farm));
    EXPECT_EQ(t.game.aim.actor, &worker);
    EXPECT_EQ(cursorState(), CursorTargeting);

    // Upgrades: shown, researched once, and the panel's damage changes.
    t.game.localPlayerRecord().gold = 1000;
    EXPECT_EQ(eval("GetUpgradeName(" + h + ", 0)"), "Sharp Spears");
    EXPECT_EQ(eval("GetUpgradeIcon(" + h + ", 0)"), "Icons/Sharp.tga");
    EXPECT_EQ(eval("GetUpgradeToolTip(" + h + ", 0)"), "Spearmen hit harder.");
    EXPECT_EQ(eval("IsUpgradeAvailable(" + h + ", 0)"), "true");
    runString("LaunchUpgrade(" + h + ", 0)");
    EXPECT_EQ(eval("IsUpgradeAvailable(" + h + ", 0)"), "false");
    EXPECT_EQ(eval("GetDamage(" + std::to_string(spearman.listIndex) + ")"), "14");
    EXPECT_EQ(eval("GetDamage(" + std::to_string(foeSpearman.listIndex) + ")"), "10");
    EXPECT_EQ(t.game.localPlayerRecord().gold, 950);
    runString("LaunchUpgrade(" + h + ", 0)");
    EXPECT_EQ(t.game.localPlayerRecord().gold, 950);
    EXPECT_EQ(eval("GetUpgradeName(" + h + ", 1)"), "nil");
    EXPECT_TRUE(t.logHas("GetUpgradeName: position 1 is outside the 1 entries of the upgrade list"));
}

TEST_F(GameScripts, OnAJoinerTheCommandsGoToTheHost)
{
    t.game.hosting = false;
    t.game.link = &link;
    TUnit& worker = t.unitAt(peasant, 100, 100);
    TUnit& hall = hallAt(120, 120);
    TUnit& inside = t.unitAt(peasant, 104, 100);
    ASSERT_TRUE(EnterBuilding(t.game, inside, hall));
    const std::string w = std::to_string(worker.listIndex), h = std::to_string(hall.listIndex);
    runString("ChangeSelectedUnit(" + w + ") Hold() StopUnit()");
    ASSERT_EQ(link.orders.size(), 2u);
    EXPECT_EQ(link.orders[0].kind, OrderKind::HoldPosition);
    EXPECT_EQ(link.orders[1].kind, OrderKind::Idle);
    runString("AbilityCast(" + w + ", 0)");
    EXPECT_EQ(link.casts, std::vector<std::int32_t>{worker.unitNumber});
    EXPECT_EQ(worker.mp, 50);  // the host pays when it casts
    runString("Wound(" + w + ", 10)");
    EXPECT_EQ(link.damaged, std::vector<std::int32_t>{worker.unitNumber});
    EXPECT_EQ(worker.hp, 100);
    runString("LaunchUpgrade(" + h + ", 0)");
    EXPECT_EQ(link.researched, std::vector<const TUpgrade*>{sharp});
    runString("DeleteFromTrainingList(" + h + ", 1)");
    ASSERT_EQ(link.orders.size(), 3u);
    EXPECT_EQ(link.orders[2].kind, OrderKind::Leave);
    // Training waits in the owner's own queue until the trainee is ready.
    runString("SetBuilding(" + h + ", 0)");
    EXPECT_EQ(hall.buildQueue.size(), 1u);
}

TEST_F(GameScripts, NumbersBeyondInt32AreTheScriptsErrorAndTheGameGoesOn)
{
    t.unitAt(peasant, 100, 100);
    EXPECT_EQ(eval("GetHP(1e300)"), "nil");
    EXPECT_TRUE(t.logHas("Warning: GetHP: argument 1 is not a 32-bit integer"));
    EXPECT_EQ(eval("GetHP(0/0)"), "nil");
    EXPECT_EQ(eval("GetUnitSelectedID(-2^31 - 1)"), "nil");
    EXPECT_EQ(eval("GetEffectIcon(0, -2^31)"), "-1");
    EXPECT_EQ(eval("GetHP(2^31 - 1)"), "-1");
    // Wrong types read as 0, extra arguments are ignored.
    EXPECT_EQ(eval("GetHP(nil)"), "100");
    EXPECT_EQ(eval("GetHP({}, 'x', 3)"), "100");
    runString("Hold(1, 2, 3) Wound() SetBuilding() AbilityCast('a', 'b')");
    EXPECT_EQ(eval("GetHP(0)"), "100");
}

TEST(GameScriptReference, ReadmeListsTheGameFunctionsAsTheRegistrationTableDoes)
{
    std::ifstream file(std::string(VRAX_SOURCE_DIR) + "/README.md");
    std::stringstream text;
    text << file.rdbuf();
    const std::string readme = text.str();
    const std::string begin = "<!-- game functions: written by vrax-scriptdoc -->\n";
    const std::string end = "<!-- end of the game functions -->";
    const std::size_t from = readme.find(begin), to = readme.find(end);
    ASSERT_NE(from, std::string::npos) << "README has lost its game function markers";
    ASSERT_NE(to, std::string::npos);
    EXPECT_EQ(readme.substr(from + begin.size(), to - from - begin.size()), gameFunctionReference())
        << "run build/tools/vrax-scriptdoc README.md to bring README up to date";
}
