#include "ui/save_to_disk.h"

// Not yet part of the program: nothing is written, so nothing is reported as saved.
bool SaveOrderToDisk(OrderSession& session) {
    session.mainWindow.ShowWindow(true);
    return false;
}
