// A disk that takes no more bytes, for this process while the object lives:
// every write that would grow a file fails ("File too large"), as on a full
// disk, without root and in a process that already runs threads (where a
// private tmpfs cannot be mounted). lift() frees it, as the user freeing
// space would.
#pragma once

#include <sys/resource.h>

#include <csignal>

namespace tarvok::test {

class FullDisk {
public:
    FullDisk() {
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        previousSignal_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit none{0, previous_.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &none);
    }
    ~FullDisk() { lift(); }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;
    void lift() {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousSignal_);
    }

private:
    rlimit previous_{};
    void (*previousSignal_)(int) = SIG_DFL;
};

}  // namespace tarvok::test
