// A temporary folder for one test, removed with everything in it when the test ends.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace testing_support {

class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's path (file-system text in UTF-8), with the platform's separator (a backslash on
    // Windows).
    const std::string& path() const { return path_; }
    // path() + separator + name; the name may hold further "/" (Windows takes both).
    std::string file(std::string_view name) const;
    // Writes `bytes` exactly to the file `name` (creating folders on the way).
    void write(std::string_view name, std::string_view bytes) const;
    // The exact content of the file `name`; empty when it cannot be read.
    std::string read(std::string_view name) const;
    bool exists(std::string_view name) const;

  private:
    std::string path_;
};

// Makes `folder` the current directory until the scope ends, then returns to where it was.
class CurrentFolderScope {
  public:
    explicit CurrentFolderScope(const std::string& folder);
    ~CurrentFolderScope();
    CurrentFolderScope(const CurrentFolderScope&) = delete;
    CurrentFolderScope& operator=(const CurrentFolderScope&) = delete;

  private:
    std::filesystem::path previous_;
};

}  // namespace testing_support
