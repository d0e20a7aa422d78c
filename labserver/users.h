// The lab's customers: who may log in, and the customer number each one gets.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace labserver {

enum class LoginResult {
    Accepted,       // a known name with its password
    Anonymous,      // empty name and empty password
    UnknownName,    // a name the users file does not know (or an empty name with a password)
    WrongPassword,  // a known name with another password
};

struct Login {
    LoginResult result = LoginResult::UnknownName;
    // The customer number of an accepted login; kAnonymousCustomer for an anonymous one.
    std::string customer;
};

inline constexpr std::string_view kAnonymousCustomer = "0";

// Checks a name and password (cp1250 bytes, compared exactly) against the users file. The file is read
// anew on each call, so the lab can edit it while the server runs; a missing file knows nobody. Its
// lines hold the name, the password and the customer number separated by blanks or tabs; lines
// starting with '#' and lines with fewer than three words are skipped; the first line of a name counts.
Login checkLogin(const std::filesystem::path& usersFile, std::string_view name, std::string_view password);

}  // namespace labserver
