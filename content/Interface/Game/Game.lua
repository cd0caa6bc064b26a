-- Behaviour of the game screen: the banner, the readouts and the chat.
-- The widgets (console, text field, clock) are Shared/Widgets.lua, included
-- first. Loaded by Interface.xml before its frames, so their handlers can
-- call it.

ConsoleSize = 8
ConsoleWidth = 840
DefaultNick = "Commander"

FieldLimits = { ChatField = 200 }
FieldEnterActions = { ChatField = function() SendChatFrom("ChatField", GetText("PlayerName")) end }

-- The chat field is the only field: it keeps the keyboard.
function FieldOrder()
  return { "ChatField" }
end

function GameStart()
  local nick = tostring(NetValue("getNickFromMenu", ""))
  SetText("PlayerName", FitText("PlayerName", nick ~= "" and nick or DefaultNick, 520))
  FocusField("ChatField")
  AddLine("The battle has begun. Type and press Enter to speak to every player.")
end

Log("Game scripts loaded")
