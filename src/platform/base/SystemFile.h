#pragma once
// The operating system's file calls where POSIX and Windows differ, behind one set of names:
// platform/base/posix/ and platform/base/win32/ hold the two versions, and the build takes one.
// Descriptors are those of open(2) and read/write/close on both systems.

#include <cstdint>
#include <string>

namespace rigel {

enum class FileKind { missing, regular, folder, other };

// open(2) with the flags every open of ours needs added: bytes as they are (no text mode) and
// not inherited by programs the host starts. -1 with errno set on failure.
int OpenFile(const char* path, int flags, int mode = 0666);
// Flushes the file's data to the disk: 0, or -1 with errno set.
int SyncFile(int fd);
// Moves from over to, replacing an existing to in one step: 0, or -1 with errno set.
int MoveFileOver(const char* from, const char* to);
// Makes a completed replacement in folder durable where the system needs that; a folder that
// cannot be synced is left as it is.
void SyncFolder(const std::string& folder);

FileKind KindOf(const char* path);
FileKind KindOf(int fd);
// The size of an open file in bytes, or -1 with errno set.
std::int64_t FileSize(int fd);
// lseek with 64-bit offsets: the new position, or -1 with errno set.
std::int64_t SeekFile(int fd, std::int64_t offset, int whence);

// What tells that a file was replaced or rewritten: a replacement gives it a new identity (the
// inode, or the file index on Windows), a rewrite in place a new modification time or size.
struct FileStamp {
    bool exists = false;
    std::uint64_t identity = 0;
    std::int64_t modified = 0; // in the system's own units
    std::int64_t size = 0;
    bool operator==(const FileStamp&) const = default;
};
FileStamp StampOf(const char* path);

// True for a character that ends a folder name in a path: '/', and on Windows '\\' too.
bool IsPathSeparator(char c);
// Where the last folder name of path ends (the separator's index), or npos.
std::size_t LastSeparator(const std::string& path);

unsigned ProcessId();

} // namespace rigel
