// Scenario: the text a modder writes for vrax-sim, read into a list of steps.
// One step a line; '#' starts a comment. Reading checks the form of each
// line only: unit type names are matched against the definitions when the
// scenario runs (ScenarioRun), since they come from the game folder.
#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

// Which units a step speaks of: "all of 2", "Spearman of 1", or a name given
// with "as" when the units were placed.
struct UnitChoice {
    std::string typeName;  // empty for "all of"
    int player = 0;        // 0 with a label
    std::string label;     // set for a named band
};

enum class StepKind {
    Seed,    // seed N
    Player,  // player N host
    Map,     // map PATH
    Place,   // place [COUNT] TYPE for PLAYER at X Y [as NAME]
    Order,   // order WHO ORDER...: replaces what the units were doing
    Queue,   // queue WHO ORDER...: after what they are doing
    Run,     // run TICKS [until won]
    Print,   // print
    Show,    // show WHO: where each unit is and what it does
    Build,   // build TYPE for PLAYER at X Y by WHO: the first of WHO raises it
    Train,   // train [COUNT] TYPE at WHO: queued in the first building of WHO
    Cast,    // cast WHO SPELL [on WHO]: spell number SPELL of each, on itself or the first target
    Research,  // research UPGRADE for PLAYER
    Hurt,    // hurt WHO AMOUNT: damage (negative heals) to each
    Stats,   // stats WHO: each unit's statistics, mana and effects
    State,   // state: every player's gold and wood, missiles in flight, the warning line
};

// The orders a scenario can give; each becomes the game's own order kind.
enum class SimOrder { Move, AttackMove, Patrol, Stop, Hold, Attack, Follow, Enter, Leave };

struct ScenarioStep {
    StepKind kind = StepKind::Print;
    int line = 0;  // in the file, for messages
    std::int64_t number = 0;  // seed, player number, tick count, unit count
    std::string text;         // map path, type name of a placement
    int player = 0;           // owner of placed units
    int x = 0, y = 0;         // cell of a placement or of a cell order
    std::string label;        // "as NAME" of a placement
    UnitChoice who;           // units an order goes to
    SimOrder order = SimOrder::Stop;
    UnitChoice target;        // target of attack, follow, enter, leave and cast
    bool hasTarget = false;   // cast: "on WHO" was given
    bool untilWon = false;    // run: stop early once at most one player has units
};

struct Scenario {
    std::vector<ScenarioStep> steps;
    std::vector<std::string> errors;  // "line N: what is wrong", one per bad line
};

// Reads every line; a bad line is described in errors and left out.
Scenario ReadScenario(std::istream& in);
// The same from a file; a file that cannot be opened is one error.
Scenario ReadScenarioFile(const std::string& path);

// Unit type names are written with '-' or '_' for blanks ("Standing-Stone"),
// in any letter case; this is the form both sides are compared in.
std::string TypeNameKey(const std::string& name);
