#include "game/FUnitLoad.h"

#include "shell/FDocument.h"
#include "shell/FLogs.h"

#include <algorithm>
#include <cctype>
#include <optional>

std::deque<TUnitAttributes> UnitTypes;
std::deque<TAbility> Abilities;
std::deque<TUpgrade> Upgrades;

namespace {

// How the log lines name the files ("Parsing Units.xml, ...").
const char* const UnitsFile = "Units.xml";
const char* const AbilitiesFile = "Abilities.xml";
const char* const UpgradesFile = "Upgrades.xml";

std::string trimmed(const std::string& text)
{
    std::size_t begin = 0, end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin])))
        ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1])))
        --end;
    return text.substr(begin, end - begin);
}

bool toBool(const std::string& text)
{
    const std::string t = trimmed(text);
    std::string lower;
    for (char c : t)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower == "true")
        return true;
    if (lower == "false")
        return false;
    return xmlToInt(t) != 0;
}

// Milliseconds in the file, whole 10 ms ticks in the record.
std::int32_t toTicks(std::int32_t milliseconds) { return milliseconds / 10; }

// A duration of -1 lasts until undone; truncating it like other times would
// give 0, which ends the effect at once.
std::int32_t durationToTicks(std::int32_t milliseconds) { return milliseconds == -1 ? -1 : toTicks(milliseconds); }

// An amount per second in the file, per 10 ms tick in the record.
double toPerTick(double perSecond) { return perSecond / 1000.0 * 10.0; }

// Required fields of abilities and upgrades: a missing element throws, so
// that the caller skips the whole item.
TXmlNode required(const TXmlNode& item, const char* name)
{
    TXmlNode child = item.childByName(name);
    if (!child)
        throw XmlError(std::string("no element `") + name + "`");
    return child;
}

std::string requiredText(const TXmlNode& item, const char* name) { return required(item, name).text(); }

// Names the field in a conversion error, for the log line.
template <typename Convert>
auto convert(const char* name, Convert c)
{
    try {
        return c();
    } catch (const XmlError& e) {
        throw XmlError(std::string("`") + name + "`: " + e.what());
    }
}

std::int32_t requiredInt(const TXmlNode& item, const char* name)
{
    const TXmlNode child = required(item, name);
    return convert(name, [&] { return xmlToInt(trimmed(child.text())); });
}

TEffectValues requiredEffect(const TXmlNode& item, const char* name)
{
    const TXmlNode block = required(item, name);
    TEffectValues v;
    v.size = requiredInt(block, "size");
    v.hp = requiredInt(block, "hp");
    v.attack = requiredInt(block, "attack");
    v.defense = requiredInt(block, "defense");
    v.damage = requiredInt(block, "damage");
    v.speed = requiredInt(block, "speed");
    return v;
}

TAbility readAbility(const TXmlNode& item)
{
    TAbility a;
    a.name = requiredText(item, "name");
    a.tooltip = requiredText(item, "tooltip");
    a.icon = requiredText(item, "icon");
    const std::string shortcut = trimmed(requiredText(item, "shortcut"));
    if (shortcut.empty())
        throw XmlError("`shortcut` is empty");
    a.shortcut = shortcut[0];
    a.id = requiredInt(item, "id");
    const std::string target = requiredText(item, "target");
    a.target = target == "Enemy" ? AbilityTarget::Enemy : target == "Friendly" ? AbilityTarget::Friendly : AbilityTarget::NoUnit;
    a.areaEffectTarget = requiredText(item, "areaeffecttarget") == "Friendly" ? AbilityTarget::Friendly : AbilityTarget::Enemy;
    a.range = requiredInt(item, "range");
    a.areaEffect = toBool(requiredText(item, "areaeffect"));
    a.duration = durationToTicks(requiredInt(item, "duration"));
    a.cooldown = toTicks(requiredInt(item, "cooldown"));
    a.cost = requiredInt(item, "cost");
    a.instantEffect = requiredEffect(item, "instanteffect");
    a.tick = toTicks(requiredInt(item, "tick"));
    a.periodicEffect = requiredEffect(item, "periodiceffect");
    required(item, "special");
    return a;
}

TUpgrade readUpgrade(const TXmlNode& item)
{
    TUpgrade u;
    u.name = requiredText(item, "name");
    u.icon = requiredText(item, "icon");
    u.id = requiredInt(item, "id");
    u.targetsId = requiredInt(item, "targetsid");
    u.res1Cost = requiredInt(item, "res1cost");
    u.res2Cost = requiredInt(item, "res2cost");
    u.effects = requiredEffect(item, "effects");
    u.tooltip = requiredText(item, "tooltip");
    return u;
}

