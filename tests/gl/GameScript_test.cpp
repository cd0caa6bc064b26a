// The shipped game screen's scripts, loaded from build/game/ in an
// offscreen GL context: the console keeps the last lines, the chat field
// takes the keyboard on Enter, types, rubs out, pastes and sends, and the
// clock reads h:mm:ss.
#include "interface/FFrameWalk.h"
#include "interface/FXMLLoader.h"
#include "platform/KeyState.h"
#include "script/FLua.h"
#include "shell/FFPS.h"

#include "../support/ShippedInterface.h"
#include "../support/TestSupport.h"

using namespace testing_support;

namespace {

class GameScript : public ShippedInterface {
protected:
    void SetUp() override
    {
        OffscreenContext::SetUp();
        loadShipped("Interface/Game/Interface.xml");
        runString("Sent = '' function SendChatMessage(text) Sent = Sent .. text .. ';' end");
    }
    static void type(const std::string& text)
    {
        for (unsigned char c : text)
            keyPressed(c);
    }
    std::string logText() { return readFile("Logs/log.txt"); }
};

}  // namespace

TEST_F(GameScript, TheConsoleKeepsTheLastEightLinesEachCutToItsWidth)
{
    // Without a network the banner falls back on a name, and the first line welcomes.
    EXPECT_EQ(eval("GetText('PlayerName')"), "Commander");
    EXPECT_NE(eval("GetText('ConsoleLine1')").find("The battle has begun."), std::string::npos);
    for (int i = 1; i <= 9; ++i)
        runString("AddLine('line " + std::to_string(i) + "')");
    EXPECT_EQ(eval("GetText('ConsoleLine1')"), "line 2");
    EXPECT_EQ(eval("GetText('ConsoleLine8')"), "line 9");
    runString("AddLine(string.rep('wide ', 400) .. '\\r\\nend') AddLine() AddLine({})");
    EXPECT_EQ(eval("GetText('ConsoleLine6').sub(GetText('ConsoleLine6'), 1, 5)"), "wide ");
    EXPECT_LE(std::stoi(eval("GetStringWidth(GetText('ConsoleLine6'), GetFont('ConsoleLine6'))")), 840);
    EXPECT_EQ(eval("GetText('ConsoleLine7')"), "");
    EXPECT_EQ(logText().find("Warning"), std::string::npos) << logText();
}

TEST_F(GameScript, TheChatFieldTypesRubsOutPastesAndSendsOnEnter)
{
    // Letters are the command card's until Enter gives the chat field the keyboard.
    type("x");
    EXPECT_EQ(eval("FocusedField"), "nil");
    EXPECT_EQ(eval("GetText('ChatFieldText')"), "");
    keyPressed(13);
    EXPECT_EQ(eval("FocusedField"), "ChatField");
    type("hellp\x08o");
    EXPECT_EQ(eval("GetText('ChatFieldText')"), "hello");
    keyPressed(9);  // Tab: the only field keeps the keyboard
    EXPECT_EQ(eval("FocusedField"), "ChatField");
    runString("GetClipBoard = function() return ' world\\r\\n' end");
    keyDown(86);  // V without Control types nothing by itself
    EXPECT_EQ(eval("GetText('ChatFieldText')"), "hello");
    platform::setKeyDown(platform::vk::Control, true);
    keyDown(86);
    platform::releaseAllKeys();
    EXPECT_EQ(eval("GetText('ChatFieldText')"), "hello world");
    keyPressed(13);
    EXPECT_EQ(eval("Sent"), "hello world;");
    EXPECT_EQ(eval("GetText('ChatFieldText')"), "");
    EXPECT_EQ(eval("FocusedField"), "nil");  // sending gives the keyboard back
    keyPressed(13);
    keyPressed(13);  // nothing to send
    EXPECT_EQ(eval("Sent"), "hello world;");

    // Without the network the line shows here only, under the player's name.
    runString("SendChatMessage = nil SetText('PlayerName', 'Aldric')");
    type("\ralone\r");
    EXPECT_EQ(eval("GetText('ConsoleLine2')"), "Aldric: alone");
    EXPECT_EQ(logText().find("Warning"), std::string::npos) << logText();
}

