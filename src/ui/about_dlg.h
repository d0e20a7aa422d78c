// CAboutDlg: the about box, opened from the main window's system menu. Shows the built-in header
// picture, the program's name and version and the credits; its OK button closes it.
#pragma once

#include "image/picture.h"
#include "ui/controls/dialog.h"

class CAboutDlg : public ui::Dialog {
  public:
    // Where the header picture stands in the client area: centred, this far from the top.
    static constexpr int kHeaderTop = 7;

    void onInit() override;
    void onPaint(ui::Canvas& canvas) override;

  private:
    Picture header_;
};
