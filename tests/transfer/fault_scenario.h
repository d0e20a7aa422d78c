// Orders sent through broken connections: each order of five photographs (one of them ordered twice)
// goes through the transfer procedure with automatic resume, through a fault proxy with a random plan
// of its own seed, to a lab server running in-process. A customer whose sending stopped early sends the
// order again, as from a fresh sending dialog. Afterwards every order folder on the server is compared
// with what the client sent.
//
// Shared by the fault test of the suite (a fixed seed) and the fault-run program (a fresh seed).
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "support/fault_proxy.h"

namespace transfer_testing {

struct FaultScenario {
    int orders = 10;
    // Order i runs through a proxy whose plan is drawn from firstSeed + i.
    std::uint64_t firstSeed = 1;
    testing_support::FaultOdds odds;
    // The client's limits: short, so that a stalled connection ends soon.
    std::chrono::milliseconds connectLimit{2000};
    std::chrono::milliseconds stallLimit{800};
    // Photographs of different content, sizes drawn evenly between these.
    std::size_t smallestPhoto = 8 * 1024;
    std::size_t largestPhoto = 48 * 1024;
    // A customer gives up sending an order after this many attempts (the order then counts as lost).
    int attempts = 30;
    // Receives a line for every problem found and every attempt that stopped early; may be empty.
    std::function<void(const std::string&)> report;
};

struct FaultOutcome {
    int orders = 0;
    int sent = 0;                                              // orders the client reported sent
    int attempts = 0;                                          // sendings in all, the repeated ones included
    int endedOnServer = 0;                                     // orders the lab server holds closed
    std::size_t connections = 0;                               // through the proxies
    std::size_t faults = 0;                                    // faults that struck
    std::size_t cuts = 0, resets = 0, stalls = 0, delays = 0;  // of them
    int lost = 0;          // photographs or documents missing from a sent order; every file
                           // of an order never sent
    int corrupt = 0;       // files on the server that differ from what the client sent under
                           // that name, or names the client never sent
    int endedTwice = 0;    // orders the lab received closed more than once (in two server
                           // orders, or more ends than the client asked for)
    int clientDamage = 0;  // order.sno or a photograph changed on the client
    int leftovers = 0;     // uploads left in the server's incoming folder
    std::vector<std::string> problems;

    bool clean() const {
        return lost == 0 && corrupt == 0 && endedTwice == 0 && clientDamage == 0 && leftovers == 0 &&
               sent == orders && endedOnServer == sent;
    }
    // "N orders, F faults injected, L lost, C corrupt, E ended twice"
    std::string summary() const;
    // "F faults: c cut, r reset, s stalled, d delayed"
    std::string faultKinds() const;
};

// The odds of the suite's test and of the fault-run: about a quarter of the connections broken.
testing_support::FaultOdds usualFaultOdds();

// Runs the scenario in a temporary folder of its own (the current folder changes while it runs).
FaultOutcome runFaultScenario(const FaultScenario& scenario);

}  // namespace transfer_testing
