-- Behaviour of the game screen: the banner and resources, the unit panel,
-- the group, the building's queue, the command card with its tooltips and
-- shortcuts, the warning line, the health bars over the units in view, and
-- the chat. The widgets (console, text field, buttons) are Shared/Widgets.lua,
-- included first. Loaded by Interface.xml before its frames, so their
-- handlers can call it.
--
-- The game is read through the engine's game functions. Units are named by
-- their unit index; lists of abilities, buildings and upgrades count from 0,
-- a building's queue and the workers inside it from 1. The screen is redrawn
-- from what they say: at once when the game raises an event (the selection,
-- a queue, the warning, the unit count changed) and every tenth of a second
-- for what changes without one (hit points, cooldowns, progress).

ConsoleSize = 8
ConsoleWidth = 840
DefaultNick = "Commander"

RefreshEvery = 100    -- ms between refreshes of the panels
HealthBarCount = 32   -- bars in the pool of Interface.xml
CommandCount = 15     -- buttons of the command card
QueueSize = 6         -- entries of a building queue, workers inside a building
GroupSize = 18        -- portraits of a selected group
EffectCount = 6       -- effect icons of the unit panel

-- The keys the engine answers itself: its commands (attack, move, stop,
-- hold, patrol, repair, defend, build) and the abilities' shortcuts of
-- Data/abilities.xml (add the letter of a new ability here). The card gives
-- its own keys only to train, build and upgrade buttons, on other letters,
-- so no key ever acts twice.
EngineKeys = "AVSTPRDB" .. "HFGCNKW"

FieldLimits = { ChatField = 200 }

-- The chat field has the keyboard only after Enter (or a click on it), so
-- that letters are shortcuts the rest of the time. Enter sends the line and
-- gives the keyboard back.
FieldEnterActions = {
  ChatField = function()
    SendChatFrom("ChatField", GetText("PlayerName"))
    FocusField(nil)
  end,
}

function FieldOrder()
  return { "ChatField" }
end

-- Element setters that skip the engine when nothing changed ------------
-- Every refresh sets most elements again; the engine finds an element by
-- its name each time, so unchanged values are not sent twice.

Shown, Texts, Paths, Places, Sizes, Colours = {}, {}, {}, {}, {}, {}

function Show(name, visible)
  visible = visible and true or false
  if Shown[name] ~= visible then
    Shown[name] = visible
    SetVisible(name, visible)
  end
end

function Text(name, text)
  text = tostring(text or "")
  if Texts[name] ~= text then
    Texts[name] = text
    SetText(name, text)
  end
end

function Picture(name, path)
  path = tostring(path or "")
  if path == "" or path == "-1" then
    path = "Textures\\Shared\\Transparent.blp"
  end
  if Paths[name] ~= path then
    Paths[name] = path
    SetPath(name, path)
  end
end

function Place(name, x, y)
  local key = x .. "," .. y
  if Places[name] ~= key then
    Places[name] = key
    SetX(name, x)
    SetY(name, y)
  end
end

function Size(name, w, h)
  local key = w .. "," .. h
  if Sizes[name] ~= key then
    Sizes[name] = key
    SetSize(name, w, h)
  end
end

function Colour(name, r, g, b)
  local key = r .. "," .. g .. "," .. b
  if Colours[name] ~= key then
    Colours[name] = key
    SetColor(name, r, g, b)
  end
end

-- Game values: a function answers -1, false or nothing for a unit that is
-- gone; these make such answers harmless.
function Number(value)
  if type(value) == "number" then
    return value
  end
  return 0
end

function Count(value)
  value = Number(value)
  if value < 0 then
    return 0
  end
  return value
end

-- Fills a bar's "<bar>Fill" to `part` (0 to 1) of its trough.
function FillBar(bar, part, width, height)
  part = math.max(0, math.min(1, part))
  Size(bar .. "Fill", math.floor((width - 2) * part + 0.5), height - 2)
end