// Abilities and upgrades: every element child is an item; one that lacks a
// field or holds a bad value is left out and the next takes its place.
template <typename Record, typename Read>
bool loadItems(const std::string& path, const char* fileName, std::deque<Record>& table, Read read)
{
    TXmlDocument document;
    TXmlNode root;
    try {
        root = document.load(path);
    } catch (const XmlError& e) {
        log(std::string("Parsing ") + fileName + ", cannot load " + path + ": " + e.what(), LogWarning);
        return false;
    }
    // Items are numbered from 0 in the log, as the shipped files number them.
    int position = -1;
    for (TXmlNode item = root.firstChild(); item; item = item.nextSibling()) {
        if (item.name().empty())
            continue;
        ++position;
        try {
            table.push_back(read(item));
        } catch (const XmlError& e) {
            const std::string name = trimmed(item.childValue("name"));
            log(std::string("Parsing ") + fileName + ", item " + std::to_string(position) +
                    (name.empty() ? "" : " `" + name + "`") + " skipped: " + e.what(), LogWarning);
        }
    }
    return true;
}

// Unit fields are optional: the default stays unless the element exists,
// and then its value must convert.
struct TUnitReader {
    const TXmlNode& item;

    std::optional<std::string> text(const char* name) const
    {
        TXmlNode child = item.childByName(name);
        if (!child)
            return std::nullopt;
        return child.text();
    }
    void read(const char* name, std::string& field) const
    {
        if (auto t = text(name))
            field = *t;
    }
    void read(const char* name, std::int32_t& field) const
    {
        if (auto t = text(name))
            field = convert(name, [&] { return xmlToInt(trimmed(*t)); });
    }
    void readTicks(const char* name, std::int32_t& field) const
    {
        if (auto t = text(name))
            field = convert(name, [&] { return toTicks(xmlToInt(trimmed(*t))); });
    }
    void readRate(const char* name, double& field) const
    {
        if (auto t = text(name))
            field = convert(name, [&] { return toPerTick(xmlToReal(trimmed(*t))); });
    }
    void read(const char* name, bool& field) const
    {
        if (auto t = text(name))
            field = convert(name, [&] { return toBool(*t); });
    }
};

// Two values the rest of the game cannot live with: the selection circle
// divides by the model scale, and a footprint wider than the map would have
// every placement test walk millions of cells.
void keepWorkable(TUnitAttributes& u)
{
    constexpr std::int32_t MapCells = 480;
    if (u.modelScale <= 0) {
        log("Parsing Units.xml, modelscale " + std::to_string(u.modelScale) + " on `" + u.name + "` must be above 0; 10 is used",
            LogWarning);
        u.modelScale = 10;
    }
    if (u.size < 0 || u.size > MapCells) {
        const std::int32_t kept = std::clamp(u.size, 0, MapCells);
        log("Parsing Units.xml, size " + std::to_string(u.size) + " on `" + u.name + "` must be 0 to 480; " +
                std::to_string(kept) + " is used",
            LogWarning);
        u.size = kept;
    }
}

TUnitAttributes readUnitFields(const TXmlNode& item)
{
    TUnitAttributes u;
    const TUnitReader r{item};
    if (item.childByName("id"))
        r.read("id", u.id);
    else
        log("Parsing Units.xml, id is required", LogDebug);
    r.read("name", u.name);
    r.read("race", u.race);
    r.read("tooltip", u.tooltip);
    r.read("icon", u.icon);
    r.read("model", u.model);
    r.read("sound", u.sound);
    r.read("modelscale", u.modelScale);
    r.read("modelsize", u.modelSize);
    if (auto t = r.text("type"))
        u.type = *t == "Hero" ? UnitKind::Hero : *t == "Infrantry" ? UnitKind::Infrantry : *t == "Ranged" ? UnitKind::Ranged : UnitKind::Other;
    r.read("size", u.size);
    if (auto t = r.text("aggressivity"))
        u.aggressivity = *t == "aggressive" ? Aggressivity::Aggressive : *t == "defensive" ? Aggressivity::Defensive : Aggressivity::Neither;
    r.read("damage", u.damage);
    r.read("speed", u.speed);
    r.read("hp", u.hp);
    r.read("mp", u.mp);
    r.readRate("hpregen", u.hpRegen);
    r.readRate("mpregen", u.mpRegen);
    r.readTicks("atk_speed", u.atkSpeed);
    r.read("atk_range", u.atkRange);
    r.read("defense", u.defense);
    r.read("repairer", u.repairer);
    r.read("isbuilding", u.isBuilding);
    r.read("res1cost", u.res1Cost);
    r.read("res2cost", u.res2Cost);
    r.readTicks("buildingtime", u.buildingTime);
    if (auto t = r.text("training")) {
        const double perSecond = convert("training", [&] { return xmlToReal(trimmed(*t)); });
        u.training = perSecond == -1.0 ? -1.0 : toPerTick(perSecond);
    }
    keepWorkable(u);
    return u;
}

// The id a list entry names, or nothing when its text is not a number.
// An innate spell holds an `innate` element after its id, so only the
// element's own text counts.
std::optional<std::int32_t> entryId(const std::string& value)
{
    try {
        return xmlToInt(value);
    } catch (const XmlError&) {
        return std::nullopt;
    }
}

