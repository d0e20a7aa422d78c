// A photobook folder, prepared by another tool, read into the order document.
//
// The folder holds the photobook's parameter file "iof.xml" and one picture file per sheet. The client
// does not read iof.xml; it sends it along as the order's parameter sheet, and every file of the folder
// becomes one slot of the order document, numbered in the order the Windows file system lists the
// folder (by name, ignoring case), so the sheets keep their numbers from one run to the next.
// Subfolders are skipped. No windows; UI thread.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "documents/order_document.h"

namespace photobook_folder {

inline constexpr std::string_view kParameterFile = "iof.xml";

struct Listing {
    enum class Result {
        Ready,         // files holds the photobook, in listing order
        NoPhotobook,   // iof.xml is missing, is a folder or cannot be read
        NotListed,     // the folder cannot be entered or read
        TooManyFiles,  // more files than the order document has slots (fileCount tells how many)
        NameNotFit,    // a file name that the program's texts cannot hold (badName shows it)
        NameTooLong,   // the folder's path is longer than the order document keeps (badName)
    };
    Result result = Result::NotListed;
    std::vector<std::string> files;  // the names of the folder's files (no subfolders)
    std::size_t fileCount = 0;
    std::string badName;
};

// Checks and lists the photobook folder. Only a Ready listing may become an order.
Listing list(std::string_view folder);

// Empties the order document and fills one slot per file of `files`, from the first slot on: iof.xml
// as the photobook's parameters (format 87), every other file as a sheet (format 153); paper 1, border
// 1, one copy, marked as a photobook file. The order parameters stay as they are.
void fill(OrderDocument& document, std::string_view folder, const std::vector<std::string>& files);

}  // namespace photobook_folder
