#pragma once

#include <csignal>
#include <sys/resource.h>

// While it lives, this process cannot write a file beyond `bytes` bytes: such a write fails with
// "File too large", as a write on a full disk fails with "No space left on device", at the
// moment the bytes reach the system (often at a flush or a close, not at the write call).
class FullDisk {
public:
    explicit FullDisk(rlim_t bytes)
    {
        previousSignal_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FullDisk()
    {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousSignal_);
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

private:
    rlimit previous_{};
    void (*previousSignal_)(int) = nullptr;
};
