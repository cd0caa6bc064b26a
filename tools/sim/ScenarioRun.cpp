#include "ScenarioRun.h"

#include "Summary.h"

#include "game/FEffects.h"
#include "game/FGame.h"
#include "game/FProduction.h"
#include "game/FReports.h"
#include "game/FUnitLoad.h"
#include "game/Fgroup.h"
#include "platform/Files.h"
#include "shell/FLogs.h"
#include "world/FLoadMap.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <map>
#include <set>

namespace {

constexpr std::int32_t FrameMs = 10;

class ScenarioPlayer {
public:
    ScenarioPlayer(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

    // Every name the scenario uses exists, every band is named before use,
    // every placement stays on the map. Mistakes go to the list.
    std::vector<std::string> Check(const Scenario& scenario);
    void Play(const Scenario& scenario);

private:
    const TUnitAttributes* typeNamed(const std::string& name) const;
    void checkChoice(const ScenarioStep& step, const UnitChoice& who, const std::set<std::string>& labels,
                     std::vector<std::string>& errors) const;
    std::vector<TCell> blockCells(const ScenarioStep& step, const TUnitAttributes& type) const;

    void place(const ScenarioStep& step);
    std::vector<TUnit*> chosen(const UnitChoice& who) const;
    void order(const ScenarioStep& step);
    void run(const ScenarioStep& step);
    void print();
    void show(const ScenarioStep& step);
    void build(const ScenarioStep& step);
    void train(const ScenarioStep& step);
    void cast(const ScenarioStep& step);
    void research(const ScenarioStep& step);
    void hurt(const ScenarioStep& step);
    void stats(const ScenarioStep& step);
    void state();

    std::ostream& out_;
    std::ostream& err_;
    TGame game_;
    std::map<std::string, std::vector<std::int32_t>> bands_;  // unit numbers by band name
    std::set<int> players_;                                   // every player given units
    std::int64_t ticksRun_ = 0;
    double secondsRun_ = 0;
    double cpuSecondsRun_ = 0;
    bool printedSinceRun_ = false;
};

std::string lineOf(const ScenarioStep& step)
{
    return "line " + std::to_string(step.line) + ": ";
}

const TUpgrade* upgradeNamed(const std::string& name)
{
    for (const TUpgrade& upgrade : Upgrades)
        if (TypeNameKey(upgrade.name) == TypeNameKey(name))
            return &upgrade;
    return nullptr;
}

const TUnitAttributes* ScenarioPlayer::typeNamed(const std::string& name) const
{
    const std::string key = TypeNameKey(name);
    for (const TUnitAttributes& type : UnitTypes)
        if (TypeNameKey(type.name) == key)
            return &type;
    return nullptr;
}

// COUNT units in a square block centred on the cell, each a cell clear of
// its neighbours.
std::vector<TCell> ScenarioPlayer::blockCells(const ScenarioStep& step, const TUnitAttributes& type) const
{
    const int count = static_cast<int>(step.number);
    const int columns = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(count))));
    const int rows = (count + columns - 1) / columns;
    const int pitch = std::max(type.size, 1) + 1;
    std::vector<TCell> cells;
    for (int i = 0; i < count; ++i)
        cells.push_back(TCell{step.x + (i % columns) * pitch - (columns - 1) * pitch / 2,
                              step.y + (i / columns) * pitch - (rows - 1) * pitch / 2});
    return cells;
}

void ScenarioPlayer::checkChoice(const ScenarioStep& step, const UnitChoice& who, const std::set<std::string>& labels,
                                 std::vector<std::string>& errors) const
{
    if (!who.label.empty() && !labels.contains(who.label))
        errors.push_back(lineOf(step) + "no band is named \"" + who.label + "\" before this line");
    if (!who.typeName.empty() && !typeNamed(who.typeName))
        errors.push_back(lineOf(step) + "no unit type is named \"" + who.typeName + "\" in Data/units.xml");
}

