// A private LAN for tests: one network namespace per machine, each joined by
// a veth pair to a bridge that lives in a namespace of its own, so nothing
// is added to this machine's own network and no datagram can leave it.
// Machine i has the address 10.240.0.(i+1), lo up, and a default route so
// that broadcasts reach the bridge. Needs root; ok() says whether it worked.
#pragma once

#include <string>

namespace testing_support {

class Lan {
public:
    explicit Lan(int machines);
    // Deletes every namespace made here; their links go with them.
    ~Lan();
    Lan(const Lan&) = delete;
    Lan& operator=(const Lan&) = delete;

    bool ok() const { return ok_; }
    std::string namespaceOf(int machine) const;
    static std::string addressOf(int machine);

private:
    std::string prefix_;
    int machines_;
    bool ok_ = false;
};

// The median the host took for `slot` as its log tells it: the fifth
// smallest of the first ten round trips; -1000 before ten are logged.
int pingMedianFromHostLog(const std::string& log, int slot);

}  // namespace testing_support
