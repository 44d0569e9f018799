#include "platform/base/SystemFile.h"

#include <cerrno>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include "platform/base/win32/Windows.h"

namespace rigel {
namespace {

FileKind KindOfMode(unsigned short mode) {
    if ((mode & _S_IFMT) == _S_IFREG)
        return FileKind::regular;
    return (mode & _S_IFMT) == _S_IFDIR ? FileKind::folder : FileKind::other;
}

// errno for the Windows error codes a file replacement meets.
int ErrnoOf(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EACCES;
    case ERROR_NOT_SAME_DEVICE:
        return EXDEV;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG;
    default:
        return EIO;
    }
}

// True when a folder named in path is a file.
bool BelowAFile(const std::string& path) {
    for (std::size_t end = path.find_first_of("/\\"); end != std::string::npos;
         end = path.find_first_of("/\\", end + 1))
        if (end > 0 && KindOf(path.substr(0, end).c_str()) == FileKind::regular)
            return true;
    return false;
}

} // namespace

int OpenFile(const char* path, int flags, int mode) {
    const int fd = ::_open(path, flags | _O_BINARY | _O_NOINHERIT, mode);
    if (fd < 0) {
        // The C runtime answers EACCES for a folder and ENOENT below a file; say what POSIX says.
        const int err = errno;
        if (err == EACCES && KindOf(path) == FileKind::folder)
            errno = EISDIR;
        else if (err == ENOENT && BelowAFile(path))
            errno = ENOTDIR;
        else
            errno = err;
    }
    return fd;
}

int SyncFile(int fd) {
    return ::_commit(fd);
}

int MoveFileOver(const char* from, const char* to) {
    // rename() refuses an existing target on Windows; MoveFileEx replaces it, and write-through
    // returns only once the move is on disk.
    if (::MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return 0;
    errno = ErrnoOf(::GetLastError());
    return -1;
}

void SyncFolder(const std::string&) {
    // MOVEFILE_WRITE_THROUGH has made the replacement durable already.
}

FileKind KindOf(const char* path) {
    // The C runtime finds no folder whose name ends in a separator, except a drive's root.
    std::string name(path);
    while (name.size() > 1 && IsPathSeparator(name.back()) && name[name.size() - 2] != ':')
        name.pop_back();
    struct _stat64 st {};
    return ::_stat64(name.c_str(), &st) == 0 ? KindOfMode(st.st_mode) : FileKind::missing;
}

FileKind KindOf(int fd) {
    struct _stat64 st {};
    return ::_fstat64(fd, &st) == 0 ? KindOfMode(st.st_mode) : FileKind::missing;
}

std::int64_t FileSize(int fd) {
    struct _stat64 st {};
    return ::_fstat64(fd, &st) == 0 ? static_cast<std::int64_t>(st.st_size) : -1;
}

std::int64_t SeekFile(int fd, std::int64_t offset, int whence) {
    return ::_lseeki64(fd, offset, whence);
}

FileStamp StampOf(const char* path) {
    HANDLE file = ::CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    BY_HANDLE_FILE_INFORMATION info{};
    const BOOL ok = ::GetFileInformationByHandle(file, &info);
    ::CloseHandle(file);
    if (!ok)
        return {};
    auto join = [](DWORD high, DWORD low) {
        return (static_cast<std::uint64_t>(high) << 32) | static_cast<std::uint64_t>(low);
    };
    return {true, join(info.nFileIndexHigh, info.nFileIndexLow),
            static_cast<std::int64_t>(
                join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime)),
            static_cast<std::int64_t>(join(info.nFileSizeHigh, info.nFileSizeLow))};
}

bool IsPathSeparator(char c) {
    return c == '/' || c == '\\';
}

std::size_t LastSeparator(const std::string& path) {
    return path.find_last_of("/\\");
}

unsigned ProcessId() {
    return static_cast<unsigned>(::GetCurrentProcessId());
}

} // namespace rigel