std::vector<std::string> ScenarioPlayer::Check(const Scenario& scenario)
{
    std::vector<std::string> errors = scenario.errors;
    std::set<std::string> labels;
    bool begun = false;
    for (const ScenarioStep& step : scenario.steps) {
        switch (step.kind) {
        case StepKind::Player:
            if (begun)
                errors.push_back(lineOf(step) + "\"player\" must come before the map, units, orders and runs");
            break;
        case StepKind::Map:
            if (!platform::fileExists(platform::contentPath(step.text)))
                errors.push_back(lineOf(step) + "no map file \"" + step.text + "\" in the game folder");
            break;
        case StepKind::Place:
            if (const TUnitAttributes* type = typeNamed(step.text)) {
                for (const TCell& cell : blockCells(step, *type))
                    if (!game_.map.OnGrid(cell.x, cell.y)) {
                        errors.push_back(lineOf(step) + "the block of " + std::to_string(step.number) + " " +
                                         type->name + " around " + std::to_string(step.x) + " " +
                                         std::to_string(step.y) + " does not fit on the map");
                        break;
                    }
            } else {
                errors.push_back(lineOf(step) + "no unit type is named \"" + step.text + "\" in Data/units.xml");
            }
            if (!step.label.empty())
                labels.insert(step.label);
            break;
        case StepKind::Show:
        case StepKind::Stats:
        case StepKind::Hurt:
            checkChoice(step, step.who, labels, errors);
            break;
        case StepKind::Order:
        case StepKind::Queue:
        case StepKind::Cast:
            checkChoice(step, step.who, labels, errors);
            if (step.hasTarget)
                checkChoice(step, step.target, labels, errors);
            break;
        case StepKind::Build:
        case StepKind::Train:
            checkChoice(step, step.who, labels, errors);
            if (!typeNamed(step.text))
                errors.push_back(lineOf(step) + "no unit type is named \"" + step.text + "\" in Data/units.xml");
            break;
        case StepKind::Research:
            if (!upgradeNamed(step.text))
                errors.push_back(lineOf(step) + "no upgrade is named \"" + step.text + "\" in Data/upgrades.xml");
            break;
        default:
            break;
        }
        begun = begun || (step.kind != StepKind::Seed && step.kind != StepKind::Player);
    }
    return errors;
}

void ScenarioPlayer::place(const ScenarioStep& step)
{
    const TUnitAttributes& type = *typeNamed(step.text);
    std::vector<std::int32_t>& band = bands_[step.label];
    for (const TCell& cell : blockCells(step, type)) {
        TUnit& unit = CreateUnit(game_, type, cell.x * CellSize + CellSize / 2, cell.y * CellSize + CellSize / 2,
                                 step.player, game_.nextUnitId++);
        // A scenario puts buildings down finished; building them is a game's business.
        if (unit.underConstruction) {
            unit.underConstruction = false;
            unit.buildProgress = 1.0;
            unit.hp = unit.maxHp;
        }
        if (!step.label.empty())
            band.push_back(unit.unitNumber);
    }
    players_.insert(step.player);
}

// The live units a choice names, in unit-list order. "all of" leaves out
// buildings, which take no orders worth giving.
std::vector<TUnit*> ScenarioPlayer::chosen(const UnitChoice& who) const
{
    std::vector<TUnit*> units;
    if (!who.label.empty()) {
        const auto band = bands_.find(who.label);
        for (const std::unique_ptr<TUnit>& unit : game_.units)
            if (unit->alive && band != bands_.end() &&
                std::find(band->second.begin(), band->second.end(), unit->unitNumber) != band->second.end())
                units.push_back(unit.get());
        return units;
    }
    const TUnitAttributes* type = who.typeName.empty() ? nullptr : typeNamed(who.typeName);
    for (const std::unique_ptr<TUnit>& unit : game_.units)
        if (unit->alive && unit->owner == who.player &&
            (type ? unit->unitType == type : !unit->IsBuilding()))
            units.push_back(unit.get());
    return units;
}

