// CButtonIcons: a push button that draws a small picture on itself after its standard painting.
//
// The picture is one of the program's 17 by 17 pixel pictures (palette index 0 transparent), loaded when
// it is first drawn. In mode 0 it is drawn twice, at 10, 2 and at the button's width minus 28, 2, so that
// it stands on both sides of the caption; in any other mode once, at 4, 2. Resource id 0 draws nothing.
//
// Attach it to its button in the window's onInit; the window class that owns it must outlive the run.
#pragma once

#include "image/picture.h"
#include "ui/controls/controls.h"

class CButtonIcons {
  public:
    static constexpr int kBothSides = 0;
    static constexpr int kLeftOnly = 1;

    CButtonIcons() = default;
    CButtonIcons(const CButtonIcons&) = delete;
    CButtonIcons& operator=(const CButtonIcons&) = delete;

    // Paints on `button` from now on.
    void Attach(ui::Button& button);
    // Drops the loaded picture, keeps id and mode and repaints the button.
    void SetIcon(int resourceId, int mode);
    // Draws the picture on the button's face.
    void Paint(ui::Canvas& canvas);

    int resourceId() const { return resourceId_; }
    int mode() const { return mode_; }

  private:
    ui::Button* button_ = nullptr;
    Picture picture_;
    int resourceId_ = 0;
    int mode_ = kBothSides;
};
