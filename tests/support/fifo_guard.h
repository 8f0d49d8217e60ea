// A named pipe (mkfifo) where the programs expect a file. Opening a pipe
// waits for its other end; should anything wait on it for longer than the
// bound, the guard opens and closes that other end so the wait ends, and
// released() tells the test it has to fail instead of hanging.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>

namespace tarvok::test {

class FifoGuard {
public:
    explicit FifoGuard(std::filesystem::path path, int milliseconds = 5000) : path_(std::move(path)) {
        // A writer let go meets a closed pipe: an error, not the end of the test run.
        ::signal(SIGPIPE, SIG_IGN);
        made_ = ::mkfifo(path_.c_str(), 0600) == 0;
        if (made_) thread_ = std::thread([this, milliseconds] { watch(milliseconds); });
    }
    ~FifoGuard() {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        if (thread_.joinable()) thread_.join();
    }
    FifoGuard(const FifoGuard&) = delete;
    FifoGuard& operator=(const FifoGuard&) = delete;

    bool made() const { return made_; }
    bool released() const { return released_; }
    const std::filesystem::path& path() const { return path_; }

private:
    void watch(int milliseconds) {
        std::unique_lock lock(mutex_);
        if (wake_.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return stop_; })) return;
        released_ = true;
        // Read and write end at once: a reader or a writer waiting in open() goes on.
        const int fd = ::open(path_.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
        lock.unlock();
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (fd >= 0) ::close(fd);
    }

    std::filesystem::path path_;
    bool made_ = false;
    std::atomic<bool> released_ = false;
    bool stop_ = false;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::thread thread_;
};

}  // namespace tarvok::test