void logMissing(const char* what, const std::string& value, const std::string& unitName)
{
    log(std::string("Parsing Units.xml, Cannot find ") + what + " id `" + value + "` on `" + unitName + "`", LogDebug);
}

template <typename Record>
const Record* findById(const std::deque<Record>& table, std::optional<std::int32_t> id)
{
    if (id)
        for (const Record& record : table)
            if (record.id == *id)
                return &record;
    return nullptr;
}

void readSpellsAndUpgrades(const TXmlNode& item, TUnitAttributes& u)
{
    for (TXmlNode entry = item.childByName("spells").firstChild(); entry; entry = entry.nextSibling()) {
        if (entry.name() != "spellid")
            continue;
        const std::string value = trimmed(entry.text());
        const TAbility* ability = findById(Abilities, entryId(value));
        if (!ability) {
            logMissing("spell", value, u.name);
            continue;
        }
        u.spells.push_back({entry.childValue("innate") == "true", ability});
    }
    for (TXmlNode entry = item.childByName("upgrades").firstChild(); entry; entry = entry.nextSibling()) {
        if (entry.name() != "upgradeid")
            continue;
        const std::string value = trimmed(entry.text());
        if (const TUpgrade* upgrade = findById(Upgrades, entryId(value)))
            u.upgrades.push_back(upgrade);
        else
            logMissing("upgrade", value, u.name);
    }
}

void readBuildings(const TXmlNode& item, TUnitAttributes& u)
{
    for (TXmlNode entry = item.childByName("buildings").firstChild(); entry; entry = entry.nextSibling()) {
        if (entry.name() != "buildingid")
            continue;
        const std::string value = trimmed(entry.text());
        if (const TUnitAttributes* type = findById(UnitTypes, entryId(value)))
            u.buildings.push_back(type);
        else
            logMissing("building", value, u.name);
    }
}

}  // namespace

void ResetDefinitions()
{
    UnitTypes.clear();
    Abilities.clear();
    Upgrades.clear();
}

bool LoadDefinitions(const std::string& folder)
{
    const bool abilities = LoadAbilities(folder + "/abilities.xml");
    const bool upgrades = LoadUpgrades(folder + "/upgrades.xml");
    const bool units = LoadUnitTypes(folder + "/units.xml");
    return abilities && upgrades && units;
}

bool LoadAbilities(const std::string& path) { return loadItems(path, AbilitiesFile, Abilities, readAbility); }
bool LoadUpgrades(const std::string& path) { return loadItems(path, UpgradesFile, Upgrades, readUpgrade); }

bool LoadUnitTypes(const std::string& path)
{
    TXmlDocument document;
    TXmlNode root;
    try {
        root = document.load(path);
    } catch (const XmlError& e) {
        log(std::string("Parsing ") + UnitsFile + ", cannot load " + path + ": " + e.what(), LogWarning);
        return false;
    }
    // Pass 1 makes every type, so that pass 2 can name types that come later
    // in the file. A value that does not convert ends the file there: the
    // types before it keep their indices, which the map relies on.
    const std::size_t first = UnitTypes.size();
    std::vector<TXmlNode> items;
    bool complete = true;
    for (TXmlNode item = root.firstChild(); item; item = item.nextSibling()) {
        if (item.name() != "unit")
            continue;
        try {
            TUnitAttributes u = readUnitFields(item);
            readSpellsAndUpgrades(item, u);
            UnitTypes.push_back(std::move(u));
            items.push_back(item);
        } catch (const XmlError& e) {
            const std::string name = trimmed(item.childValue("name"));
            log(std::string("Parsing ") + UnitsFile + ", unit " + std::to_string(items.size()) +
                    (name.empty() ? "" : " `" + name + "`") + ": " + e.what() + "; this unit and those after it are not loaded",
                LogWarning);
            complete = false;
            break;
        }
    }
    for (std::size_t i = 0; i < items.size(); ++i)
        readBuildings(items[i], UnitTypes[first + i]);
    return complete;
}

const TUnitAttributes* FindUnitType(std::int32_t id)
{
    const TUnitAttributes* type = findById(UnitTypes, std::optional<std::int32_t>(id));
    if (!type)
        log("FindUnitType: no unit type with id " + std::to_string(id), LogDebug);
    return type;
}

const TAbility* FindAbility(std::int32_t id)
{
    const TAbility* ability = findById(Abilities, std::optional<std::int32_t>(id));
    if (!ability)
        log("FindAbility: no ability with id " + std::to_string(id), LogDebug);
    return ability;
}

const TUpgrade* FindUpgrade(std::int32_t id)
{
    const TUpgrade* upgrade = findById(Upgrades, std::optional<std::int32_t>(id));
    if (!upgrade)
        log("FindUpgrade: no upgrade with id " + std::to_string(id), LogDebug);
    return upgrade;
}

int UnitTypeIndex(const TUnitAttributes* type)
{
    for (std::size_t i = 0; i < UnitTypes.size(); ++i)
        if (&UnitTypes[i] == type)
            return static_cast<int>(i);
    return -1;
}
