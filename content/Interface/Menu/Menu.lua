-- Behaviour of the main menu: the screens of the right-hand panel, what its
-- buttons and text fields do, the server and player lists and the lobby's
-- launch. The widgets themselves (buttons, fields, console) are
-- Shared/Widgets.lua, included first. Loaded by Interface.xml before its
-- frames, so their handlers can call it. The network functions
-- (CreateServerFromMenu, Refresh, ...) are called only when the engine
-- offers them.

Screens = { "WelcomeScreen", "HostScreen", "FindScreen", "LobbyScreen" }
Servers = {}          -- { address, name, count, info } per game found
Players = {}          -- { nick, address, race, colour, team } per lobby entry
SelectedServer = 0
IsHost = false
Launching = false
NextSyncTime = 0
DefaultNick = "Player"

-- Sides by race number, and the player colours (0..255) by colour number.
SideNames = { [0] = "Keep", [1] = "Great Hall" }
PlayerColours = {
  [0] = { 0, 255, 255 }, [1] = { 255, 0, 255 }, [2] = { 255, 0, 0 }, [3] = { 0, 255, 0 },
  [4] = { 0, 0, 255 }, [5] = { 255, 255, 0 }, [6] = { 255, 255, 255 }, [7] = { 128, 128, 128 },
}

-- Screens ---------------------------------------------------------------

function ShowScreen(screen)
  for _, name in ipairs(Screens) do
    SetVisible(name, name == screen)
  end
  CurrentScreen = screen
  FocusField("NickField")  -- a field on a hidden screen hears no keys
end

-- Buttons ---------------------------------------------------------------

ButtonActions = {
  HostButton = function() OpenHostScreen() end,
  FindButton = function() OpenFindScreen() end,
  QuitButton = function() Quit() end,
  CreateButton = function() CreateGame() end,
  HostBackButton = function() ShowScreen("WelcomeScreen") end,
  RefreshButton = function() RefreshServers() end,
  JoinButton = function() JoinGame(GetText("AddressFieldText")) end,
  FindBackButton = function() ShowScreen("WelcomeScreen") end,
  LaunchButton = function() StartLaunch() end,
  LeaveButton = function() LeaveLobby() end,
}

-- Text fields -----------------------------------------------------------

FieldLimits = { NickField = 24, ServerNameField = 40, ServerInfoField = 60, AddressField = 15, ChatField = 200 }

FieldEnterActions = {
  NickField = function() CommitNick() AddLine("Your name is now " .. GetText("NickFieldText") .. ".") end,
  ServerNameField = function() FocusField("ServerInfoField") end,
  ServerInfoField = function() CreateGame() end,
  AddressField = function() JoinGame(GetText("AddressFieldText")) end,
  ChatField = function() SendChatFrom("ChatField", GetText("NickFieldText")) end,
}

FieldLeaveActions = { NickField = function() CommitNick() end }

-- Tab walks from the name field through the fields of the screen shown.
ScreenFields = {
  WelcomeScreen = {}, HostScreen = { "ServerNameField", "ServerInfoField" },
  FindScreen = { "AddressField" }, LobbyScreen = { "ChatField" },
}

function FieldOrder()
  local order = { "NickField" }
  for _, name in ipairs(ScreenFields[CurrentScreen] or {}) do
    table.insert(order, name)
  end
  return order
end

-- Nobody plays without a name: an empty field gets the default one back.
function CommitNick()
  local nick = GetText("NickFieldText")
  if nick == "" then
    nick = DefaultNick
    SetFieldText("NickField", nick)
  end
  if NetValue("getNickFromMenu", nil) ~= nick then
    CallNet("SetNickFromMenu", nick)
  end
end

-- Hosting ---------------------------------------------------------------