TEST_F(GameScript, TheClockReadsHoursMinutesAndSeconds)
{
    FrameClock.totalTime = (1 * 3600 + 2 * 60 + 3) * 1000 + 999;
    walkFrame(0, TFramePainter());
    EXPECT_EQ(eval("GetText('ClockText')"), "1:02:03");
    EXPECT_NE(eval("GetText('FpsText')").find(" FPS"), std::string::npos);
}

namespace {

// The game as the game screen reads it, stood in for by Lua fakes over a
// table of units that record what the screen asks of them: a Serf, a hurt
// Warden under Battle Cry with a spell cooling down, a Barracks with a
// queue, a Mine Shaft with a worker inside, and an enemy Raider.
const char* const FakeGame = R"(
  Calls = ""
  function Record(text) Calls = Calls .. text .. ";" end
  local function icon(name) return "Textures\\Icons\\" .. string.gsub(name, " ", "") .. ".blp" end
  local function spell(name, key, cost, wait) return { name = name, key = key, cost = cost, wait = wait } end
  Units = {
    [0] = { name = "Serf", hp = 200, maxhp = 220, dmg = 5, def = 0, mine = true, order = 2,
            builds = { { "Keep", 450, 0 }, { "Barracks", 200, 0 }, { "Mine Shaft", 150, 0 }, { "Forge", 180, 0 },
                       { "Chapel", 900, 1 } } },
    [1] = { name = "Warden", hp = 350, maxhp = 700, mp = 120, maxmp = 300, dmg = 20, basedmg = 16, def = 2,
            basedef = 3, mine = true, order = 4, effects = { "Textures\\Icons\\Abilities\\BattleCry.blp" },
            spells = { spell("Heal", "H", 40, 0), spell("Fire Rain", "G", 150, 0), spell("Battle Cry", "C", 20, 3),
                       spell("Healing Aura", "-", 0, 0) } },
    [2] = { name = "Barracks", hp = 1000, maxhp = 1000, building = true, mine = true, progress = 0.4,
            queue = { "Spearman", "Bowman", "Spearman" }, builds = { { "Spearman", 120, 0 }, { "Bowman", 140, 0 } } },
    [3] = { name = "Raider", hp = 40, maxhp = 400, dmg = 14, mine = false, order = 1 },
    [4] = { name = "Mine Shaft", hp = 900, maxhp = 900, building = true, mine = true, inside = { "Serf" } },
    [5] = { name = "Forge", hp = 800, maxhp = 800, building = true, mine = true, researched = {},
            upgrades = { "Tempered Spears", "Fletching", "Banded Mail" } },
  }
  Selected = { 0 }
  Visible = { { 0, 800, 500 }, { 3, 900, 520 }, { 2, 700, 1000 } }  -- unit, interface x, y
  Gold, Warning = 400, ""
  local function u(i) return Units[i] or {} end
  local function list(field) return function(i) return table.getn(u(i)[field] or {}) end end
  function GetNbUnitSelect() return table.getn(Selected) end
  function GetUnitSelectedID(k) return Selected[k + 1] or -1 end
  function ChangeSelectedUnit(i) Selected = { i } Record("select " .. i) end
  function ValidUnit(i) return u(i).mine == true end
  function GetName(i) return u(i).name or "" end
  function GetUnitIcon(i) return icon(u(i).name or "") end
  function GetUnitRace(i) return Units[i] and 0 or -1 end
  function IsBuilding(i) return u(i).building == true end
  function IsInConstruction(i) return false end
  function GetOrder(i) return u(i).order or 2 end
  function GetHP(i) return u(i).hp or -1 end
  function GetMaxHP(i) return u(i).maxhp or -1 end
  function GetMP(i) return u(i).mp or 0 end
  function GetMaxMP(i) return u(i).maxmp or 0 end
  function GetDamage(i) return u(i).dmg or 0 end
  function GetBaseDamage(i) return u(i).basedmg or u(i).dmg or 0 end
  function GetDefense(i) return u(i).def or 0 end
  function GetBaseDefense(i) return u(i).basedef or u(i).def or 0 end
  GetEffectsCount = list("effects")
  function GetEffectIcon(i, k) return (u(i).effects or {})[k] or -1 end
  GetAbilityCount = list("spells")
  function GetAbilityName(i, k) return u(i).spells[k + 1].name end
  function GetAbilityIcon(i, k) return icon("Abilities\\" .. u(i).spells[k + 1].name) end
  function GetAbilityToolTip(i, k) return "What " .. u(i).spells[k + 1].name .. " does." end
  function GetAbilityShortcut(i, k) return u(i).spells[k + 1].key end
  function GetAbilityCost(i, k) return u(i).spells[k + 1].cost end
  function GetCooldownRemainingTime(i, k) return u(i).spells[k + 1].wait end
  function AbilityCast(i, k) Record("cast " .. i .. " " .. k) end
  GetBuildingsCount = list("builds")
  function GetBuildingName(i, k) return u(i).builds[k + 1][1] end
  function GetBuildingIcon(i, k) return icon(u(i).builds[k + 1][1]) end
  function GetBuildingToolTip(i, k) return "A " .. u(i).builds[k + 1][1] .. "." end
  function GetBuildingRes1Cost(i, k) return u(i).builds[k + 1][2] end
  function GetBuildingRes2Cost(i, k) return u(i).builds[k + 1][3] end
  function SetBuilding(i, k) Record("build " .. i .. " " .. k) end
  GetUpgradesCount = list("upgrades")
  function GetUpgradeName(i, k) return u(i).upgrades[k + 1] end
  function GetUpgradeIcon(i, k) return icon("Upgrades\\" .. u(i).upgrades[k + 1]) end
  function GetUpgradeToolTip(i, k) return "Better." end
  function IsUpgradeAvailable(i, k) return not u(i).researched[k + 1] end
  function LaunchUpgrade(i, k) u(i).researched[k + 1] = true Record("research " .. i .. " " .. k) end
  function GetBuildingQueueLength(i) if not u(i).building then return -1 end return table.getn(u(i).queue or {}) end
  GetTrainingListLength = list("inside")
  function GetProgressionPercent(i) return u(i).progress or 0 end
  function GetBuildingPercent(i) return 1 end
  function GetUnitInQueueIcon(i, k) return icon(u(i).queue[k]) end
  function GetUnitInTrainingListIcon(i, k) return icon(u(i).inside[k]) end
  function DeleteFromBuildingQueue(i, k) table.remove(u(i).queue, k) Record("cancel " .. i .. " " .. k) end
  function DeleteFromTrainingList(i, k) Record("out " .. i .. " " .. k) end
  function StopUnit() Record("stop") end
  function Hold() Record("hold") end
  function GetRes1() return Gold end
  function GetRes2() return 3.4 end
  function GetPopCount() return 6 end
  function GetWarningText() return Warning end
  function GetNbUnitVisible() return table.getn(Visible) end
  function GetUnitVisibleID(k) return Visible[k + 1] and Visible[k + 1][1] or -1 end
  function GetInterfacePosX(i) for _, v in ipairs(Visible) do if v[1] == i then return v[2] end end return -1 end
  function GetInterfacePosY(i) for _, v in ipairs(Visible) do if v[1] == i then return v[3] end end return -1 end
  GameFunctions = true
)";

