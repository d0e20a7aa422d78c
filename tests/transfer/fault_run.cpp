// fault-run: sends N orders (default 100) through broken connections to a lab server in-process, each
// order through a proxy with a fresh seed, and checks what arrived (see fault_scenario.h). Prints each
// early stop and problem with the order's seed, so that a failing order can be run again, and as its
// last line "N orders, F faults injected, L lost, C corrupt, E ended twice". Exits 1 unless L, C and E
// are 0 and nothing else was found.
#include <cstdlib>
#include <iostream>
#include <random>
#include <string>

#include "fault_scenario.h"

int main(int argc, char** argv) {
    transfer_testing::FaultScenario scenario;
    scenario.orders = 100;
    if (argc > 1) {
        char* end = nullptr;
        const long orders = std::strtol(argv[1], &end, 10);
        if (*end != '\0' || orders < 1 || orders > 100000) {
            std::cerr << "usage: transfer_fault_run [N orders, default 100] [first seed]\n";
            return 2;
        }
        scenario.orders = static_cast<int>(orders);
    }
    if (argc > 2) {
        scenario.firstSeed = std::strtoull(argv[2], nullptr, 10);
    } else {
        std::random_device device;
        scenario.firstSeed = (static_cast<std::uint64_t>(device()) << 32) | device();
        scenario.firstSeed >>= 8;  // room for the orders' numbers
    }
    scenario.odds = transfer_testing::usualFaultOdds();
    scenario.report = [](const std::string& line) { std::cout << line << std::endl; };
    std::cout << "fault-run: " << scenario.orders << " orders, seeds from " << scenario.firstSeed
              << std::endl;

    const transfer_testing::FaultOutcome outcome = transfer_testing::runFaultScenario(scenario);
    for (const std::string& problem : outcome.problems)
        std::cout << "PROBLEM " << problem << "\n";
    std::cout << outcome.sent << " sent, " << outcome.endedOnServer << " ended on the server, "
              << outcome.attempts << " sendings, " << outcome.connections << " connections, "
              << outcome.clientDamage << " changed on the client, " << outcome.leftovers
              << " left in incoming\n";
    std::cout << outcome.faultKinds() << "\n";
    std::cout << outcome.summary() << std::endl;
    const bool ok =
        outcome.lost == 0 && outcome.corrupt == 0 && outcome.endedTwice == 0 && outcome.problems.empty();
    return ok ? 0 : 1;
}