function OpenHostScreen()
  CommitNick()
  ShowScreen("HostScreen")
  if GetText("ServerNameFieldText") == "" then
    local default = NetValue("getServerNameFromMenu", "")
    if default == "" then
      default = GetText("NickFieldText") .. "'s game"
    end
    SetFieldText("ServerNameField", default)
  end
  FocusField("ServerNameField")
end

function CreateGame()
  local name = GetText("ServerNameFieldText")
  if name == "" then
    AddLine("Give your game a name first.")
    FocusField("ServerNameField")
    return
  end
  CommitNick()
  if CallNet("CreateServerFromMenu", name, GetText("ServerInfoFieldText")) then
    IsHost = true
    EnterLobby(name)
    AddLine("Your game \"" .. name .. "\" is open. Others can find it now.")
  else
    AddLine("Hosting needs the network, which this build does not have yet.")
  end
end

-- Finding and joining ---------------------------------------------------

function OpenFindScreen()
  CommitNick()
  ShowScreen("FindScreen")
  RefreshServers()
  FocusField("AddressField")
end

function RefreshServers()
  ListBoxClear("ServerList")
  if CallNet("Refresh") then
    AddLine("Looking for games on the local network...")
  else
    AddLine("Finding games needs the network, which this build does not have yet.")
  end
end

function ShowServers()
  for i = 1, 7 do
    local row = "ServerRow" .. i
    local server = Servers[i]
    SetVisible(row, server ~= nil)
    SetVisible(row .. "Highlight", server ~= nil and i == SelectedServer)
    if server then
      SetText(row .. "Name", FitText(row .. "Name", server.name, 250))
      SetText(row .. "Info", FitText(row .. "Info", server.info, 280))
      SetText(row .. "Players", server.count .. " / 8")
      SetText(row .. "Address", server.address)
    end
  end
  SetVisible("ServerListEmpty", Servers[1] == nil)
end

function RowEnter(row)
  SetColor(row .. "Name", 255, 255, 255)
end

function RowLeave(row)
  SetColor(row .. "Name", 250, 228, 170)
end

-- The first click picks a game and fills in its address; a click on the
-- picked game joins it.
function ServerRowClicked(row)
  if arg1 ~= Button.Left then
    return
  end
  local i = tonumber(string.sub(row, string.len("ServerRow") + 1)) or 0
  local server = Servers[i]
  if not server then
    return
  end
  if SelectedServer == i then
    JoinGame(server.address, server.name)
    return
  end
  SelectedServer = i
  SetFieldText("AddressField", server.address)
  ShowServers()
end

function IsAddress(text)
  local a, b, c, d = string.match(text, "^(%d+)%.(%d+)%.(%d+)%.(%d+)$")
  if not a then
    return false
  end
  for _, part in ipairs({ a, b, c, d }) do
    if tonumber(part) > 255 then
      return false
    end
  end
  return true
end

function JoinGame(address, name)
  if address == "" then
    AddLine("Pick a game from the list or type its address.")
    FocusField("AddressField")
    return
  end
  if not IsAddress(address) then
    AddLine(address .. " is not an address: four numbers from 0 to 255 with dots between, like 192.168.1.20.")
    return
  end
  CommitNick()
  if CallNet("ConnectFromMenu", address, GetText("NickFieldText")) then
    IsHost = false
    EnterLobby(name or address)
    AddLine("Joining " .. address .. "...")
  else
    AddLine("Joining needs the network, which this build does not have yet.")
  end
end

-- The lobby -------------------------------------------------------------

function EnterLobby(title)
  ShowScreen("LobbyScreen")
  SetText("LobbyHeading", FitText("LobbyHeading", title, 840))
  SetVisible("LaunchButton", IsHost)
  SetVisible("WaitLine1", not IsHost)
  SetVisible("WaitLine2", not IsHost)
  SetVisible("SyncBar", false)
  Launching = false
  ListBoxClear("PlayerList")
  CallNet("RefreshPlayerList")
  FocusField("ChatField")
end