-- Green when healthy, yellow when hurt, red when nearly dead.
function HealthColour(name, part)
  if part > 0.6 then
    Colour(name, 60, 210, 60)
  elseif part > 0.3 then
    Colour(name, 230, 200, 40)
  else
    Colour(name, 220, 50, 40)
  end
end

-- The selection --------------------------------------------------------

function SelectedUnits()
  local units = {}
  for k = 0, Count(GetNbUnitSelect()) - 1 do
    local unit = Number(GetUnitSelectedID(k))
    if unit >= 0 then
      table.insert(units, unit)
    end
  end
  return units
end

-- What the unit does now, from GetOrder's display code.
OrderNames = { [1] = "Moving", [2] = "Waiting for orders", [3] = "Holding its ground", [4] = "Attacking",
               [5] = "Patrolling", [6] = "Repairing", [7] = "Building" }

function StatusOf(unit)
  if IsInConstruction(unit) == true then
    return "Under construction"
  end
  if IsBuilding(unit) == true then
    return ""
  end
  return OrderNames[Number(GetOrder(unit))] or "Busy"
end

-- "+2" in green, "-1" in red, nothing for no change.
function ShowBonus(name, value, base)
  local bonus = Number(value) - Number(base)
  if bonus > 0 then
    Text(name, "(+" .. bonus .. ")")
    Colour(name, 120, 230, 110)
  elseif bonus < 0 then
    Text(name, "(" .. bonus .. ")")
    Colour(name, 240, 90, 70)
  else
    Text(name, "")
  end
end

PanelSays = ""

function RefreshUnitPanel(units)
  local unit = units[1]
  -- One log line each time the panel turns to another unit or group.
  local says = "nothing selected"
  if unit then
    says = GetName(unit) .. (IsInConstruction(unit) == true and " (under construction)" or "")
      .. ", " .. table.getn(units) .. " selected"
  end
  if says ~= PanelSays then
    PanelSays = says
    Log("Unit panel: " .. says)
  end
  Show("UnitPanel", unit ~= nil)
  if not unit then
    return
  end
  Picture("UnitPortraitIcon", GetUnitIcon(unit))
  Text("UnitName", GetName(unit))
  Text("UnitStatus", StatusOf(unit))

  local hp, maxHp = Count(GetHP(unit)), Count(GetMaxHP(unit))
  local mp, maxMp = Count(GetMP(unit)), Count(GetMaxMP(unit))
  local health = maxHp > 0 and hp / maxHp or 0
  FillBar("UnitHP", health, 120, 12)
  HealthColour("UnitHPFill", health)
  Text("UnitHPText", hp .. " / " .. maxHp)
  Show("UnitMP", maxMp > 0)
  Show("UnitMPText", maxMp > 0)
  if maxMp > 0 then
    FillBar("UnitMP", mp / maxMp, 120, 8)
    Colour("UnitMPFill", 70, 120, 235)
    Text("UnitMPText", mp .. " / " .. maxMp)
  end

  local group = table.getn(units) > 1
  Show("UnitStats", not group)
  if not group then
    -- Walls and workshops that never strike show no damage.
    local strikes = Number(GetDamage(unit)) ~= 0 or Number(GetBaseDamage(unit)) ~= 0
    Show("DamageLabel", strikes)
    Show("DamageValue", strikes)
    Show("DamageBonus", strikes)
    Text("DamageValue", Number(GetDamage(unit)))
    ShowBonus("DamageBonus", GetDamage(unit), GetBaseDamage(unit))
    Text("DefenseValue", Number(GetDefense(unit)))
    ShowBonus("DefenseBonus", GetDefense(unit), GetBaseDefense(unit))
    RefreshEffects(unit)
  end
  RefreshGroup(group and units or {})
  RefreshWork(not group and unit or nil)
end

-- The live effects on the unit, by the icon of the ability behind each.
function RefreshEffects(unit)
  local count = Count(GetEffectsCount(unit))
  for i = 1, EffectCount do
    local icon = i <= count and GetEffectIcon(unit, i) or -1
    local live = type(icon) == "string"
    Show("Effect" .. i, live)
    if live then
      Picture("Effect" .. i .. "Icon", icon)
    end
  end
end

