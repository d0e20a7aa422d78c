#include "labserver/users.h"

#include <array>
#include <fstream>

namespace labserver {

namespace {

// The first `words.size()` words of `line`, split at blanks, tabs and CR; false when it has fewer.
bool splitWords(std::string_view line, std::array<std::string_view, 3>& words) {
    std::size_t pos = 0;
    for (auto& word : words) {
        pos = line.find_first_not_of(" \t\r", pos);
        if (pos == std::string_view::npos)
            return false;
        const auto end = std::min(line.find_first_of(" \t\r", pos), line.size());
        word = line.substr(pos, end - pos);
        pos = end;
    }
    return true;
}

}  // namespace

Login checkLogin(const std::filesystem::path& usersFile, std::string_view name, std::string_view password) {
    if (name.empty())
        return {password.empty() ? LoginResult::Anonymous : LoginResult::UnknownName,
                password.empty() ? std::string(kAnonymousCustomer) : std::string()};
    std::ifstream file(usersFile, std::ios::binary);
    std::string line;
    while (std::getline(file, line)) {
        std::array<std::string_view, 3> words;
        if (line.empty() || line.front() == '#' || !splitWords(line, words) || words[0] != name)
            continue;
        if (words[1] != password)
            return {LoginResult::WrongPassword, {}};
        return {LoginResult::Accepted, std::string(words[2])};
    }
    return {LoginResult::UnknownName, {}};
}

}  // namespace labserver
