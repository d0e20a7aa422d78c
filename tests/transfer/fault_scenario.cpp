#include "fault_scenario.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <set>

#include "documents/order_document.h"
#include "labserver/lab_server.h"
#include "order/order_list.h"
#include "order/order_state_file.h"
#include "standard_order.h"
#include "support/temp_folder.h"
#include "text/cp1250.h"
#include "transfer/server_request.h"
#include "transfer/transfer_order.h"
#include "unattended_window.h"

namespace transfer_testing {

namespace fs = std::filesystem;
using testing_support::FaultOdds;
using testing_support::FaultPlan;
using testing_support::FaultProxy;

namespace {

constexpr std::string_view kEndingOrder = "Ukončuji objednávku..."_cz;
constexpr int kPhotographs = 5;
// The order of the slots: the second photograph is ordered twice.
constexpr int kSlotPhoto[kPhotographs] = {0, 1, 2, 1, 3};

std::string randomBytes(std::size_t size, std::mt19937_64& random) {
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random() & 0xff);
    return bytes;
}

std::string readWhole(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The sending dialog as the scenario's customer drives it: automatic resume ticked, no question
// expected (no product needs a price), a virtual clock, and no events to dispatch.
class CustomerWindow final : public UnattendedWindow {
  public:
    int endsAsked = 0;  // how many times the end of the order was sent
    std::vector<std::string> unexpected;

    void ShowStatus(std::string_view text) override {
        if (text == kEndingOrder)
            ++endsAsked;
    }
    void Warn(std::string_view) override {}
    bool Ask(std::string_view text, std::string_view) override {
        unexpected.push_back("a question: " + std::string(text));
        return false;
    }
    void Sleep(int milliseconds) override { now += milliseconds; }

    std::int64_t now = 0;
};

const char* resultName(TransferResult result) {
    switch (result) {
        case TransferResult::NotRun:
            return "not run";
        case TransferResult::CredentialsTooShort:
            return "credentials too short";
        case TransferResult::LoginRefused:
            return "login refused";
        case TransferResult::DocumentsFailed:
            return "documents failed";
        case TransferResult::PriceDeclined:
            return "price declined";
        case TransferResult::SavedToDisk:
            return "saved to disk";
        case TransferResult::NotSavedToDisk:
            return "not saved to disk";
        case TransferResult::CancelledBeforePhotos:
            return "cancelled before the photographs";
        case TransferResult::NoPhotographs:
            return "no photographs";
        case TransferResult::PhotoFailed:
            return "photograph failed";
        case TransferResult::PhotoUnreadable:
            return "photograph unreadable";
        case TransferResult::PhotoLoginRefused:
            return "photograph: login refused";
        case TransferResult::UploadCancelled:
            return "upload cancelled";
        case TransferResult::EndFailed:
            return "end failed";
        case TransferResult::CancelledOrder:
            return "cancelled order";
        case TransferResult::Sent:
            return "sent";
    }
    return "?";
}

// Sends order `index` until it is sent or the customer gives up, then checks every order folder the
// server handed out for it.
class OrderRun {
  public:
    OrderRun(const FaultScenario& scenario, int index, labserver::LabServer& server, const fs::path& photos,
             FaultOutcome& outcome)
        : scenario_(scenario), index_(index), server_(server), photos_(photos), outcome_(outcome) {}

    void run() {
        makePhotographs();
        saveOrderList();
        std::set<std::string> before;
        for (const auto& order : server_.orders())
            before.insert(order.id);

        const std::uint64_t seed = scenario_.firstSeed + static_cast<std::uint64_t>(index_);
        FaultProxy proxy(static_cast<std::uint16_t>(server_.port()), FaultPlan::random(seed, scenario_.odds));
        ServerRequest request;
        request.SetServerUrl(proxy.url());
        request.SetTimeLimits({scenario_.connectLimit, scenario_.stallLimit});

        bool sent = false;
        std::string sentId;
        int endsAsked = 0;
        for (int attempt = 0; attempt < scenario_.attempts && !sent; ++attempt) {
            ++outcome_.attempts;
            CustomerWindow window;
            TransferOrder transfer(
                document_, request, window,
                TransferTimings{std::chrono::milliseconds(1), std::chrono::milliseconds(1)});
            transfer.Run(false);
            for (const std::string& line : window.unexpected)
                problem(line);
            if (transfer.result() == TransferResult::Sent) {
                sent = true;
                sentId = transfer.identity().orderId;
                endsAsked = window.endsAsked;
            } else {
                note("attempt " + std::to_string(attempt + 1) + " stopped: " + resultName(transfer.result()));
                askedEnds_[transfer.identity().orderId] += window.endsAsked;
            }
        }
        askedEnds_[sentId] += endsAsked;
        outcome_.connections += proxy.connections();
        outcome_.faults += proxy.injected();
        outcome_.cuts += proxy.injected(testing_support::FaultKind::Cut);
        outcome_.resets += proxy.injected(testing_support::FaultKind::Reset);
        outcome_.stalls += proxy.injected(testing_support::FaultKind::Stall);
        outcome_.delays += proxy.injected(testing_support::FaultKind::Delay);

        if (sent)
            ++outcome_.sent;
        else
            problem("never sent after " + std::to_string(scenario_.attempts) + " attempts");
        checkServer(before, sent ? sentId : std::string());
        checkClient();
    }

  private:
    void makePhotographs() {
        std::mt19937_64 random(0x5eedULL * 1000003ULL + static_cast<std::uint64_t>(index_));
        std::uniform_int_distribution<std::size_t> size(scenario_.smallestPhoto, scenario_.largestPhoto);
        for (int photo = 0; photo < 4; ++photo) {
            const std::string name = "IMG_" + std::to_string(index_) + "_" + std::to_string(photo) + ".jpg";
            contents_.push_back(randomBytes(size(random), random));
            names_.push_back(name);
            std::ofstream(photos_ / name, std::ios::binary) << contents_.back();
        }
        useStandardOrder(document_);
        for (int slot : kSlotPhoto) {
            if (document_.addEntry(photos_.string(), names_[static_cast<std::size_t>(slot)]) !=
                AddEntryResult::Added)
                problem("the photograph could not be added to the order");
        }
    }

    // The main window's order list of the same photographs, as it stands while the order is sent.
    void saveOrderList() {
        OrderList list;
        for (int slot : kSlotPhoto)
            list.add("10x15", "lesk", "bez", "1",
                     (photos_ / names_[static_cast<std::size_t>(slot)]).string());
        if (!saveOrder(list, "order.sno"))
            problem("order.sno could not be saved");
        orderState_ = readWhole("order.sno");
    }

    // What the client sent under each name of the server order `record`: the documents as they are
    // written for that order, and each photograph under its number.
    std::map<std::string, std::string> expectedFiles(const labserver::OrderRecord& record) {
        std::map<std::string, std::string> files;
        const OrderIdentity kept = document_.identity();
        document_.setIdentity({record.date, record.folderName, record.customer, record.id});
        const fs::path written = photos_.parent_path() / "expected";
        if (document_.writeOrderFile((written / "obj.snf").string()) == 0)
            files["000_" + record.id + ".snf"] = readWhole(written / "obj.snf");
        if (document_.writeLaceFile((written / "obj.lace").string()) == 0)
            files["000_" + record.id + ".lace"] = readWhole(written / "obj.lace");
        document_.setIdentity(kept);
        for (int slot = 0; slot < kPhotographs; ++slot) {
            const auto photo = static_cast<std::size_t>(kSlotPhoto[slot]);
            files[TransferOrder::RemoteName(slot + 1, record.id, names_[photo])] = contents_[photo];
        }
        return files;
    }

    void checkServer(const std::set<std::string>& before, const std::string& sentId) {
        int closed = 0;
        for (const auto& record : server_.orders()) {
            if (before.count(record.id))
                continue;
            const fs::path folder = server_.dataFolder() / "orders" / record.folderName;
            const auto expected = expectedFiles(record);
            std::set<std::string> present;
            for (const auto& entry : fs::directory_iterator(folder)) {
                const std::string name = entry.path().filename().string();
                if (name.empty() || name[0] == '.')
                    continue;
                present.insert(name);
                const auto found = expected.find(name);
                if (found == expected.end()) {
                    ++outcome_.corrupt;
                    problem("order " + record.id + " holds " + name + ", which was never sent");
                } else if (readWhole(entry.path()) != found->second) {
                    ++outcome_.corrupt;
                    problem("order " + record.id + ": " + name + " differs from what was sent");
                }
            }
            if (!record.closed())
                continue;
            ++closed;
            ++outcome_.endedOnServer;
            if (record.id != sentId) {
                ++outcome_.endedTwice;
                problem("order " + record.id + " was ended, but the client sent the order as " +
                        (sentId.empty() ? std::string("nothing") : sentId));
            }
            const int asked = askedEnds_[record.id];
            if (record.ends < 1 || static_cast<int>(record.ends) > asked) {
                ++outcome_.endedTwice;
                problem("order " + record.id + " was ended " + std::to_string(record.ends) +
                        " times, the client asked " + std::to_string(asked) + " times");
            }
            for (const auto& [name, bytes] : expected) {
                if (!present.count(name)) {
                    ++outcome_.lost;
                    problem("order " + record.id + " was ended without " + name);
                }
            }
        }
        if (!sentId.empty() && closed == 0) {
            outcome_.lost += kPhotographs + 2;
            problem("the client reported order " + sentId + " sent, but the server did not end it");
        }
        if (sentId.empty() && closed == 0)
            outcome_.lost += kPhotographs + 2;
    }

    void checkClient() {
        if (orderState_.empty() || readWhole("order.sno") != orderState_) {
            ++outcome_.clientDamage;
            problem("order.sno changed");
        }
        for (std::size_t photo = 0; photo < names_.size(); ++photo) {
            if (readWhole(photos_ / names_[photo]) != contents_[photo]) {
                ++outcome_.clientDamage;
                problem(names_[photo] + " changed on the client");
            }
        }
    }

    void note(const std::string& line) {
        if (scenario_.report)
            scenario_.report("order " + std::to_string(index_) + " (seed " +
                             std::to_string(scenario_.firstSeed + static_cast<std::uint64_t>(index_)) +
                             "): " + line);
    }
    void problem(const std::string& line) {
        outcome_.problems.push_back("order " + std::to_string(index_) + ": " + line);
        note("PROBLEM: " + line);
    }

    const FaultScenario& scenario_;
    int index_;
    labserver::LabServer& server_;
    fs::path photos_;
    FaultOutcome& outcome_;
    OrderDocument document_;
    std::vector<std::string> names_;
    std::vector<std::string> contents_;
    std::string orderState_;
    std::map<std::string, int> askedEnds_;  // by order id
};

}  // namespace

std::string FaultOutcome::summary() const {
    return std::to_string(orders) + " orders, " + std::to_string(faults) + " faults injected, " +
           std::to_string(lost) + " lost, " + std::to_string(corrupt) + " corrupt, " +
           std::to_string(endedTwice) + " ended twice";
}

std::string FaultOutcome::faultKinds() const {
    return std::to_string(faults) + " faults: " + std::to_string(cuts) + " cut, " + std::to_string(resets) +
           " reset, " + std::to_string(stalls) + " stalled, " + std::to_string(delays) + " delayed";
}

FaultOdds usualFaultOdds() {
    FaultOdds odds;
    odds.cutRequest = 0.07;
    odds.cutReply = 0.07;
    odds.reset = 0.05;
    odds.stall = 0.02;
    odds.delay = 0.06;
    odds.longestDelay = std::chrono::milliseconds(150);
    return odds;
}

FaultOutcome runFaultScenario(const FaultScenario& scenario) {
    FaultOutcome outcome;
    outcome.orders = scenario.orders;
    testing_support::TempFolder temp;
    const fs::path root = temp.path();
    const fs::path data = root / "data";
    fs::copy(labserver::demoDataFolder(), data, fs::copy_options::recursive);
    fs::remove_all(data / "orders");
    fs::remove_all(data / "incoming");
    fs::create_directories(root / "work");
    fs::create_directories(root / "photos");
    fs::create_directories(root / "expected");

    labserver::LabServerOptions options;
    options.dataFolder = data;
    labserver::LabServer server(options);
    if (!server.start(0)) {
        outcome.problems.push_back("the lab server did not start: " + server.problem());
        ++outcome.lost;
        return outcome;
    }
    {
        testing_support::CurrentFolderScope inWork((root / "work").string());
        for (int index = 0; index < scenario.orders; ++index)
            OrderRun(scenario, index, server, root / "photos", outcome).run();
        server.stop();
    }
    // A broken upload leaves nothing behind in the server's incoming folder.
    for (const auto& entry : fs::directory_iterator(data / "incoming")) {
        ++outcome.leftovers;
        outcome.problems.push_back("left in the incoming folder: " + entry.path().filename().string());
    }
    if (outcome.endedOnServer != outcome.sent)
        outcome.problems.push_back("the server ended " + std::to_string(outcome.endedOnServer) +
                                   " orders, the client sent " + std::to_string(outcome.sent));
    return outcome;
}

}  // namespace transfer_testing
