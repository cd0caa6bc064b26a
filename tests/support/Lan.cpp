#include "Lan.h"

#include "TestSupport.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <regex>
#include <sstream>
#include <vector>

namespace testing_support {

namespace {

const char* const Prefix = "vrax-lan-";

// Namespaces left by a test run that was killed before it could clean up.
void removeStale()
{
    std::istringstream list(capture("ip netns list 2>/dev/null"));
    std::string line;
    while (std::getline(list, line)) {
        const std::string name = line.substr(0, line.find(' '));
        if (name.rfind(Prefix, 0) != 0)
            continue;
        const int pid = std::atoi(name.c_str() + std::string(Prefix).size());
        if (pid > 0 && kill(pid, 0) != 0)
            run("ip netns del " + name + " 2>/dev/null");
    }
}

}  // namespace

Lan::Lan(int machines) : prefix_(Prefix + std::to_string(getpid()) + "-"), machines_(machines)
{
    removeStale();
    const std::string sw = prefix_ + "switch";
    std::string script = "set -e; ip netns add " + sw + "; ip -n " + sw + " link add br0 type bridge; ip -n " + sw +
                         " link set br0 up;";
    for (int i = 0; i < machines; ++i) {
        const std::string ns = namespaceOf(i);
        const std::string port = "p" + std::to_string(i);
        script += " ip netns add " + ns + "; ip -n " + ns + " link set lo up;";
        script += " ip -n " + sw + " link add " + port + " type veth peer name eth0 netns " + ns + ";";
        script += " ip -n " + sw + " link set " + port + " master br0 up;";
        script += " ip -n " + ns + " addr add " + addressOf(i) + "/24 dev eth0; ip -n " + ns + " link set eth0 up;";
        script += " ip -n " + ns + " route add default dev eth0;";
        // Lets a copy run by a normal user bind port 240 inside its own namespace only.
        script += " ip netns exec " + ns + " sysctl -qw net.ipv4.ip_unprivileged_port_start=240;";
    }
    ok_ = run("( " + script + " ) >/dev/null 2>&1") == 0;
}

Lan::~Lan()
{
    run("ip netns del " + prefix_ + "switch 2>/dev/null");
    for (int i = 0; i < machines_; ++i)
        run("ip netns del " + namespaceOf(i) + " 2>/dev/null");
}

std::string Lan::namespaceOf(int machine) const
{
    return prefix_ + std::to_string(machine);
}

std::string Lan::addressOf(int machine)
{
    return "10.240.0." + std::to_string(machine + 1);
}

int pingMedianFromHostLog(const std::string& log, int slot)
{
    const std::regex sample("Client " + std::to_string(slot) + " : Adding ping (-?\\d+) to table in pos (\\d+)");
    std::vector<int> samples;
    for (auto it = std::sregex_iterator(log.begin(), log.end(), sample); it != std::sregex_iterator(); ++it)
        samples.push_back(std::stoi((*it)[1]));
    if (samples.size() < 10)
        return -1000;
    samples.resize(10);
    std::sort(samples.begin(), samples.end());
    return samples[4];
}

}  // namespace testing_support
