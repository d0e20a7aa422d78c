#include "platform/shell_open.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/fs_names.h"

#ifdef _WIN32
#include <shellapi.h>
#include <windows.h>
#else
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace platform {

bool isAddress(std::string_view target) {
    const auto colon = target.find(':');
    if (colon == std::string_view::npos || colon < 2)
        return false;  // "C:\..." is a drive letter, not a scheme
    // A scheme starts with a letter; anything else (say "--option:x") must never reach the opener as an
    // argument it could take for an option.
    const char first = target[0];
    if (!((first >= 'a' && first <= 'z') || (first >= 'A' && first <= 'Z')))
        return false;
    for (std::size_t i = 0; i < colon; ++i) {
        const char c = target[i];
        const bool schemeChar = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                                c == '+' || c == '-' || c == '.';
        if (!schemeChar)
            return false;
    }
    return true;
}

namespace {

#ifdef _WIN32
bool launch(const std::string& argument) {
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteA(nullptr, "open", argument.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}
#else
// Whether an executable of this name is on the PATH.
bool onPath(const char* name) {
    const char* path = std::getenv("PATH");
    if (path == nullptr)
        return false;
    std::string_view folders(path);
    while (!folders.empty()) {
        const auto end = folders.find(':');
        const std::string candidate = std::string(folders.substr(0, end)) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0)
            return true;
        if (end == std::string_view::npos)
            break;
        folders.remove_prefix(end + 1);
    }
    return false;
}

// Starts xdg-open in a grandchild, so that no zombie stays behind and the opened program outlives us
// without being our child. Only async-signal-safe calls happen between fork and exec.
bool launch(const std::string& argument) {
    if (!onPath("xdg-open"))
        return false;
    const char* const argv[] = {"xdg-open", argument.c_str(), nullptr};
    const pid_t child = fork();
    if (child < 0)
        return false;
    if (child == 0) {
        setsid();
        const pid_t grandchild = fork();
        if (grandchild == 0) {
            execvp(argv[0], const_cast<char* const*>(argv));
            _exit(127);
        }
        _exit(grandchild < 0 ? 1 : 0);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
#endif

}  // namespace

bool openWithShell(std::string_view target) {
    if (target.empty())
        return false;
    if (isAddress(target))
        return launch(std::string(target));
    const auto path = toFsPath(target);
    if (!path)
        return false;
    std::error_code error;
    const auto absolute = std::filesystem::absolute(*path, error);
    if (error || !std::filesystem::exists(absolute, error))
        return false;
#ifdef _WIN32
    return launch(std::string(target));
#else
    return launch(absolute.native());
#endif
}

}  // namespace platform