Torder orderOf(const ScenarioStep& step, TUnit* target)
{
    switch (step.order) {
    case SimOrder::Move: return Torder::ToCell(OrderKind::MoveTo, step.x, step.y);
    case SimOrder::AttackMove: return Torder::ToCell(OrderKind::AttackMove, step.x, step.y);
    case SimOrder::Patrol: return Torder::ToCell(OrderKind::Patrol, step.x, step.y);
    case SimOrder::Stop: return Torder::Idle();
    case SimOrder::Hold: {
        Torder hold;
        hold.kind = OrderKind::HoldPosition;
        return hold;
    }
    case SimOrder::Attack: return Torder::OnUnit(OrderKind::Attack, target);
    case SimOrder::Follow: return Torder::OnUnit(OrderKind::Follow, target);
    case SimOrder::Enter: return Torder::OnUnit(OrderKind::Enter, target);
    case SimOrder::Leave: return Torder::OnUnit(OrderKind::Leave, target);
    }
    return Torder::Idle();
}

// A band is ordered the way a player orders it: through selection groups of
// at most 18. Groups after the first line up behind it, each base one
// formation's depth further back along the march, so the slots do not overlap.
void ScenarioPlayer::order(const ScenarioStep& step)
{
    const std::vector<TUnit*> units = chosen(step.who);
    if (units.empty()) {
        err_ << lineOf(step) << "no unit left to take the order; skipped\n";
        return;
    }
    TUnit* target = nullptr;
    if (step.hasTarget) {
        const std::vector<TUnit*> targets = chosen(step.target);
        if (targets.empty()) {
            err_ << lineOf(step) << "no unit left to aim at; skipped\n";
            return;
        }
        target = targets.front();
    }
    const Torder base = orderOf(step, target);

    std::int64_t sumX = 0, sumY = 0;
    for (const TUnit* unit : units) {
        sumX += unit->cellX;
        sumY += unit->cellY;
    }
    const double dx = step.x - static_cast<double>(sumX) / static_cast<double>(units.size());
    const double dy = step.y - static_cast<double>(sumY) / static_cast<double>(units.size());
    const double length = std::hypot(dx, dy);

    for (std::size_t first = 0, chunk = 0; first < units.size(); first += SelectionLimit, ++chunk) {
        TUnitGroup group;
        for (std::size_t i = first; i < std::min(units.size(), first + SelectionLimit); ++i)
            AddToGroup(game_, group, *units[i]);
        Torder own = base;
        if (chunk > 0 && length > 0) {
            const double back = static_cast<double>(chunk) * 5.0 * group.spacing;
            own.goalX = std::clamp(static_cast<int>(std::lround(step.x - dx / length * back)), 0, MapCells - 1);
            own.goalY = std::clamp(static_cast<int>(std::lround(step.y - dy / length * back)), 0, MapCells - 1);
        }
        if (step.kind == StepKind::Order)
            GiveGroupOrder(game_, group, own);
        else
            QueueGroupOrder(game_, group, own);
        ClearGroup(game_, group);
    }
}

int playersWithUnits(const TGame& game)
{
    int count = 0;
    for (const TGamePlayer& player : game.players)
        count += player.unitCount > 0 ? 1 : 0;
    return count;
}

void ScenarioPlayer::run(const ScenarioStep& step)
{
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpuStart = std::clock();
    for (std::int64_t i = 0; i < step.number; ++i) {
        if (step.untilWon && playersWithUnits(game_) <= 1)
            break;
        const std::int64_t clock = game_.totalTime + FrameMs;
        // As the frame loop does: the host's reports before drawing, the rules after.
        BroadcastUnitStates(game_, clock);
        UpdateGame(game_, clock, FrameMs);
        ++ticksRun_;
    }
    secondsRun_ += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    cpuSecondsRun_ += static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    printedSinceRun_ = false;
}

void ScenarioPlayer::print()
{
    std::vector<LivingUnit> alive;
    for (const std::unique_ptr<TUnit>& unit : game_.units)
        if (unit->alive)
            alive.push_back(LivingUnit{unit->owner, UnitTypeIndex(unit->unitType), unit->unitType->name, unit->hp});
    std::map<int, Purse> purses;
    for (int player = 1; player <= MaxPlayers; ++player)
        purses[player] = Purse{game_.player(player).gold, game_.player(player).wood};
    PrintSummary(out_, game_.tick, std::vector<int>(players_.begin(), players_.end()), std::move(alive), purses);
    PrintTiming(out_, ticksRun_, secondsRun_, cpuSecondsRun_);
    printedSinceRun_ = true;
}