-- Portraits of a selected group, with their hit points and mana.
GroupUnits = {}

function RefreshGroup(units)
  GroupUnits = units
  for i = 1, GroupSize do
    local slot = "GroupSlot" .. i
    local unit = units[i]
    Show(slot, unit ~= nil)
    if unit then
      Picture(slot .. "Icon", GetUnitIcon(unit))
      local maxHp, maxMp = Count(GetMaxHP(unit)), Count(GetMaxMP(unit))
      local health = maxHp > 0 and Count(GetHP(unit)) / maxHp or 0
      Size(slot .. "HP", math.floor(50 * math.min(1, health) + 0.5), 4)
      HealthColour(slot .. "HP", health)
      Show(slot .. "MPTrough", maxMp > 0)
      Show(slot .. "MP", maxMp > 0)
      if maxMp > 0 then
        Size(slot .. "MP", math.floor(50 * math.min(1, Count(GetMP(unit)) / maxMp) + 0.5), 3)
      end
    end
  end
end

-- A building's construction, queue and the workers inside it; a unit's nothing.
WorkUnit = nil

function RefreshWork(unit)
  WorkUnit = unit
  local building = unit ~= nil and IsBuilding(unit) == true
  local rising = building and IsInConstruction(unit) == true
  local queue = 0
  local inside = 0
  if building and not rising then
    queue = Count(GetBuildingQueueLength(unit))
    inside = Count(GetTrainingListLength(unit))
  end
  local mine = unit ~= nil and ValidUnit(unit) == true

  if rising then
    local done = Number(GetBuildingPercent(unit))
    Text("WorkText", "Construction " .. math.floor(done * 100) .. "%")
    FillBar("WorkBar", done, 210, 18)
  elseif queue > 0 then
    local done = Number(GetProgressionPercent(unit))
    Text("WorkText", "Training " .. math.floor(done * 100) .. "%   (click to cancel)")
    FillBar("WorkBar", done, 210, 18)
  else
    Text("WorkText", "")
  end
  Show("WorkBar", rising or queue > 0)

  for i = 1, QueueSize do
    local used = mine and i <= queue
    Show("QueueSlot" .. i, used)
    if used then
      Picture("QueueSlot" .. i .. "Icon", GetUnitInQueueIcon(unit, i))
    end
    used = mine and i <= inside
    Show("InsideSlot" .. i, used)
    if used then
      Picture("InsideSlot" .. i .. "Icon", GetUnitInTrainingListIcon(unit, i))
    end
  end
end

