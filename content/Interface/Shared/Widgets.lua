-- Widgets every interface shares: the console that AddLine fills, buttons,
-- one-line text fields with a caret, and the clock and FPS readout. An
-- interface includes this first, then its own script, which fills the
-- tables below (ButtonActions, FieldLimits, FieldEnterActions, ...) and may
-- change ConsoleSize and ConsoleWidth. Element names follow the templates of
-- Shared/Templates.xml: a button "X" has "XHighlight", "XPushed" and
-- "XText"; a field "F" has "FText" and "FCaret"; the console's lines are
-- "ConsoleLine1" to "ConsoleLine<ConsoleSize>".

-- The engine's codes ---------------------------------------------------

-- The interface events: the value of `event` in OnEvent handlers.
Event = {
  UnitChanged = 1,           -- a unit, its effects or the selection changed
  ButtonDown = 2,            -- arg1: a Button
  ButtonUp = 3,              -- arg1: a Button
  OrderStarted = 4,          -- arg1: the order's script code
  OrderEnded = 5,
  ServerClosed = 7,          -- the host closed the server
  BuildingQueueChanged = 8,
  WarningChanged = 9,
  TrainingListChanged = 10,
  UnitCountChanged = 11,     -- the local player's unit counter changed
}

-- Mouse buttons: arg1 of ButtonDown and ButtonUp, OnMouseDown and OnMouseUp.
Button = { Left = 1, Right = 2, Other = 3 }

-- Keys going down reach OnKeyDown as arg1 = -Key.X (Windows virtual-key
-- codes; a letter's code is its capital's character code).
Key = {
  Back = 8, Tab = 9, Return = 13, Shift = 16, Control = 17, Menu = 18, Escape = 27, Space = 32,
  Prior = 33, Next = 34, End = 35, Home = 36, Left = 37, Up = 38, Right = 39, Down = 40,
  Insert = 45, Delete = 46, F1 = 112, F12 = 123,
  V = 86,
}

-- Typed characters reach OnKeyDown as arg1 = their code (Latin-1, 0 to 255).
Char = { Backspace = 8, Tab = 9, Enter = 13, Space = 32, Delete = 127 }

ConsoleSize = 8
ConsoleLines = {}
ConsoleWidth = 1360

FocusedField = nil
PressedButton = nil

-- Cuts `text` until it fits `width` units in the font of `fontString`.
function FitText(fontString, text, width)
  local font = GetFont(fontString)
  while string.len(text) > 0 and GetStringWidth(text, font) > width do
    text = string.sub(text, 1, -2)
  end
  return text
end

-- Engine functions ------------------------------------------------------

-- Calls the engine's network function `name` if this build has it; true when it ran.
function CallNet(name, ...)
  local f = _G[name]
  if type(f) == "function" then
    f(...)
    return true
  end
  Log(name .. " is not available: this build has no network")
  return false
end

-- The result of a network getter, or `fallback` when there is none.
function NetValue(name, fallback)
  local f = _G[name]
  if type(f) == "function" then
    local value = f()
    if value ~= nil then
      return value
    end
  end
  return fallback
end

-- Console ---------------------------------------------------------------

-- The engine hands every console line (chat, diagnostics) to AddLine.
function AddLine(text)
  text = string.gsub(tostring(text or ""), "%c", " ")
  table.insert(ConsoleLines, FitText("ConsoleLine1", text, ConsoleWidth))
  while table.getn(ConsoleLines) > ConsoleSize do
    table.remove(ConsoleLines, 1)
  end
  for i = 1, ConsoleSize do
    SetText("ConsoleLine" .. i, ConsoleLines[i] or "")
  end
end

-- A message for the player: logged, then shown in the console over as
-- many lines as it needs, broken between words.
function Tell(text)
  text = string.gsub(tostring(text or ""), "%c", " ")
  Log("Told the player: " .. text)
  local font = GetFont("ConsoleLine1")
  local line = ""
  for word in string.gmatch(text, "%S+") do
    local longer = line == "" and word or line .. " " .. word
    if line ~= "" and GetStringWidth(longer, font) > ConsoleWidth then
      AddLine(line)
      line = "   " .. word
    else
      line = longer
    end
  end
  AddLine(line)
end

-- Buttons ---------------------------------------------------------------

ButtonActions = {}  -- button name -> function run when it is clicked

-- An interface may replace this to hear the pointer cross its buttons (a tooltip).
function ButtonHover(button, inside)
end

function ButtonEnter(button)
  SetVisible(button .. "Highlight", true)
  ButtonHover(button, true)
end

