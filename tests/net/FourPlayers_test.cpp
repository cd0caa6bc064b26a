// Four copies of the real game on a private LAN, drawing nothing, driven and
// read through the probe (see ProbedGame.h). The second player leaves the
// lobby: the two after it move down a slot on the host and are told so, the
// three who stay launch as the players the host counts them, with the same
// list everywhere, and each one's orders move its unit on every machine.
#include "../support/Lan.h"
#include "../support/ProbedGame.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace testing_support;

namespace {

const char* const Nicks[] = {"Aldric", "Brenna", "Cyra", "Dunn"};

}  // namespace

TEST(FourPlayers, OneLeavesTheLobbyAndTheOthersPlayAsTheHostNumbersThem)
{
    Lan lan(4);
    if (!lan.ok())
        GTEST_SKIP() << "network namespaces need root";
    ScratchDir dir;
    ProbedCopy copies[4];
    ProbedCopy& host = copies[0];
    ProbedCopy& brenna = copies[1];
    ProbedCopy& cyra = copies[2];
    ProbedCopy& dunn = copies[3];
    for (int i = 0; i < 4; ++i)
        copies[i].start(dir.path() + "/" + Nicks[i], lan.namespaceOf(i),
                        {{"Vrax.cfg", std::string("[Player info]\r\nNickname=") + Nicks[i] + "\r\n"}});
    for (ProbedCopy& c : copies)
        ASSERT_TRUE(c.waitForLog("Interface Loaded", 30)) << c.log();

    host.command("lua CreateServerFromMenu('LAN keep', 'four') Log('Hosting')");
    ASSERT_TRUE(host.waitForLog("Hosting")) << host.log();
    for (int i = 1; i < 4; ++i) {
        copies[i].command(std::string("lua ConnectFromMenu('10.240.0.1', '") + Nicks[i] + "')");
        ASSERT_TRUE(host.waitForLog("Client added to cell " + std::to_string(i))) << host.log();
    }
    ASSERT_TRUE(dunn.waitForLog("Public player list added4")) << dunn.log();

    brenna.command("lua DisconnectFromMenu()");
    ASSERT_TRUE(host.waitForLog("Brenna (10.240.0.2) has left the game")) << host.log();
    EXPECT_TRUE(host.waitForLog("Client 2 moved to 1")) << host.log();
    EXPECT_TRUE(host.waitForLog("Client 3 moved to 2")) << host.log();

    bool measured = false;
    for (int round = 0; round < 60 && !measured; ++round) {
        host.command("lua Log('Synchronise: ' .. SynchroniseClients() .. ' waiting ' .. MaxWaitingTime())");
        measured = ProbedCopy::waitUntil([&] { return host.logHas("Synchronise: 1 waiting 0"); }, 0.3);
    }
    ASSERT_TRUE(measured) << host.log();
    host.command("lua BroadCastLaunchGame_()");

    // Each plays the number the host gives its slot, and all list the same three.
    const std::string players = " of 1 Aldric, 2 Cyra, 3 Dunn";
    EXPECT_TRUE(host.waitForLog("Playing as player 1" + players)) << host.log();
    EXPECT_TRUE(cyra.waitForLog("Playing as player 2" + players)) << cyra.log();
    EXPECT_TRUE(dunn.waitForLog("Playing as player 3" + players)) << dunn.log();
    const std::string hostLog = host.log();
    EXPECT_TRUE(cyra.logHas("clock set to " + std::to_string(pingMedianFromHostLog(hostLog, 1)) + " ms"))
        << "Cyra starts at the median measured for her new slot\n" << cyra.log() << hostLog;
    EXPECT_TRUE(dunn.logHas("clock set to " + std::to_string(pingMedianFromHostLog(hostLog, 2)) + " ms"))
        << dunn.log() << hostLog;
    EXPECT_FALSE(brenna.logHas("Game launched")) << brenna.log();

    // Three players' starting units on every machine, none for a fourth.
    const auto started = [](const ProbedTable& t) {
        return t.ownedBy(1).size() == 3 && t.ownedBy(2).size() == 3 && t.ownedBy(3).size() == 3;
    };
    const std::vector<ProbedCopy*> playing = {&host, &cyra, &dunn};
    std::vector<ProbedTable> tables;
    for (ProbedCopy* c : playing)
        tables.push_back(c->waitTable(started, 30));
    for (std::size_t m = 0; m < tables.size(); ++m) {
        ASSERT_TRUE(started(tables[m])) << playing[m]->log();
        EXPECT_TRUE(tables[m].ownedBy(4).empty());
        EXPECT_EQ(tables[m].player, static_cast<int>(m) + 1);
    }

    // Every player walks a unit of its own a few cells; each walk shows on every machine.
    struct Walk {
        int id, x, y;
    };
    std::vector<Walk> walks;
    for (std::size_t m = 0; m < playing.size(); ++m) {
        const ProbedUnit* unit = tables[0].ownedBy(static_cast<int>(m) + 1).front();
        walks.push_back({unit->id, unit->cellX + 6, unit->cellY + 6});
        playing[m]->command("order " + std::to_string(unit->id) + " 1 " + std::to_string(walks.back().x) + " " +
                            std::to_string(walks.back().y) + " 0 0");
    }
    const auto walked = [&](const ProbedTable& t) {
        for (const Walk& w : walks) {
            const ProbedUnit* u = t.byId(w.id);
            if (!u || std::abs(u->cellX - w.x) > 1 || std::abs(u->cellY - w.y) > 1)
                return false;
        }
        return true;
    };
    for (ProbedCopy* c : playing)
        EXPECT_TRUE(walked(c->waitTable(walked, 30))) << readFile(c->game + "/probe/units.txt") << c->log();
}
