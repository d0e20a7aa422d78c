// The header picture of the main window: the lab's banner from "hlavicka.jpg" in the working folder
// (the current directory), or the banner built into the program.
//
// The main window owns one HeaderPicture and calls it on the UI thread: pictureToDraw() whenever it
// draws itself, reloadAfterUpdate() after an update downloaded the lab's files. The rules:
// - the file is loaded only while the load counter is 0, that is at the first drawing of a run; each
//   drawing that finds no valid picture counts one attempt;
// - before that, a file that does not start like a JFIF file is deleted;
// - once the counter is above 0, a drawing that finds no valid picture deletes the file;
// - whenever no picture came from the file, the built-in banner is used.
#pragma once

#include <string_view>

#include "image/picture.h"

class HeaderPicture {
  public:
    static constexpr int kWidth = 380;
    static constexpr int kHeight = 50;
    static constexpr Rgb kBackground{170, 170, 170};

    // Applies the rules above and returns the picture to draw at 2, 2 of the window's client area,
    // fitted to kWidth x kHeight; empty when not even the built-in banner could be made.
    const Picture& pictureToDraw();

    // Loads "hlavicka.jpg" again, without the signature check and without counting. When that fails,
    // the picture shown before stays.
    void reloadAfterUpdate();

    // Attempts to load the picture from its file so far (see the rules above).
    int loadCounter() const { return loadCounter_; }

  private:
    Picture picture_;
    int loadCounter_ = 0;
};

// Whether the first bytes of a file (at least the first 11, when the file has them) may start a JFIF
// file: FF D8 FF E0, two bytes of any value, "JFIF" and a zero byte. A file that ends on one of the two
// free bytes still may; one that ends at any other byte of the signature may not.
bool mayBeJfif(std::string_view firstBytes);