function ButtonLeave(button)
  SetVisible(button .. "Highlight", false)
  ButtonRaise(button)
  ButtonHover(button, false)
end

function ButtonDown(button)
  if arg1 ~= Button.Left then
    return
  end
  PressedButton = button
  SetVisible(button .. "Pushed", true)
  SetY(button .. "Text", 2)
end

function ButtonRaise(button)
  SetVisible(button .. "Pushed", false)
  SetY(button .. "Text", 0)
  if PressedButton == button then
    PressedButton = nil
  end
end

-- A click is a release over the button it was pressed on. The interface
-- sees one button event per drawn frame, so a quick click between two frames
-- arrives as a release alone: that counts too, unless the press was seen on
-- another button.
function ButtonUp(button)
  if arg1 ~= Button.Left then
    return
  end
  local pressed = PressedButton == button or PressedButton == nil
  ButtonRaise(button)
  if pressed then
    ButtonClicked(button)
  end
end

function ButtonClicked(button)
  Log("Clicked " .. button)
  local action = ButtonActions[button]
  if action then
    action()
  end
end

-- For the frame that hears OnEvent: a release away from the pressed button is no click.
function ButtonReleasedElsewhere()
  if event == Event.ButtonUp and PressedButton then
    ButtonRaise(PressedButton)
  end
end

-- Text fields -----------------------------------------------------------

FieldLimits = {}        -- field name -> most characters it takes (40 if not named)
FieldEnterActions = {}  -- field name -> function run on Enter
FieldLeaveActions = {}  -- field name -> function run when the keyboard moves elsewhere

-- The fields Tab walks through, in order; the first is where it starts over.
function FieldOrder()
  return {}
end

function NextField(field)
  local order = FieldOrder()
  for i, name in ipairs(order) do
    if name == field then
      return order[math.fmod(i, table.getn(order)) + 1]
    end
  end
  return order[1] or field
end

function FocusField(field)
  if FocusedField and FocusedField ~= field then
    local leave = FieldLeaveActions[FocusedField]
    if leave then
      leave()
    end
  end
  FocusedField = field
end

-- Characters the fonts can draw, as far as the field has room.
function SetFieldText(field, text)
  text = string.gsub(text, "%c", "")
  local limit = FieldLimits[field] or 40
  if string.len(text) > limit then
    text = string.sub(text, 1, limit)
  end
  SetText(field .. "Text", FitText(field .. "Text", text, GetWidth(field) - 36))
end

-- arg1 > 0: a typed character (a Char); arg1 < 0: a key going down (-Key).
-- One frame with EnableKeyboard hears every key and calls this with the
-- field that has the keyboard, so a key that moves the keyboard acts once.
function FieldKey(field)
  if not field then
    return
  end
  local text = GetText(field .. "Text")
  if arg1 < 0 then
    if arg1 == -Key.V and GetControlState() then
      SetFieldText(field, text .. GetClipBoard())
    end
    return
  end
  if arg1 == Char.Backspace then
    SetFieldText(field, string.sub(text, 1, -2))
  elseif arg1 == Char.Tab then
    FocusField(NextField(field))
  elseif arg1 == Char.Enter then
    local action = FieldEnterActions[field]
    if action then
      action()
    end
  elseif arg1 >= Char.Space and arg1 ~= Char.Delete then
    SetFieldText(field, text .. string.char(arg1))
  end
end

-- The caret blinks twice a second in the field that has the keyboard.
function FieldUpdate(field)
  SetVisible(field .. "Caret", FocusedField == field and math.fmod(Time(), 1000) < 500)
end

-- Sends what `field` holds as a chat line and empties it. Without a network
-- the line only shows in this console, under `nick`.
function SendChatFrom(field, nick)
  local text = GetText(field .. "Text")
  if text == "" then
    return
  end
  if not CallNet("SendChatMessage", text) then
    AddLine(nick .. ": " .. text)
  end
  SetFieldText(field, "")
end

-- Readouts --------------------------------------------------------------

-- The game clock as hours, minutes and seconds; `hours` formats the hours ("%02d" by default).
function ClockText(milliseconds, hours)
  local seconds = math.floor(milliseconds / 1000)
  return string.format((hours or "%02d") .. ":%02d:%02d", math.floor(seconds / 3600),
    math.fmod(math.floor(seconds / 60), 60), math.fmod(seconds, 60))
end

-- Fills "FpsText" and "ClockText".
function StatusUpdate(hours)
  SetText("FpsText", GetFPS() .. " FPS")
  SetText("ClockText", ClockText(Time(), hours))
end
