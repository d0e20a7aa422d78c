// Saving an order to disk: the order written into a new numbered folder that the customer brings to the
// shop on a CD, a flash disk or a memory card, instead of uploading it.
//
// The folder holds the order file as "000_obj.snf" and a copy of every photograph of the order under the
// name it would have on the lab's server ("%03d_%s_%s": number, order id, file name), so the shop
// prints from it exactly as from an upload. The folder is what the shop gets: nothing is left half
// written under a final name (every file goes to a temporary name beside it and is renamed once
// complete), everything is flushed to the medium before the save counts as done, and whatever failed is
// reported. No windows; UI thread (it only reads the order document).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "documents/order_document.h"

namespace order_folder {

// The name of the order file in the folder.
inline constexpr std::string_view kOrderFileName = "000_obj.snf";

// A photograph of the order that did not reach the folder.
struct CopyProblem {
    enum class Kind {
        Missing,  // the photograph cannot be read where the order has it
        Failed,   // reading or writing broke off: a full or read-only medium, a copy that ended short
    };
    Kind kind = Kind::Failed;
    std::string source;  // the photograph's path
    std::string target;  // the name it has in the folder
};

// What became of one save. The folder counts as saved only when complete().
struct SaveReport {
    std::string folder;  // the order's folder; named even when it could not be created
    bool folderCreated = false;
    bool orderFileWritten = false;
    std::size_t photosCopied = 0;
    std::vector<CopyProblem> problems;  // in slot order
    bool flushed = false;               // every file and the folder reached the medium

    bool complete() const { return folderCreated && orderFileWritten && problems.empty() && flushed; }
};

// The first "Snapord-save-%04d" in `chosenFolder`, counting from 0000, of which no file, folder or
// anything else exists yet.
std::string firstFreeFolder(std::string_view chosenFolder);

// The name a photograph has in the folder and on the lab's server: its number among the used slots
// (1-based, at least three digits), the order id and its file name.
std::string photoName(std::size_t number, std::string_view orderId, std::string_view fileName);

// Creates the first free folder in `chosenFolder` and writes the order of `document` into it: the order
// file, then every used slot in slot order. A photograph that cannot be copied still uses up its number,
// so the names stay those of the order file. Nothing outside the new folder is touched.
SaveReport saveOrder(const OrderDocument& document, std::string_view chosenFolder);

}  // namespace order_folder
