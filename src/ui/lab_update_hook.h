// The main window's update hook of the product: the update from the lab's server (LabUpdate), with the
// main window's status line, the news message window and the desktop's event dispatching as its view.
#pragma once

#include <chrono>
#include <functional>

#include "transfer/lab_update.h"
#include "ui/order_session.h"

// A hook for MainWindowHooks::runUpdate. The hooks made by one call share the busy flag of the
// update's waiting routine, so a second update started while one waits fails at once. `lookInterval`:
// see LabUpdate.
std::function<void(OrderSession&)> labUpdateHook(
    std::chrono::milliseconds lookInterval = LabUpdate::kLookInterval);
