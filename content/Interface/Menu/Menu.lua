-- Behaviour of the main menu: the console, text fields and buttons.
-- Loaded by Interface.xml before its frames, so their handlers can call it.

ConsoleSize = 6
ConsoleLines = {}

-- The engine hands every console line (chat, diagnostics) to AddLine.
function AddLine(text)
  table.insert(ConsoleLines, text)
  if table.getn(ConsoleLines) > ConsoleSize then
    table.remove(ConsoleLines, 1)
  end
  for i = 1, ConsoleSize do
    SetText("ConsoleLine" .. i, ConsoleLines[i] or "")
  end
end

-- A text field hears every key: arg1 > 0 is a typed character, arg1 < 0 a
-- key going down. Backspace arrives as the character 8, Enter as 13.
function EditFieldKey(field, maxLength)
  if arg1 < 0 then
    return
  end
  local textName = field .. "Text"
  local text = GetText(textName)
  if arg1 == 8 then
    text = string.sub(text, 1, -2)
  elseif arg1 == 13 then
    Log("Nickname: " .. text)
    return
  elseif arg1 >= 32 and string.len(text) < maxLength then
    text = text .. string.char(arg1)
  end
  SetText(textName, text)
end

function MenuButtonClicked(button)
  if button == "QuitButton" then
    Quit()
  else
    AddLine(button .. " is not ready yet.")
  end
end

Log("Menu scripts loaded")
