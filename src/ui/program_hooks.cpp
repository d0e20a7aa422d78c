// The windows and procedures the main window starts in the product.
#include "ui/lab_update_hook.h"
#include "ui/main_window_hooks.h"
#include "ui/order_params_dlg.h"
#include "ui/progress_send_dlg.h"

MainWindowHooks programHooks() {
    MainWindowHooks hooks;
    hooks.runOrderParams = runOrderParams;
    hooks.runSending = runSending;
    hooks.runUpdate = labUpdateHook();
    return hooks;
}
