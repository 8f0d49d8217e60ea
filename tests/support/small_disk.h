// A full disk for one piece of work: a child process mounts a tmpfs of a few
// kilobytes over a folder in a private mount namespace (so nothing outside
// the child sees it) and runs the work there. Needs root; where the mount
// cannot be made the caller skips with a message.
#pragma once

#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <thread>

namespace tarvok::test {

// Exit code of a child that could not make its small disk.
inline constexpr int kNoSmallDisk = 77;
// What runOnSmallDisk returns for a child that did not end in time.
inline constexpr int kSmallDiskTimedOut = 124;

// Runs `work` in a child in which `folder` (created when missing) is an
// empty tmpfs of `bytes`; the child's exit code is `work`'s result. Nothing
// when no such disk can be made here (not root, no mount namespaces).
inline std::optional<int> runOnSmallDisk(const std::filesystem::path& folder, std::size_t bytes,
                                         const std::function<int()>& work, int milliseconds = 10000) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (::geteuid() != 0) return std::nullopt;
    const std::string options = "size=" + std::to_string(bytes);
    const pid_t child = ::fork();
    if (child < 0) return std::nullopt;
    if (child == 0) {
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) != 0)
            ::_exit(kNoSmallDisk);
        ::_exit(work());
    }
    int status = 0;
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (::waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > until) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            return kSmallDiskTimedOut;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (!WIFEXITED(status)) return kSmallDiskTimedOut;
    if (WEXITSTATUS(status) == kNoSmallDisk) return std::nullopt;
    return WEXITSTATUS(status);
}

}  // namespace tarvok::test