function LeaveLobby()
  if IsHost then
    CallNet("UndoCreateServerFromMenu")
  else
    CallNet("DisconnectFromMenu")
  end
  IsHost = false
  Launching = false
  ShowScreen("WelcomeScreen")
  AddLine("You left the lobby.")
end

function ShowPlayers()
  for i = 1, 8 do
    local row = "PlayerRow" .. i
    local player = Players[i]
    SetVisible(row, player ~= nil)
    if player then
      local c = PlayerColours[player.colour] or PlayerColours[6]
      SetColor(row .. "Colour", c[1], c[2], c[3])
      SetText(row .. "Name", FitText(row .. "Name", player.nick, 240))
      SetText(row .. "Side", SideNames[player.race] or "")
      SetText(row .. "Team", tostring(player.team))
    end
  end
end

-- The host measures every player's round trip (ten pings each) before the
-- launch; the bar shows how many rounds the slowest player still needs.
function StartLaunch()
  if type(SynchroniseClients) ~= "function" then
    Log("SynchroniseClients is not available: this build has no network")
    AddLine("Launching needs the network, which this build does not have yet.")
    return
  end
  Launching = true
  NextSyncTime = 0
  SetVisible("LaunchButton", false)
  SetVisible("SyncBar", true)
  SetWidth("SyncFill", 0)
  AddLine("Synchronising the clocks of every player...")
end

function LobbyUpdate()
  if not Launching or Time() < NextSyncTime then
    return
  end
  NextSyncTime = Time() + 100
  local waiting = SynchroniseClients()
  local remaining = math.max(0, math.min(10, tonumber(NetValue("MaxWaitingTime", 0)) or 0))
  SetWidth("SyncFill", math.floor(GetWidth("SyncBar") * (10 - remaining) / 10))
  SetText("SyncText", "Synchronising clocks: " .. (10 - remaining) .. " of 10 rounds")
  if waiting == 1 then
    Launching = false
    SetWidth("SyncFill", GetWidth("SyncBar"))
    SetText("SyncText", "Launching the game")
    BroadCastLaunchGame_()
  end
end

-- Callbacks of the engine's lobby ---------------------------------------

function ListBoxClear(name)
  if name == "PlayerList" then
    Players = {}
    ShowPlayers()
  elseif name == "ServerList" then
    Servers = {}
    SelectedServer = 0
    ShowServers()
  end
end

-- One lobby entry.
function AddServerList5(nick, address, race, colour, team)
  if table.getn(Players) >= 8 then
    return
  end
  table.insert(Players, {
    nick = tostring(nick or ""), address = tostring(address or ""),
    race = tonumber(race) or -1, colour = tonumber(colour) or 6, team = tonumber(team) or 0,
  })
  ShowPlayers()
end

-- One answer to a server query; a game that answers again is updated in place.
function AddServerList4(address, name, count, info)
  local server = {
    address = tostring(address or ""), name = tostring(name or ""),
    count = tonumber(count) or 0, info = tostring(info or ""),
  }
  for i, known in ipairs(Servers) do
    if known.address == server.address then
      Servers[i] = server
      ShowServers()
      return
    end
  end
  if table.getn(Servers) < 7 then
    table.insert(Servers, server)
  end
  ShowServers()
end

-- Events and readouts ---------------------------------------------------

function MenuEvent()
  if event == Event.ServerClosed then
    IsHost = false
    Launching = false
    ShowScreen("FindScreen")
    AddLine("The host has closed the game.")
  else
    ButtonReleasedElsewhere()
  end
end

function MenuStart()
  ShowScreen("WelcomeScreen")
  local nick = tostring(NetValue("getNickFromMenu", ""))
  SetFieldText("NickField", nick ~= "" and nick or DefaultNick)
  FocusField("NickField")
  ShowServers()
  ShowPlayers()
  AddLine("Welcome to Vrax.")
end

Log("Menu scripts loaded")
