// Any Lua text run in a live interface state where every script function is
// registered, so the functions meet every argument a script can pass: wrong
// types, missing and extra arguments, unknown frame names, huge numbers. The
// game functions find a small game of a few units (a worker with spells, a
// barracks with a queue and a worker inside, a spearman under an effect,
// another player's spearman), whose interface events reach the frames as in
// the game, and a tick of the rules follows the script. The network runs on
// a stand-in endpoint that swallows what is sent, so no fuzzed script can
// send a datagram, and Quit only counts.
#include "game/FGame.h"
#include "game/FProduction.h"
#include "game/FUnitLoad.h"
#include "interface/FCursor.h"
#include "interface/FFonts.h"
#include "interface/FFrameWalk.h"
#include "interface/FXMLLoader.h"
#include "net/FNetwork.h"
#include "script/FLua.h"
#include "script/FLuaFunctions.h"
#include "shell/FConfig.h"
#include "shell/FLogs.h"

#include "../support/TestFont.h"
#include "FuzzLog.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

// One of each kind of element, with handlers, so the functions have real targets.
const char* const Interface = R"(<Ui>
  <Frame name="Panel" width="400" height="300" EnableKeyboard="true">
    <Anchor x="10" y="20"/>
    <Texture name="$parentBack" path="Textures\Shared\Blank.blp" width="10" height="10"/>
    <FontString name="$parentText" font="Thorndale14" text="Hello"/>
    <OnLoad>Loaded = (Loaded or 0) + 1</OnLoad>
    <OnEvent>LastEvent = event</OnEvent>
    <OnKeyDown>LastKey = arg1</OnKeyDown>
    <OnUpdate>Updates = (Updates or 0) + 1</OnUpdate>
  </Frame>
  <Frame name="Hidden" hidden="true"/>
</Ui>)";

// Hears nothing; whatever the lobby sends is dropped on the floor.
class SilentEndpoint : public TNetwork {
public:
    long receive(std::uint8_t*, std::string&) override { return -1; }
    void sendTo(const std::string&, const void*, std::size_t) override {}
    void broadcast(const void*, std::size_t) override {}
    void close() override { open_ = false; }
    bool open() const override { return open_; }
    std::uint16_t port() const override { return NetPort; }

private:
    bool open_ = true;
};

// The definitions the small game is made of, loaded once: they never change.
void defineUnits()
{
    ResetDefinitions();
    TAbility rally;
    rally.name = "Rally";
    rally.target = AbilityTarget::NoUnit;
    rally.duration = 300;
    rally.cooldown = 150;
    rally.cost = 10;
    rally.instantEffect.attack = 5;
    rally.id = 1;
    Abilities.push_back(rally);
    TAbility bolt;
    bolt.name = "Bolt";
    bolt.target = AbilityTarget::Enemy;
    bolt.range = 20;
    bolt.instantEffect.damage = 30;
    bolt.id = 2;
    Abilities.push_back(bolt);
    TUpgrade sharp;
    sharp.name = "Sharp";
    sharp.id = 1;
    sharp.targetsId = 1;
    sharp.effects.attack = 2;
    Upgrades.push_back(sharp);

    TUnitAttributes spearman;
    spearman.name = "Spearman";
    spearman.id = 1;
    spearman.damage = 10;
    spearman.speed = 10;
    spearman.atkSpeed = 10;
    spearman.buildingTime = 50;
    spearman.res1Cost = 100;
    UnitTypes.push_back(spearman);
    TUnitAttributes farm;
    farm.name = "Farm";
    farm.id = 2;
    farm.isBuilding = true;
    farm.size = 6;
    farm.res1Cost = 300;
    UnitTypes.push_back(farm);
    TUnitAttributes peasant = spearman;
    peasant.name = "Peasant";
    peasant.id = 3;
    peasant.mp = 100;
    peasant.repairer = true;
    peasant.training = 0.5;
    peasant.buildings = {&UnitTypes[1]};
    peasant.spells = {TUnitSpell{false, &Abilities[0]}, TUnitSpell{false, &Abilities[1]}};
    UnitTypes.push_back(peasant);
    TUnitAttributes barracks = farm;
    barracks.name = "Barracks";
    barracks.id = 4;
    barracks.size = 8;
    barracks.training = -1.0;
    barracks.buildings = {&UnitTypes[0]};
    barracks.upgrades = {&Upgrades[0]};
    UnitTypes.push_back(barracks);
}

// A fresh small game for every input, so what one script did cannot hide the next one's effect.
TGame& startGame()
{
    static TGame game;
    InitGame(game, 1, true);
    game.hooks.raiseEvent = [](InterfaceEvent event, int) {
        if (InterfaceReady)
            broadcastEvent(event);
    };
    TUnit& worker = CreateUnit(game, UnitTypes[2], 1600, 1600, 1, game.nextUnitId++);
    TUnit& hall = CreateUnit(game, UnitTypes[3], 1920, 1920, 1, game.nextUnitId++);
    hall.underConstruction = false;
    hall.buildProgress = 1.0;
    TUnit& inside = CreateUnit(game, UnitTypes[2], 1700, 1600, 1, game.nextUnitId++);
    EnterBuilding(game, inside, hall);
    QueueTraining(game, hall, UnitTypes[0]);
    TUnit& spearman = CreateUnit(game, UnitTypes[0], 1600, 1700, 1, game.nextUnitId++);
    TEffectRecord expired;
    expired.ability = &Abilities[1];
    TEffectRecord lasting;
    lasting.ability = &Abilities[0];
    lasting.remaining = 100;
    spearman.effects = {expired, lasting};
    CreateUnit(game, UnitTypes[0], 1800, 1700, 2, game.nextUnitId++);
    AddToGroup(game, game.selection, worker);
    game.visibleUnits = {0, 1, 3, 4};
    CurrentGame = &game;
    return game;
}

bool setUp()
{
    std::filesystem::create_directories("Fonts");
    std::ofstream("Fonts/Thorndale14.glf", std::ios::binary) << testing_support::testFontBytes();
    std::ofstream("fuzz-interface.xml") << Interface;
    setScriptInstructionLimit(200000);
    initFonts();
    startLog();
    SystemHooks.quit = [] {};
    SystemHooks.clipboardText = [] { return std::string("pasted"); };
    defineUnits();
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool ready = setUp();
    (void)ready;
    fuzzing::keepLogSmall();
    // A fresh lobby and interface for every input, so what one script hid or resized
    // cannot hide the next input's effect. Fonts stay cached: scripts only read them.
    networkStart(TConfig(std::string("Vrax.cfg")), std::make_unique<SilentEndpoint>());
    try {
        loadInterface("fuzz-interface.xml");
    } catch (const EngineError&) {
        __builtin_trap();  // our own interface always loads
    }
    if (!InterfaceReady)
        __builtin_trap();
    TGame& game = startGame();
    runString(std::string(reinterpret_cast<const char*>(data), size));
    UpdateGame(game, 10, 10);
    // What the script changed is laid out and its handlers run, as in a frame.
    walkFrame(0, TFramePainter{});
    broadcastEvent(1);
    keyPressed('a');
    keyDown(13);
    networkFrame();
    unloadInterface();
    networkStop();
    CurrentGame = nullptr;
    Mouse = TMouse{};
    return 0;
}
