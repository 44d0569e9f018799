#pragma once
// A write failure that even root cannot avoid, through the file size limit of POSIX.

#include <csignal>

#include <sys/resource.h>

namespace rigel::test {

// Makes writes beyond `bytes` fail with EFBIG for the lifetime of the object: a write failure
// that even root cannot avoid.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit saved_{};
    void (*oldHandler_)(int) = nullptr;
};

} // namespace rigel::test
