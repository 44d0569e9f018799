#include "platform/host/CFile.h"

#include "platform/base/SystemFile.h"

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr UINT kAccessMask = 0x0003;

bool CanRead(UINT flags) {
    UINT access = flags & kAccessMask;
    return access == CFile::modeRead || access == CFile::modeReadWrite;
}

bool CanWrite(UINT flags) {
    UINT access = flags & kAccessMask;
    return access == CFile::modeWrite || access == CFile::modeReadWrite;
}

} // namespace

CFile::CFile(const char* path, UINT flags) {
    CFileException e;
    if (!Open(path, flags, &e))
        throw e;
}

CFile::~CFile() {
    Abort();
}

void CFile::Reset() {
    fd_ = -1;
    failed_ = false;
    atomic_.reset();
}

void CFile::Throw(int err, const std::string& what) const {
    std::string text = what + " '" + path_ + "'";
    if (err != 0)
        text += ": " + rigel::ErrnoText(err);
    throw CFileException(err, text, path_);
}

bool CFile::Open(const char* path, UINT flags, CFileException* e) {
    Abort();
    path_ = path ? path : "";
    flags_ = flags;
    auto fail = [&](int err, const std::string& text) {
        if (e)
            *e = CFileException(err, text, path_);
        Abort();
        return false;
    };
    if (path_.empty())
        return fail(ENOENT, "cannot open a file without a name");

    if (flags & modeCreate) {
        atomic_ = std::make_unique<rigel::AtomicFile>();
        if (!atomic_->Open(path_))
            return fail(atomic_->ErrorNumber(), atomic_->ErrorText());
        fd_ = atomic_->Descriptor();
        if (flags & modeNoTruncate) {
            std::string previous;
            std::string reason;
            if (rigel::ReadWholeFile(path_, previous, &reason)) {
                if (!atomic_->Write(previous))
                    return fail(atomic_->ErrorNumber(), atomic_->ErrorText());
                if (rigel::SeekFile(fd_, 0, SEEK_SET) < 0) {
                    int err = errno;
                    return fail(err, "cannot rewind '" + path_ + "': " + rigel::ErrnoText(err));
                }
            } else if (int err = errno; err != ENOENT) {
                return fail(err, reason);
            }
        }
        return true;
    }

    int oflags = 0;
    if (CanWrite(flags))
        oflags |= (flags & kAccessMask) == modeReadWrite ? O_RDWR : O_WRONLY;
    else
        oflags |= O_RDONLY;
    int fd = rigel::OpenFile(path_.c_str(), oflags);
    if (fd < 0) {
        int err = errno;
        return fail(err, "cannot open '" + path_ + "': " + rigel::ErrnoText(err));
    }
    if (rigel::KindOf(fd) == rigel::FileKind::folder) {
        ::close(fd);
        return fail(EISDIR, "cannot open '" + path_ + "': " + rigel::ErrnoText(EISDIR));
    }
    fd_ = fd;
    return true;
}

UINT CFile::Read(void* buffer, UINT count) {
    if (fd_ < 0)
        Throw(EBADF, "read from a file that is not open:");
    if (!CanRead(flags_))
        Throw(0, "read from a file opened for writing only:");
    char* p = static_cast<char*>(buffer);
    UINT done = 0;
    while (done < count) {
        ssize_t n = ::read(fd_, p + done, count - done);
        if (n < 0) {
            int err = errno;
            if (err == EINTR)
                continue;
            Throw(err, "cannot read");
        }
        if (n == 0)
            break;
        done += static_cast<UINT>(n);
    }
    return done;
}

void CFile::Write(const void* buffer, UINT count) {
    if (fd_ < 0)
        Throw(EBADF, "write to a file that is not open:");
    if (!CanWrite(flags_))
        Throw(0, "write to a file opened for reading only:");
    const char* p = static_cast<const char*>(buffer);
    while (count > 0) {
        ssize_t n = ::write(fd_, p, count);
        if (n < 0) {
            int err = errno;
            if (err == EINTR)
                continue;
            failed_ = true;
            Throw(err, "cannot write");
        }
        p += n;
        count -= static_cast<UINT>(n);
    }
}

void CFile::Close() {
    if (fd_ < 0)
        return;
    if (atomic_) {
        if (failed_) {
            Abort();
            Throw(EIO, "not saved after a failed write:");
        }
        if (!atomic_->Commit()) {
            int err = atomic_->ErrorNumber();
            std::string text = atomic_->ErrorText();
            Reset();
            throw CFileException(err, text, path_);
        }
        Reset();
        return;
    }
    int fd = fd_;
    Reset();
    if (::close(fd) != 0) {
        int err = errno;
        Throw(err, "cannot close");
    }
}

void CFile::Abort() {
    if (atomic_) {
        atomic_->Abort();
    } else if (fd_ >= 0) {
        ::close(fd_);
    }
    Reset();
}

ULONGLONG CFile::Seek(LONGLONG offset, UINT from) {
    if (fd_ < 0)
        Throw(EBADF, "seek in a file that is not open:");
    int whence = from == current ? SEEK_CUR : (from == end ? SEEK_END : SEEK_SET);
    std::int64_t at = rigel::SeekFile(fd_, offset, whence);
    if (at < 0) {
        int err = errno;
        Throw(err, "cannot seek in");
    }
    return static_cast<ULONGLONG>(at);
}

ULONGLONG CFile::GetPosition() const {
    if (fd_ < 0)
        Throw(EBADF, "position of a file that is not open:");
    std::int64_t at = rigel::SeekFile(fd_, 0, SEEK_CUR);
    if (at < 0) {
        int err = errno;
        Throw(err, "cannot tell the position in");
    }
    return static_cast<ULONGLONG>(at);
}

ULONGLONG CFile::GetLength() const {
    if (fd_ < 0)
        Throw(EBADF, "length of a file that is not open:");
    const std::int64_t size = rigel::FileSize(fd_);
    if (size < 0) {
        int err = errno;
        Throw(err, "cannot tell the length of");
    }
    return static_cast<ULONGLONG>(size);
}

CString CFile::GetFileName() const {
    std::size_t slash = rigel::LastSeparator(path_);
    return CString(slash == std::string::npos ? path_ : path_.substr(slash + 1));
}