class GameScreen : public GameScript {
protected:
    void SetUp() override
    {
        GameScript::SetUp();
        runString(FakeGame);
        draw();
    }
    // One drawn frame of the interface, after enough time for a refresh.
    static void draw()
    {
        FrameClock.elapsed = 100;
        walkFrame(0, TFramePainter());
    }
    static void select(const std::string& units)
    {
        runString("Selected = {" + units + "}");
        broadcastEvent(1);
        draw();
    }
    static std::string button(int i, const std::string& part) { return eval("GetText('CommandButton" + std::to_string(i) + part + "')"); }
    static bool shown(const std::string& name) { return eval("IsVisible('" + name + "')") == "true"; }
    static std::string calls()
    {
        const std::string c = eval("Calls");
        runString("Calls = ''");
        return c;
    }
};

}  // namespace

TEST_F(GameScreen, TheCommandCardOffersWhatTheFirstSelectedUnitDoesWithKeysNoEngineKeyShadows)
{
    // The Serf builds five buildings, keyed by the first free letter of their names.
    EXPECT_EQ(eval("GetText('UnitName')"), "Serf");
    EXPECT_EQ(eval("GetText('GoldText') .. '/' .. GetText('WoodText') .. '/' .. GetText('UnitsText')"), "400/3.4/6");
    EXPECT_EQ(button(1, "Text") + button(2, "Text") + button(3, "Text") + button(4, "Text") + button(5, "Text"), "EIMOL");
    EXPECT_EQ(button(2, "Note"), "200");
    EXPECT_TRUE(shown("CommandButton1Shade"));  // the Keep costs more gold than there is
    EXPECT_FALSE(shown("CommandButton2Shade"));
    EXPECT_FALSE(shown("CommandButton6"));
    EXPECT_EQ(button(14, "Text") + button(15, "Text"), "ST");
    EXPECT_EQ(eval("GetPath('CommandButton14Icon')"), "Textures\\Icons\\Commands\\Stop.blp");

    // A click and a key: each acts once; the engine's own letters do nothing here.
    runString("ButtonClicked('CommandButton2') ButtonClicked('CommandButton15')");
    keyDown('M');
    keyDown('S');
    keyDown('A');
    EXPECT_EQ(calls(), "build 0 1;hold;build 0 2;");
    // While the chat field has the keyboard, letters are text.
    keyPressed(13);
    keyDown('M');
    keyPressed('m');
    EXPECT_EQ(calls(), "");
    EXPECT_EQ(eval("GetText('ChatFieldText')"), "m");

    // The tooltip tells the cost and the key.
    runString("ButtonEnter('CommandButton5')");
    EXPECT_TRUE(shown("Tooltip"));
    EXPECT_EQ(eval("GetText('TooltipTitle')"), "Builds Chapel");
    EXPECT_EQ(eval("GetText('TooltipCost')"), "900 gold, 1 wood");
    EXPECT_EQ(eval("GetText('TooltipLine4')"), "Key L");
    runString("ButtonLeave('CommandButton5')");
    EXPECT_FALSE(shown("Tooltip"));

    // The Warden: statistics with bonuses, the effect on him, spells with
    // the engine's shortcuts, one cooling down, the aura passive.
    select("1");
    EXPECT_EQ(eval("GetText('DamageValue') .. ' ' .. GetText('DamageBonus')"), "20 (+4)");
    EXPECT_EQ(eval("GetText('DefenseValue') .. ' ' .. GetText('DefenseBonus')"), "2 (-1)");
    EXPECT_EQ(eval("GetText('UnitHPText') .. ', ' .. GetText('UnitMPText')"), "350 / 700, 120 / 300");
    EXPECT_EQ(eval("GetText('UnitStatus')"), "Attacking");
    EXPECT_TRUE(shown("Effect1"));
    EXPECT_EQ(eval("GetPath('Effect1Icon')"), "Textures\\Icons\\Abilities\\BattleCry.blp");
    EXPECT_FALSE(shown("Effect2"));
    EXPECT_EQ(button(1, "Text") + button(2, "Text") + button(3, "Text") + button(4, "Text"), "HGC");
    EXPECT_EQ(button(3, "Count"), "3");
    EXPECT_TRUE(shown("CommandButton2Shade"));  // 150 mana is more than he has
    EXPECT_TRUE(shown("CommandButton3Shade"));
    EXPECT_FALSE(shown("CommandButton1Shade"));
    runString("ButtonClicked('CommandButton1') ButtonClicked('CommandButton4')");
    keyDown('H');  // the engine's
    EXPECT_EQ(calls(), "cast 1 0;");
    // As the wait runs down, less of the icon is shaded.
    runString("Units[1].spells[3].wait = 1");
    draw();
    EXPECT_LT(std::stoi(eval("GetHeight('CommandButton3Shade')")), 30);

    // An enemy shows its panel and no commands.
    select("3");
    EXPECT_EQ(eval("GetText('UnitName')"), "Raider");
    EXPECT_FALSE(shown("CommandButton14"));
    EXPECT_EQ(logText().find("Warning"), std::string::npos) << logText();
}

