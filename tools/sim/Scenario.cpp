#include "Scenario.h"

#include <cctype>
#include <charconv>
#include <fstream>
#include <sstream>

namespace {

constexpr int GridCells = 480;
constexpr int MaxPlayers = 8;
// More would only be a typing slip; the simulation itself has no such limit.
constexpr std::int64_t MaxPlaced = 5000;
constexpr std::int64_t MaxTicks = 100'000'000;

// A bad line: its message goes to the reader's error list.
struct LineError {
    std::string what;
};

// Words split at blanks; "a quoted name" is one word.
std::vector<std::string> splitWords(const std::string& text)
{
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < text.size()) {
        if (std::isspace(static_cast<unsigned char>(text[i]))) {
            ++i;
            continue;
        }
        if (text[i] == '"') {
            const std::size_t end = text.find('"', i + 1);
            if (end == std::string::npos)
                throw LineError{"a quoted name has no closing quote"};
            words.push_back(text.substr(i + 1, end - i - 1));
            i = end + 1;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && !std::isspace(static_cast<unsigned char>(text[end])))
            ++end;
        words.push_back(text.substr(i, end - i));
        i = end;
    }
    return words;
}

std::string lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

class LineReader {
public:
    explicit LineReader(std::vector<std::string> words) : words_(std::move(words)) {}

    bool atEnd() const { return next_ >= words_.size(); }
    const std::string& peek() const { return words_[next_]; }

    std::string word(const char* what)
    {
        if (atEnd())
            throw LineError{std::string("expected ") + what + " at the end of the line"};
        return words_[next_++];
    }

    void expect(const char* keyword)
    {
        const std::string got = word(keyword);
        if (lower(got) != keyword)
            throw LineError{std::string("expected \"") + keyword + "\", found \"" + got + "\""};
    }

    bool accept(const char* keyword)
    {
        if (atEnd() || lower(peek()) != keyword)
            return false;
        ++next_;
        return true;
    }

    std::int64_t number(const char* what, std::int64_t low, std::int64_t high)
    {
        const std::string text = word(what);
        std::int64_t value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc() || end != text.data() + text.size())
            throw LineError{std::string("expected ") + what + " as a whole number, found \"" + text + "\""};
        if (value < low || value > high)
            throw LineError{std::string(what) + " " + text + " is not between " + std::to_string(low) + " and " +
                            std::to_string(high)};
        return value;
    }

    int player() { return static_cast<int>(number("a player number", 1, MaxPlayers)); }

    void cell(ScenarioStep& step)
    {
        step.x = static_cast<int>(number("a cell x", 0, GridCells - 1));
        step.y = static_cast<int>(number("a cell y", 0, GridCells - 1));
    }

    // "all of P", "TYPE of P" or a band's name.
    UnitChoice choice()
    {
        UnitChoice who;
        const std::string first = word("which units (\"all of 1\", \"Spearman of 1\" or a name)");
        if (accept("of")) {
            if (lower(first) != "all")
                who.typeName = first;
            who.player = player();
        } else {
            if (lower(first) == "all")
                throw LineError{"\"all\" needs a player: \"all of 1\""};
            who.label = first;
        }
        return who;
    }

    void finish()
    {
        if (!atEnd())
            throw LineError{"unexpected \"" + peek() + "\" at the end of the line"};
    }

private:
    std::vector<std::string> words_;
    std::size_t next_ = 0;
};

void readOrder(LineReader& in, ScenarioStep& step)
{
    step.who = in.choice();
    const std::string kind =
        lower(in.word("an order (move, attack-move, patrol, stop, hold, attack, follow, enter, leave)"));
    if (kind == "move" || kind == "attack-move" || kind == "patrol") {
        step.order = kind == "move" ? SimOrder::Move : kind == "patrol" ? SimOrder::Patrol : SimOrder::AttackMove;
        in.cell(step);
    } else if (kind == "stop") {
        step.order = SimOrder::Stop;
    } else if (kind == "hold") {
        step.order = SimOrder::Hold;
    } else if (kind == "attack" || kind == "follow" || kind == "enter" || kind == "leave") {
        step.order = kind == "attack"   ? SimOrder::Attack
                     : kind == "follow" ? SimOrder::Follow
                     : kind == "enter"  ? SimOrder::Enter
                                        : SimOrder::Leave;
        step.target = in.choice();
        step.hasTarget = true;
    } else {
        throw LineError{"unknown order \"" + kind +
                        "\" (move, attack-move, patrol, stop, hold, attack, follow, enter, leave)"};
    }
}