-- The command card -----------------------------------------------------
-- Commands[i] says what button i shows and does: icon, key (the letter in
-- its corner), note (its cost), tip (title, cost, text), act (what a click
-- or its key does; nil for a passive ability), shade (0 to 1 of the icon
-- darkened), count (seconds to wait), own (true: the card's own shortcut).

Commands = {}
Cooldowns = {}  -- "unit,slot" -> the longest wait seen since it began, for the shading

function AbilityCommand(unit, slot, mana)
  local key = tostring(GetAbilityShortcut(unit, slot) or "")
  local passive = key == "" or key == "-"
  local cost = Count(GetAbilityCost(unit, slot))
  local wait = Count(GetCooldownRemainingTime(unit, slot))
  local id = unit .. "," .. slot
  if wait > 0 then
    Cooldowns[id] = math.max(Cooldowns[id] or 0, wait)
  else
    Cooldowns[id] = nil
  end
  local command = {
    icon = GetAbilityIcon(unit, slot),
    key = passive and "" or string.upper(key),
    note = cost > 0 and tostring(cost) or "",
    noteColour = { 130, 170, 255 },
    tip = { title = tostring(GetAbilityName(unit, slot)), cost = cost > 0 and cost .. " mana" or "",
            text = tostring(GetAbilityToolTip(unit, slot)),
            hint = passive and "Always at work." or "Key " .. string.upper(key) .. ", then click the target." },
    count = wait > 0 and wait or nil,
  }
  if wait > 0 then
    command.shade = wait / Cooldowns[id]
  elseif mana < cost then
    command.shade = 1
  end
  if not passive then
    command.act = function() AbilityCast(unit, slot) end
  end
  return command
end

function BuildCommand(unit, slot, gold)
  local goldCost = Count(GetBuildingRes1Cost(unit, slot))
  local woodCost = Count(GetBuildingRes2Cost(unit, slot))
  local cost = goldCost .. " gold"
  if woodCost > 0 then
    cost = cost .. ", " .. woodCost .. " wood"
  end
  local verb = IsBuilding(unit) == true and "Trains" or "Builds"
  return {
    icon = GetBuildingIcon(unit, slot),
    name = tostring(GetBuildingName(unit, slot)),
    note = tostring(goldCost),
    noteColour = { 255, 214, 90 },
    tip = { title = verb .. " " .. tostring(GetBuildingName(unit, slot)), cost = cost,
            text = tostring(GetBuildingToolTip(unit, slot)) },
    shade = gold < goldCost and 1 or nil,
    act = function() SetBuilding(unit, slot) end,
    own = true,
  }
end

function UpgradeCommand(unit, slot)
  return {
    icon = GetUpgradeIcon(unit, slot),
    name = tostring(GetUpgradeName(unit, slot)),
    tip = { title = "Research " .. tostring(GetUpgradeName(unit, slot)), cost = "",
            text = tostring(GetUpgradeToolTip(unit, slot)) },
    act = function() LaunchUpgrade(unit, slot) end,
    own = true,
  }
end

StopCommand = {
  icon = "Textures\\Icons\\Commands\\Stop.blp", key = "S",
  tip = { title = "Stop", cost = "", text = "Drops every order and waits.", hint = "Key S" },
  act = function() StopUnit() end,
}
HoldCommand = {
  icon = "Textures\\Icons\\Commands\\Hold.blp", key = "T",
  tip = { title = "Hold position", cost = "", text = "Stays on this spot and fights what comes in reach.",
          hint = "Key T" },
  act = function() Hold() end,
}

-- The card's own key for each train, build and upgrade button: the first
-- letter of its name that neither the engine nor another button of the card
-- uses, else any free letter.
function GiveKeys(commands)
  local taken = EngineKeys
  for _, command in ipairs(commands) do
    taken = taken .. (command.key or "")
  end
  for _, command in ipairs(commands) do
    if command.own then
      local letters = string.upper(command.name or "") .. "EIJLMOQUXYZ"
      for letter in string.gmatch(letters, "%a") do
        if not string.find(taken, letter, 1, true) then
          command.key = letter
          taken = taken .. letter
          break
        end
      end
      command.key = command.key or ""
      if command.key ~= "" then
        command.tip.hint = "Key " .. command.key
      end
    end
  end
end

-- What the first selected unit offers, if it is this player's.
function CommandsOf(unit)
  local commands = {}
  if not unit or ValidUnit(unit) ~= true or IsInConstruction(unit) == true then
    return commands
  end
  local mana = Count(GetMP(unit))
  local gold = Count(GetRes1())
  for slot = 0, Count(GetAbilityCount(unit)) - 1 do
    table.insert(commands, AbilityCommand(unit, slot, mana))
  end
  for slot = 0, Count(GetBuildingsCount(unit)) - 1 do
    table.insert(commands, BuildCommand(unit, slot, gold))
  end
  for slot = 0, Count(GetUpgradesCount(unit)) - 1 do
    if IsUpgradeAvailable(unit, slot) == true then
      table.insert(commands, UpgradeCommand(unit, slot))
    end
  end
  GiveKeys(commands)
  -- Stop and Hold in the last two places, whatever fills the rest.
  while table.getn(commands) > CommandCount - 2 do
    table.remove(commands)
  end
  if IsBuilding(unit) ~= true then
    commands[CommandCount - 1] = StopCommand
    commands[CommandCount] = HoldCommand
  end
  return commands
end

function RefreshCommands(units)
  Commands = CommandsOf(units[1])
  for i = 1, CommandCount do
    local button = "CommandButton" .. i
    local command = Commands[i]
    Show(button, command ~= nil)
    if command then
      Picture(button .. "Icon", command.icon)
      Text(button .. "Text", command.key)
      Text(button .. "Note", command.note)
      if command.noteColour then
        Colour(button .. "Note", command.noteColour[1], command.noteColour[2], command.noteColour[3])
      end
      Text(button .. "Count", command.count)
      local shade = command.shade or 0
      Show(button .. "Shade", shade > 0)
      if shade > 0 then
        Size(button .. "Shade", 64, math.max(1, math.floor(64 * math.min(1, shade) + 0.5)))
      end
    end
  end
  if TooltipButton then
    ButtonHover(TooltipButton, true)
  end
end

function RunCommand(i)
  local command = Commands[i]
  if command and command.act then
    command.act()
    PanelDirty = true
  end
end

-- Tooltips ---------------------------------------------------------------

TooltipButton = nil

-- Breaks `text` between words into lines that fit the tooltip.
function WrapLines(text, width, most)
  local font = GetFont("TooltipLine1")
  local lines, line = {}, ""
  for word in string.gmatch(text, "%S+") do
    local longer = line == "" and word or line .. " " .. word
    if line ~= "" and GetStringWidth(longer, font) > width then
      table.insert(lines, line)
      line = word
    else
      line = longer
    end
  end
  table.insert(lines, line)
  while table.getn(lines) > most do
    table.remove(lines)
  end
  return lines
end

function TipOf(button)
  local _, _, i = string.find(button, "^CommandButton(%d+)$")
  if i then
    local command = Commands[tonumber(i)]
    return command and command.tip
  end
  _, _, i = string.find(button, "^QueueSlot(%d+)$")
  if i then
    return { title = "In the queue", cost = "", text = "Click to cancel it; nothing was paid yet." }
  end
  _, _, i = string.find(button, "^InsideSlot(%d+)$")
  if i then
    return { title = "Working inside", cost = "", text = "Click to send this worker out." }
  end
  _, _, i = string.find(button, "^GroupSlot(%d+)$")
  if i and GroupUnits[tonumber(i)] then
    local unit = GroupUnits[tonumber(i)]
    return { title = tostring(GetName(unit)), cost = Count(GetHP(unit)) .. " / " .. Count(GetMaxHP(unit)),
             text = "Click to select this unit alone." }
  end
end

function ButtonHover(button, inside)
  local tip = inside and TipOf(button)
  if not tip then
    if TooltipButton == button or not inside then
      TooltipButton = nil
      Show("Tooltip", false)
    end
    return
  end
  TooltipButton = button
  Text("TooltipTitle", tip.title)
  Text("TooltipCost", tip.cost)
  local lines = WrapLines(tip.text or "", 460, 3)
  for i = 1, 3 do
    Text("TooltipLine" .. i, lines[i])
  end
  Text("TooltipLine4", tip.hint)
  Show("Tooltip", true)
end

-- Resources, warning, health bars ----------------------------------------

function RefreshResources()
  Text("GoldText", Count(GetRes1()))
  Text("WoodText", Count(GetRes2()))
  local units = tostring(Count(GetPopCount()))
  if Texts["UnitsText"] ~= units then
    Log("Units: " .. units)
  end
  Text("UnitsText", units)
end

function RefreshWarning()
  local text = tostring(GetWarningText() or "")
  if (Texts["WarningText"] or "") ~= text then
    Log(text == "" and "Advice line cleared" or "Advice line: " .. text)
  end
  Text("WarningText", text)
end

-- A bar over each unit the engine drew last, at the point it projected
-- above the unit; units under the panels get none.
function RefreshHealthBars()
  local shown = 0
  for k = 0, Count(GetNbUnitVisible()) - 1 do
    if shown >= HealthBarCount then
      break
    end
    local unit = Number(GetUnitVisibleID(k))
    -- Scenery (the map's stones, of no race) wears none.
    local maxHp = unit >= 0 and Number(GetUnitRace(unit)) >= 0 and Count(GetMaxHP(unit)) or 0
    local hp = maxHp > 0 and Count(GetHP(unit)) or 0
    local x, y = Number(GetInterfacePosX(unit)), Number(GetInterfacePosY(unit))
    if hp > 0 and y > 84 and y < 890 and x > 0 and x < 1600 then
      shown = shown + 1
      local bar = "HealthBar" .. shown
      Place(bar, math.floor(x) - 22, math.floor(y))
      Size(bar .. "Fill", math.floor(42 * math.min(1, hp / maxHp) + 0.5), 5)
      HealthColour(bar .. "Fill", hp / maxHp)
      Show(bar, true)
    end
  end
  for i = shown + 1, HealthBarCount do
    Show("HealthBar" .. i, false)
  end
end

-- The screen's clock ----------------------------------------------------

-- An engine without the game functions (a build that lacks them) keeps the
-- chat and the banner and says so once in the log.
GameFunctions = type(GetNbUnitSelect) == "function"
PanelDirty = true
SinceRefresh = 0

function RefreshPanels()
  -- A button that went away under the pointer hears no OnLeave.
  if TooltipButton and Shown[TooltipButton] == false then
    ButtonHover(TooltipButton, false)
  end
  local units = SelectedUnits()
  RefreshUnitPanel(units)
  RefreshCommands(units)
  RefreshResources()
  RefreshWarning()
  PanelDirty = false
  SinceRefresh = 0
end

function GameUpdate()
  if not GameFunctions then
    return
  end
  SinceRefresh = SinceRefresh + GetElapsed()
  if PanelDirty or SinceRefresh >= RefreshEvery then
    RefreshPanels()
  end
  RefreshHealthBars()
end

function GameEvent()
  ButtonReleasedElsewhere()
  if event == Event.ButtonDown then
    -- A click anywhere but on the chat field takes the keyboard from it.
    if not ChatFieldClicked then
      FocusField(nil)
    end
    ChatFieldClicked = false
  elseif event == Event.WarningChanged and GameFunctions then
    RefreshWarning()
  elseif event == Event.UnitChanged or event == Event.BuildingQueueChanged
      or event == Event.TrainingListChanged or event == Event.UnitCountChanged then
    PanelDirty = true
  end
end

function ChatClicked()
  ChatFieldClicked = true
  FocusField("ChatField")
end

-- Keys: the chat field's while it has the keyboard; otherwise Enter opens
-- it and letters reach the command card's own shortcuts.
function GameKey()
  if FocusedField then
    FieldKey(FocusedField)
    return
  end
  if arg1 == Char.Enter then
    FocusField("ChatField")
  elseif arg1 < 0 and not GetControlState() then
    local code = -arg1
    if code >= 65 and code <= 90 then
      local letter = string.char(code)
      for i = 1, CommandCount do
        local command = Commands[i]
        if command and command.own and command.key == letter then
          RunCommand(i)
          return
        end
      end
    end
  end
end

-- Clicks ----------------------------------------------------------------

for i = 1, CommandCount do
  local n = i
  ButtonActions["CommandButton" .. n] = function() RunCommand(n) end
end
for i = 1, QueueSize do
  local n = i
  ButtonActions["QueueSlot" .. n] = function()
    if WorkUnit then
      DeleteFromBuildingQueue(WorkUnit, n)
      PanelDirty = true
    end
  end
  ButtonActions["InsideSlot" .. n] = function()
    if WorkUnit then
      DeleteFromTrainingList(WorkUnit, n)
      PanelDirty = true
    end
  end
end
for i = 1, GroupSize do
  local n = i
  ButtonActions["GroupSlot" .. n] = function()
    if GroupUnits[n] then
      ChangeSelectedUnit(GroupUnits[n])
      PanelDirty = true
    end
  end
end

function GameStart()
  local nick = tostring(NetValue("getNickFromMenu", ""))
  SetText("PlayerName", FitText("PlayerName", nick ~= "" and nick or DefaultNick, 520))
  if not GameFunctions then
    Log("The game functions are missing: the game screen shows the chat alone")
  end
  AddLine("The battle has begun. Press Enter to speak to every player.")
end

Log("Game scripts loaded")