// One line a unit: "Spearman 4 at 230 100, 420 hp: move to 240 100, walking".
void ScenarioPlayer::show(const ScenarioStep& step)
{
    static const char* const orderWords[OrderKind::Count] = {
        "idle", "move", "attack-move", "hold", "patrol", "follow", "attack", "construct", "cast", "enter", "leave"};
    out_ << "tick " << game_.tick << ", " << lineOf(step) << "show\n";
    for (const TUnit* unit : chosen(step.who)) {
        const Torder& order = unit->currentOrder;
        out_ << "  " << unit->unitType->name << " " << unit->unitNumber << " at " << unit->cellX << " "
             << unit->cellY << ", " << std::llround(unit->hp) << " hp: "
             << (order.kind < OrderKind::Count ? orderWords[order.kind] : "?");
        if (const TUnit* target = CurrentTarget(*unit))
            out_ << " " << target->unitType->name << " " << target->unitNumber;
        else if (order.kind == OrderKind::MoveTo || order.kind == OrderKind::AttackMove ||
                 order.kind == OrderKind::Patrol)
            out_ << " to " << order.goalX << " " << order.goalY;
        out_ << (unit->idle ? ", standing" : ", walking") << "\n";
    }
}

// A refusal the rules showed on the warning line, told once under the step.
void noteWarning(std::ostream& out, TGame& game)
{
    if (!game.warning.text.empty())
        out << "  warning: " << game.warning.text << "\n";
    ClearWarning(game);
}

// The first of WHO asks the host for the building, as a worker's placement does.
void ScenarioPlayer::build(const ScenarioStep& step)
{
    const std::vector<TUnit*> builders = chosen(step.who);
    if (builders.empty()) {
        err_ << lineOf(step) << "no unit left to build; skipped\n";
        return;
    }
    TUnitRequest request;
    request.typeIndex = UnitTypeIndex(typeNamed(step.text));
    request.x = static_cast<std::int64_t>(step.x) * CellSize + CellSize / 2;
    request.y = static_cast<std::int64_t>(step.y) * CellSize + CellSize / 2;
    request.owner = step.player;
    request.builderId = builders.front()->unitNumber;
    out_ << "tick " << game_.tick << ", " << lineOf(step) << "build " << typeNamed(step.text)->name << "\n";
    RequestUnit(game_, request);
    noteWarning(out_, game_);
    players_.insert(step.player);
}

void ScenarioPlayer::train(const ScenarioStep& step)
{
    const std::vector<TUnit*> buildings = chosen(step.who);
    if (buildings.empty() || !buildings.front()->IsBuilding()) {
        err_ << lineOf(step) << "no building left to train in; skipped\n";
        return;
    }
    out_ << "tick " << game_.tick << ", " << lineOf(step) << "train " << step.number << " "
         << typeNamed(step.text)->name << "\n";
    for (std::int64_t i = 0; i < step.number; ++i)
        QueueTraining(game_, *buildings.front(), *typeNamed(step.text));
    noteWarning(out_, game_);
}

void ScenarioPlayer::cast(const ScenarioStep& step)
{
    const std::vector<TUnit*> casters = chosen(step.who);
    const std::vector<TUnit*> targets = step.hasTarget ? chosen(step.target) : std::vector<TUnit*>{};
    if (casters.empty() || (step.hasTarget && targets.empty())) {
        err_ << lineOf(step) << "no caster or target left; skipped\n";
        return;
    }
    out_ << "tick " << game_.tick << ", " << lineOf(step) << "cast\n";
    for (TUnit* caster : casters) {
        const std::size_t index = static_cast<std::size_t>(step.number);
        out_ << "  " << caster->unitType->name << " " << caster->unitNumber << ": "
             << (index < caster->spells.size() && caster->spells[index].ability ? caster->spells[index].ability->name
                                                                                : "no such spell");
        const bool cast = CastAbility(game_, *caster, step.hasTarget ? *targets.front() : *caster,
                                      static_cast<int>(step.number));
        out_ << (cast ? ", cast" : ", refused") << "\n";
        noteWarning(out_, game_);
    }
}