ScenarioStep readStep(LineReader& in)
{
    ScenarioStep step;
    const std::string verb = lower(in.word("a command"));
    if (verb == "seed") {
        step.kind = StepKind::Seed;
        step.number = in.number("a seed", 0, UINT32_MAX);
    } else if (verb == "player") {
        step.kind = StepKind::Player;
        step.number = in.player();
        if (in.atEnd() || lower(in.peek()) != "host")
            throw LineError{"vrax-sim plays the host: write \"player N host\""};
        in.expect("host");
    } else if (verb == "map") {
        step.kind = StepKind::Map;
        step.text = in.word("a map file");
    } else if (verb == "place") {
        step.kind = StepKind::Place;
        step.number = 1;
        const std::string first = in.word("a unit type");
        std::int64_t count = 0;
        const auto [end, error] = std::from_chars(first.data(), first.data() + first.size(), count);
        if (error == std::errc() && end == first.data() + first.size()) {
            if (count < 1 || count > MaxPlaced)
                throw LineError{"a count of " + first + " is not between 1 and " + std::to_string(MaxPlaced)};
            step.number = count;
            step.text = in.word("a unit type");
        } else {
            step.text = first;
        }
        in.expect("for");
        step.player = in.player();
        in.expect("at");
        in.cell(step);
        if (in.accept("as")) {
            step.label = in.word("a name after \"as\"");
            if (lower(step.label) == "all")
                throw LineError{"\"all\" cannot name a band"};
        }
    } else if (verb == "order" || verb == "queue") {
        step.kind = verb == "order" ? StepKind::Order : StepKind::Queue;
        readOrder(in, step);
    } else if (verb == "run") {
        step.kind = StepKind::Run;
        step.number = in.number("a number of ticks", 0, MaxTicks);
        if (in.accept("until")) {
            in.expect("won");
            step.untilWon = true;
        }
    } else if (verb == "print") {
        step.kind = StepKind::Print;
    } else if (verb == "show" || verb == "stats") {
        step.kind = verb == "show" ? StepKind::Show : StepKind::Stats;
        step.who = in.choice();
    } else if (verb == "build") {
        step.kind = StepKind::Build;
        step.text = in.word("a building type");
        in.expect("for");
        step.player = in.player();
        in.expect("at");
        in.cell(step);
        in.expect("by");
        step.who = in.choice();
    } else if (verb == "train") {
        step.kind = StepKind::Train;
        step.number = 1;
        const std::string first = in.word("a unit type");
        std::int64_t count = 0;
        const auto [end, error] = std::from_chars(first.data(), first.data() + first.size(), count);
        if (error == std::errc() && end == first.data() + first.size()) {
            if (count < 1 || count > 6)
                throw LineError{"a count of " + first + " is not between 1 and 6 (a queue holds six)"};
            step.number = count;
            step.text = in.word("a unit type");
        } else {
            step.text = first;
        }
        in.expect("at");
        step.who = in.choice();
    } else if (verb == "cast") {
        step.kind = StepKind::Cast;
        step.who = in.choice();
        step.number = in.number("a spell number", 0, 63);
        if (in.accept("on")) {
            step.target = in.choice();
            step.hasTarget = true;
        }
    } else if (verb == "research") {
        step.kind = StepKind::Research;
        step.text = in.word("an upgrade");
        in.expect("for");
        step.player = in.player();
    } else if (verb == "hurt") {
        step.kind = StepKind::Hurt;
        step.who = in.choice();
        step.number = in.number("an amount", -100000, 100000);
    } else if (verb == "state") {
        step.kind = StepKind::State;
    } else {
        throw LineError{"unknown command \"" + verb + "\" (seed, player, map, place, order, queue, run, print, show, " +
                        "build, train, cast, research, hurt, stats, state)"};
    }
    in.finish();
    return step;
}

}  // namespace

Scenario ReadScenario(std::istream& in)
{
    Scenario scenario;
    std::string text;
    int number = 0;
    while (std::getline(in, text)) {
        ++number;
        const std::size_t hash = text.find('#');
        if (hash != std::string::npos)
            text.erase(hash);
        try {
            std::vector<std::string> words = splitWords(text);
            if (words.empty())
                continue;
            LineReader reader(std::move(words));
            ScenarioStep step = readStep(reader);
            step.line = number;
            scenario.steps.push_back(std::move(step));
        } catch (const LineError& error) {
            scenario.errors.push_back("line " + std::to_string(number) + ": " + error.what);
        }
    }
    return scenario;
}

Scenario ReadScenarioFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        Scenario scenario;
        scenario.errors.push_back("cannot open the scenario \"" + path + "\"");
        return scenario;
    }
    return ReadScenario(file);
}

std::string TypeNameKey(const std::string& name)
{
    std::string key = lower(name);
    for (char& c : key)
        if (c == '-' || c == '_')
            c = ' ';
    return key;
}
