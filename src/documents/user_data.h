// userdata.sno: the last choices of the order parameters dialog, kept between runs.
//
// The file holds three lines, each a signed decimal position ("-1" for no selection): payment, delivery
// (within the deliveries offered for that payment) and shop. Lines end in CR CR LF as the earlier
// versions wrote them. The positions refer to the catalogue as it was when they were saved; the
// parameters dialog applies them and leaves a combo box unselected where a position no longer fits.
// Called on the user-interface thread; the file is opened by its bare name in the working folder.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "app/state_files.h"

struct SavedChoices {
    // Each is present when the file had that line.
    std::optional<std::int32_t> payment;
    std::optional<std::int32_t> delivery;
    std::optional<std::int32_t> shop;
};

// Reads the saved positions; nothing when the file is absent. Only the first 13 lines are looked at, and
// a line without leading digits gives 0.
SavedChoices restoreSavedChoices(std::string_view path = state_files::kUserData);

// Writes the three positions, replacing the file as one step; false (the old file kept) when it cannot
// be written. The dialog goes on either way.
bool saveChoices(std::int32_t payment, std::int32_t delivery, std::int32_t shop,
                 std::string_view path = state_files::kUserData);