TEST_F(GameScreen, BuildingsShowTheirQueueWorkersInsideAndUpgradesAndAGroupShowsPortraits)
{
    select("2");
    EXPECT_EQ(button(1, "Text") + button(2, "Text"), "EO");  // Spearman, Bowman
    EXPECT_FALSE(shown("CommandButton14"));                     // no Stop for a building
    EXPECT_TRUE(shown("QueueSlot3"));
    EXPECT_FALSE(shown("QueueSlot4"));
    EXPECT_EQ(eval("GetPath('QueueSlot2Icon')"), "Textures\\Icons\\Bowman.blp");
    EXPECT_NE(eval("GetText('WorkText')").find("40%"), std::string::npos);
    EXPECT_EQ(eval("GetWidth('WorkBarFill')"), "83");
    keyDown('O');
    runString("ButtonClicked('QueueSlot2')");
    draw();
    EXPECT_EQ(calls(), "build 2 1;cancel 2 2;");
    EXPECT_FALSE(shown("QueueSlot3"));
    EXPECT_EQ(eval("GetPath('QueueSlot2Icon')"), "Textures\\Icons\\Spearman.blp");

    select("4");
    EXPECT_TRUE(shown("InsideSlot1"));
    EXPECT_FALSE(shown("QueueSlot1"));
    runString("ButtonClicked('InsideSlot1')");
    EXPECT_EQ(calls(), "out 4 1;");

    // Researched upgrades leave the card.
    select("5");
    EXPECT_EQ(button(1, "Text") + button(2, "Text") + button(3, "Text"), "ELM");
    keyDown('E');
    draw();
    EXPECT_EQ(calls(), "research 5 0;");
    EXPECT_EQ(eval("GetPath('CommandButton1Icon')"), "Textures\\Icons\\Upgrades\\Fletching.blp");
    EXPECT_FALSE(shown("CommandButton3"));

    // A group: portraits instead of statistics; a click selects one alone.
    select("0, 1, 3");
    EXPECT_FALSE(shown("UnitStats"));
    EXPECT_TRUE(shown("GroupSlot3"));
    EXPECT_FALSE(shown("GroupSlot4"));
    EXPECT_EQ(eval("GetWidth('GroupSlot3HP')"), "5");  // 40 of 400
    runString("ButtonClicked('GroupSlot2')");
    draw();
    EXPECT_EQ(calls(), "select 1;");
    EXPECT_EQ(eval("GetText('UnitName')"), "Warden");
    EXPECT_TRUE(shown("UnitStats"));

    // Nothing selected: no panel, no card.
    select("");
    EXPECT_FALSE(shown("UnitPanel"));
    EXPECT_FALSE(shown("CommandButton1"));
    EXPECT_EQ(logText().find("Warning"), std::string::npos) << logText();
}

TEST_F(GameScreen, TheWarningShowsUntilClearedAndUnitsInViewWearHealthBars)
{
    runString("Warning = 'Not enough Gold.'");
    broadcastEvent(9);
    EXPECT_EQ(eval("GetText('WarningText')"), "Not enough Gold.");
    runString("Warning = ''");
    broadcastEvent(9);
    EXPECT_EQ(eval("GetText('WarningText')"), "");

    // Two units in view above the panels get a bar; the one under the bottom panel none.
    EXPECT_TRUE(shown("HealthBar1"));
    EXPECT_TRUE(shown("HealthBar2"));
    EXPECT_FALSE(shown("HealthBar3"));
    EXPECT_EQ(eval("GetX('HealthBar1') .. ',' .. GetY('HealthBar1')"), "778,500");
    EXPECT_EQ(eval("GetWidth('HealthBar2Fill')"), "4");  // the Raider's 40 of 400
    runString("Visible = {}");
    draw();
    EXPECT_FALSE(shown("HealthBar1"));
}
