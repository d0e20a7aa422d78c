#include "platform/shell_open.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/fs_names.h"

#ifdef _WIN32
#include <windows.h>
// shellapi.h needs the types windows.h declares.
#include <shellapi.h>
#else
#include <fcntl.h>
#include <poll.h>
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
// The shell's verb "open" on a UTF-16 target; the shell answers a value above 32 when it started the
// application that the target's type is associated with.
bool launch(const std::wstring& target) {
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
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

// How long the opener may take to tell whether it found an application. xdg-open runs some applications
// in the foreground and returns only when they end: one still running after this has started something.
constexpr int kOpenerVerdictMilliseconds = 3000;

// Starts xdg-open detached from this process and tells whether it started anything: xdg-open exits
// non-zero when no application handles the target. A first child forks the watcher and ends at once
// (so no zombie stays behind); the watcher, adopted by init, runs xdg-open, waits for it and writes its
// exit status into a pipe. Only async-signal-safe calls happen between fork and exec; the pipe is
// closed on exec, so the opened application never holds it.
bool launch(const std::string& argument) {
    if (!onPath("xdg-open"))
        return false;
    int verdict[2];
    if (pipe2(verdict, O_CLOEXEC) != 0)
        return false;
    const char* const argv[] = {"xdg-open", argument.c_str(), nullptr};
    const pid_t child = fork();
    if (child < 0) {
        close(verdict[0]);
        close(verdict[1]);
        return false;
    }
    if (child == 0) {
        setsid();
        if (fork() != 0)
            _exit(0);
        // The watcher.
        const pid_t opener = fork();
        if (opener == 0) {
            execvp(argv[0], const_cast<char* const*>(argv));
            _exit(127);
        }
        unsigned char status = 1;
        int raw = 0;
        if (opener > 0) {
            while (waitpid(opener, &raw, 0) < 0 && errno == EINTR) {
            }
            status = WIFEXITED(raw) ? static_cast<unsigned char>(WEXITSTATUS(raw)) : 1;
        }
        [[maybe_unused]] const auto written = write(verdict[1], &status, 1);
        _exit(0);
    }
    close(verdict[1]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            close(verdict[0]);
            return false;
        }
    }
    pollfd wait{verdict[0], POLLIN, 0};
    int ready = 0;
    do {
        ready = poll(&wait, 1, kOpenerVerdictMilliseconds);
    } while (ready < 0 && errno == EINTR);
    bool started = ready == 0;  // still running: it has started an application
    if (ready > 0) {
        unsigned char code = 1;
        started = read(verdict[0], &code, 1) == 1 && code == 0;
    }
    close(verdict[0]);
    return started;
}
#endif

}  // namespace

bool openWithShell(std::string_view target) {
    if (target.empty())
        return false;
#ifdef _WIN32
    if (isAddress(target)) {
        const auto address = toWide(target);
        return address && launch(*address);
    }
#else
    if (isAddress(target))
        return launch(std::string(target));
#endif
    const auto path = toFsPath(target);
    if (!path)
        return false;
    std::error_code error;
    const auto absolute = std::filesystem::absolute(*path, error);
    if (error || !std::filesystem::exists(absolute, error))
        return false;
    return launch(absolute.native());
}

}  // namespace platform
