// The templates of the program's windows: the main window, the order parameters dialog, the sending
// dialog, the news message and the about box. Built once; read-only; any thread may read them.
#pragma once

#include "ui/controls/dialog_template.h"

const ui::DialogTemplate& aboutTemplate();
const ui::DialogTemplate& mainWindowTemplate();
const ui::DialogTemplate& orderParamsTemplate();
const ui::DialogTemplate& sendingTemplate();
const ui::DialogTemplate& newsTemplate();
