#include "platform/base/AtomicFile.h"

#include "platform/base/SystemFile.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <random>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

namespace rigel {
namespace {

std::string FolderOf(const std::string& path) {
    std::size_t slash = LastSeparator(path);
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    std::size_t slash = LastSeparator(path);
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A random part for the temporary name; O_EXCL makes a collision a retry, never a clobber.
std::string RandomSuffix() {
    static std::atomic<unsigned> counter{0};
    thread_local std::mt19937_64 engine = [] {
        std::random_device device;
        std::seed_seq seed{
            device(), device(), ProcessId(),
            static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count())};
        return std::mt19937_64(seed);
    }();
    static const char digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::uint64_t bits = engine() ^ counter.fetch_add(1);
    std::string out;
    for (int i = 0; i < 10; ++i) {
        out += digits[bits % 36];
        bits /= 36;
    }
    return out;
}

bool WriteAll(int fd, const char* p, std::size_t count) {
    while (count > 0) {
        ssize_t n = ::write(fd, p, count);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        count -= static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

std::string ErrnoText(int err) {
    return std::error_code(err, std::generic_category()).message();
}

AtomicFile::~AtomicFile() {
    Abort();
}

bool AtomicFile::Fail(int err, std::string_view what, const std::string& path) {
    errno_ = err;
    error_ = std::string(what) + " '" + path + "': " + ErrnoText(err);
    return false;
}

bool AtomicFile::Open(std::string target) {
    Abort();
    target_ = std::move(target);
    failed_ = false;
    errno_ = 0;
    error_.clear();
    if (target_.empty() || IsPathSeparator(target_.back()))
        return Fail(EISDIR, "cannot write", target_);

    const std::string folder = FolderOf(target_);
    const std::string name = NameOf(target_);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = folder + "/." + name + "." + RandomSuffix() + ".tmp";
        int fd = OpenFile(candidate.c_str(), O_RDWR | O_CREAT | O_EXCL, 0666);
        if (fd >= 0) {
            fd_ = fd;
            temp_ = std::move(candidate);
            return true;
        }
        int err = errno;
        if (err != EEXIST && err != EINTR)
            return Fail(err, "cannot create a temporary file for", target_);
    }
    return Fail(EEXIST, "cannot find a free temporary name for", target_);
}

bool AtomicFile::Write(const void* bytes, std::size_t count) {
    if (fd_ < 0)
        return Fail(EBADF, "not open for writing:", target_);
    if (failed_)
        return false;
    if (!WriteAll(fd_, static_cast<const char*>(bytes), count)) {
        int err = errno;
        failed_ = true;
        return Fail(err, "cannot write the temporary file for", target_);
    }
    return true;
}

bool AtomicFile::Commit() {
    if (fd_ < 0)
        return Fail(EBADF, "nothing to commit for", target_);
    if (failed_) {
        Abort();
        return false; // the write that failed has said why
    }
    if (SyncFile(fd_) != 0) {
        int err = errno;
        Abort();
        return Fail(err, "cannot flush the temporary file for", target_);
    }
    int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        int err = errno;
        ::unlink(temp_.c_str());
        temp_.clear();
        return Fail(err, "cannot close the temporary file for", target_);
    }
    if (MoveFileOver(temp_.c_str(), target_.c_str()) != 0) {
        int err = errno;
        ::unlink(temp_.c_str());
        temp_.clear();
        return Fail(err, "cannot replace", target_);
    }
    temp_.clear();
    SyncFolder(FolderOf(target_));
    return true;
}

void AtomicFile::Abort() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());
        temp_.clear();
    }
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* reason) {
    AtomicFile file;
    if (file.Open(path) && file.Write(bytes) && file.Commit())
        return true;
    if (reason)
        *reason = file.ErrorText();
    errno = file.ErrorNumber();
    return false;
}

bool ReadWholeFile(const std::string& path, std::string& out, std::string* reason) {
    out.clear();
    auto fail = [&](int err) {
        out.clear();
        if (reason)
            *reason = "cannot read '" + path + "': " + ErrnoText(err);
        errno = err;
        return false;
    };
    int fd = OpenFile(path.c_str(), O_RDONLY);
    if (fd < 0)
        return fail(errno);
    if (KindOf(fd) == FileKind::regular && FileSize(fd) > 0)
        out.reserve(static_cast<std::size_t>(FileSize(fd)));
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            int err = errno;
            ::close(fd);
            return fail(err);
        }
        if (n == 0)
            break;
        out.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return true;
}

} // namespace rigel
