// The picture files of a folder, as the main window's file list shows them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct PictureFiles {
    // The cp1250 names of the files whose names end, ignoring case, in .jpg, .jpeg, .tif or .tiff, in
    // the order the file system lists them. Folders, whatever their names, are not listed, and neither
    // are hidden files (names starting with a dot), which file managers do not show either.
    std::vector<std::string> names;
    // Picture files left out because cp1250 cannot write their names: such a file can be neither shown
    // nor ordered under its own name.
    std::size_t leftOut = 0;
};

// Lists the folder at the cp1250 path `folder`; none when it cannot be listed (no such folder, no
// access, a virtual shell object). Blocks on the file system; called on the UI thread.
std::optional<PictureFiles> listPictureFiles(std::string_view folder);
