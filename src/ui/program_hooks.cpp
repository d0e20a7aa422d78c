// The windows and procedures the main window starts in the product.
#include "ui/main_window_hooks.h"

MainWindowHooks programHooks() {
    return MainWindowHooks{};
}
