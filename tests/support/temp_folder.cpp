#include "support/temp_folder.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>
#ifdef _WIN32
#include <random>
#endif

namespace testing_support {

namespace fs = std::filesystem;

namespace {

// The tests name files in UTF-8; Windows paths are UTF-16, which the path makes from char8_t text.
fs::path fsPathOf(const std::string& utf8) {
#ifdef _WIN32
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
#else
    return fs::path(utf8);
#endif
}

}  // namespace

TempFolder::TempFolder() {
#ifdef _WIN32
    // No mkdtemp here: try random names until one is new (create_directory fails on an existing one).
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path candidate = fs::temp_directory_path() / ("snapord-test-" + std::to_string(random()));
        std::error_code error;
        if (fs::create_directory(candidate, error)) {
            const std::u8string utf8 = candidate.u8string();
            path_.assign(utf8.begin(), utf8.end());
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
#else
    std::string pattern = (fs::temp_directory_path() / "snapord-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary folder");
    path_ = pattern;
#endif
}

TempFolder::~TempFolder() {
    std::error_code error;
    fs::remove_all(path_, error);
}

std::string TempFolder::file(std::string_view name) const {
#ifdef _WIN32
    return path_ + "\\" + std::string(name);
#else
    return path_ + "/" + std::string(name);
#endif
}

void TempFolder::write(std::string_view name, std::string_view bytes) const {
    const fs::path target = fsPathOf(file(name));
    fs::create_directories(target.parent_path());
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + target.string());
}

std::string TempFolder::read(std::string_view name) const {
    std::ifstream in(fsPathOf(file(name)), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool TempFolder::exists(std::string_view name) const {
    std::error_code error;
    return fs::exists(fsPathOf(file(name)), error);
}

CurrentFolderScope::CurrentFolderScope(const std::string& folder) : previous_(fs::current_path()) {
    fs::current_path(fsPathOf(folder));
}

CurrentFolderScope::~CurrentFolderScope() {
    std::error_code error;
    fs::current_path(previous_, error);
}

}  // namespace testing_support