void ScenarioPlayer::research(const ScenarioStep& step)
{
    const TUpgrade& upgrade = *upgradeNamed(step.text);
    out_ << "tick " << game_.tick << ", " << lineOf(step) << "research " << upgrade.name << " for player "
         << step.player << (ResearchUpgrade(game_, step.player, upgrade) ? ": done" : ": refused") << "\n";
    noteWarning(out_, game_);
}

void ScenarioPlayer::hurt(const ScenarioStep& step)
{
    for (TUnit* unit : chosen(step.who))
        TakeDamage(game_, *unit, static_cast<double>(step.number));
}

// One line a unit: "Warden 4: 640/700 hp, 150 mp, damage 20, defense 4, speed 7; Battle Cry 812".
void ScenarioPlayer::stats(const ScenarioStep& step)
{
    out_ << "tick " << game_.tick << ", " << lineOf(step) << "stats\n";
    for (const TUnit* unit : chosen(step.who)) {
        out_ << "  " << unit->unitType->name << " " << unit->unitNumber << ": " << std::llround(unit->hp) << "/"
             << unit->maxHp << " hp, " << std::llround(unit->mp) << " mp, damage " << unit->damage << ", defense "
             << unit->defense << ", speed " << unit->speed;
        const char* separator = "; ";
        for (const TEffectRecord& record : unit->effects) {
            if (!record.ability || record.propagated)
                continue;
            out_ << separator << record.ability->name << " " << record.remaining;
            separator = ", ";
        }
        if (!unit->occupants.empty())
            out_ << "; " << unit->occupants.size() << " inside";
        out_ << "\n";
    }
}

void ScenarioPlayer::state()
{
    out_ << "tick " << game_.tick << ", state\n";
    for (int player : players_) {
        const TGamePlayer& purse = game_.player(player);
        out_ << "  player " << player << ": " << PurseText(Purse{purse.gold, purse.wood}) << "\n";
    }
    out_ << "  missiles in flight: " << game_.projectiles.size() << "\n";
}

void ScenarioPlayer::Play(const Scenario& scenario)
{
    std::int32_t localPlayer = 1;
    for (const ScenarioStep& step : scenario.steps)
        if (step.kind == StepKind::Player)
            localPlayer = static_cast<std::int32_t>(step.number);
    InitGame(game_, localPlayer, true);
    game_.random.seed(0);

    for (const ScenarioStep& step : scenario.steps) {
        switch (step.kind) {
        case StepKind::Seed:
            game_.random.seed(static_cast<std::mt19937::result_type>(step.number));
            break;
        case StepKind::Player:
            break;
        case StepKind::Map:
            LoadMapFile(game_, platform::contentPath(step.text));
            players_.insert(localPlayer);
            break;
        case StepKind::Place:
            place(step);
            break;
        case StepKind::Order:
        case StepKind::Queue:
            order(step);
            break;
        case StepKind::Run:
            run(step);
            break;
        case StepKind::Print:
            print();
            break;
        case StepKind::Show:
            show(step);
            break;
        case StepKind::Build:
            build(step);
            break;
        case StepKind::Train:
            train(step);
            break;
        case StepKind::Cast:
            cast(step);
            break;
        case StepKind::Research:
            research(step);
            break;
        case StepKind::Hurt:
            hurt(step);
            break;
        case StepKind::Stats:
            stats(step);
            break;
        case StepKind::State:
            state();
            break;
        }
    }
    if (!printedSinceRun_)
        print();
}

}  // namespace

int PlayScenario(const Scenario& scenario, std::ostream& out, std::ostream& err)
{
    try {
        // The game's own log, continued rather than restarted.
        platform::createDirectory("Logs");
        ResetDefinitions();
        if (!LoadDefinitions("Data"))
            err << "vrax-sim: some definitions could not be read (see Logs/log.txt)\n";
        ScenarioPlayer player(out, err);
        const std::vector<std::string> errors = player.Check(scenario);
        if (!errors.empty()) {
            for (const std::string& error : errors)
                err << error << "\n";
            return 2;
        }
        player.Play(scenario);
        return 0;
    } catch (const EngineError& error) {
        err << "vrax-sim: " << error.what() << "\n";
        return 1;
    }
}
