#include "platform/base/SystemFile.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rigel {
namespace {

FileKind KindOfMode(mode_t mode) {
    if (S_ISREG(mode))
        return FileKind::regular;
    return S_ISDIR(mode) ? FileKind::folder : FileKind::other;
}

} // namespace

int OpenFile(const char* path, int flags, int mode) {
    return ::open(path, flags | O_CLOEXEC, mode);
}

int SyncFile(int fd) {
    return ::fsync(fd);
}

int MoveFileOver(const char* from, const char* to) {
    return ::rename(from, to);
}

void SyncFolder(const std::string& folder) {
    // The rename is only durable once the folder's entry is on disk; some file systems refuse
    // to sync a folder, which does not undo the completed replacement.
    int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

FileKind KindOf(const char* path) {
    struct stat st {};
    return ::stat(path, &st) == 0 ? KindOfMode(st.st_mode) : FileKind::missing;
}

FileKind KindOf(int fd) {
    struct stat st {};
    return ::fstat(fd, &st) == 0 ? KindOfMode(st.st_mode) : FileKind::missing;
}

std::int64_t FileSize(int fd) {
    struct stat st {};
    return ::fstat(fd, &st) == 0 ? static_cast<std::int64_t>(st.st_size) : -1;
}

std::int64_t SeekFile(int fd, std::int64_t offset, int whence) {
    return ::lseek(fd, static_cast<off_t>(offset), whence);
}

FileStamp StampOf(const char* path) {
    struct stat st {};
    if (::stat(path, &st) != 0)
        return {};
    return {true, static_cast<std::uint64_t>(st.st_ino),
            static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
            static_cast<std::int64_t>(st.st_size)};
}

bool IsPathSeparator(char c) {
    return c == '/';
}

std::size_t LastSeparator(const std::string& path) {
    return path.rfind('/');
}

unsigned ProcessId() {
    return static_cast<unsigned>(::getpid());
}

} // namespace rigel
