// A sending window nobody looks at, for the fault runs and the transfer benchmark: logged in as the demo
// customer with automatic resume ticked, showing nothing. What it says, asks and how it sleeps is the
// subclass's.
#pragma once

#include <string>
#include <string_view>

#include "transfer/transfer_order.h"

namespace transfer_testing {

class UnattendedWindow : public TransferWindow {
  public:
    std::string LoginText() override { return "demo"; }
    std::string PasswordText() override { return "demo"; }
    bool AutoResumeTicked() override { return true; }
    bool photobookMode() override { return false; }
    void SetOverallBar(int) override {}
    void SetOverallText(std::string_view) override {}
    void SetFileBar(int) override {}
    void SetFileText(std::string_view) override {}
    void EnableControl(SendControl, bool) override {}
    void ShowControl(SendControl, bool) override {}
    void FocusControl(SendControl) override {}
    void ShowFinished() override {}
    void PumpEvents() override {}
    void BeginKeepAwake() override {}
    void EndKeepAwake() override {}
    bool SaveToDisk() override { return false; }
    void CloseWindow() override {}
};

}  // namespace transfer_testing
