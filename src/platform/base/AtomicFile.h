#pragma once
// Replacing a file so that readers only ever see the old or the new contents: the bytes go to a
// temporary file in the target's folder (same file system, so the final rename is atomic), which
// is flushed to disk and renamed over the target on Commit(). Abort(), destruction without
// Commit(), or a Commit() after a failed write removes the temporary file and leaves any previous
// target as it was.
//
// The temporary file is created with O_CREAT|O_EXCL and mode 0666 less the process umask, named
// ".<target name>.<random>.tmp" next to the target. The new file gets that mode, not the mode of
// the file it replaces. A symbolic link at the target path is replaced by the new file rather
// than followed. The folder must exist: nothing is created on the way.

#include <cstddef>
#include <string>
#include <string_view>

namespace rigel {

class AtomicFile {
public:
    AtomicFile() = default;
    ~AtomicFile(); // aborts unless committed
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the temporary file for target. False (with ErrorText) when the folder is missing or
    // not writable; an AtomicFile that is still open is aborted first.
    bool Open(std::string target);

    // Writes all of bytes at the current position of the temporary file. A failure makes the file
    // unusable: Commit() then refuses and removes the temporary file.
    bool Write(const void* bytes, std::size_t count);
    bool Write(std::string_view bytes) { return Write(bytes.data(), bytes.size()); }

    // Flushes, fsyncs and renames over the target, then syncs the folder. False when any step
    // fails; the temporary file is gone afterwards either way.
    bool Commit();

    // Removes the temporary file; the target is not touched. Safe to call when not open.
    void Abort();

    bool IsOpen() const { return fd_ >= 0; }
    // The descriptor of the temporary file (opened read-write), for callers that also seek or
    // read what they wrote; -1 when not open. It stays owned by this object.
    int Descriptor() const { return fd_; }
    const std::string& TargetPath() const { return target_; }
    const std::string& TempPath() const { return temp_; }

    // errno of the last failure and a text naming the step, the path and the system's reason.
    int ErrorNumber() const { return errno_; }
    const std::string& ErrorText() const { return error_; }

private:
    bool Fail(int err, std::string_view what, const std::string& path);

    int fd_ = -1;
    bool failed_ = false;
    std::string target_;
    std::string temp_;
    int errno_ = 0;
    std::string error_;
};

// Writes bytes to path through an AtomicFile. On failure returns false and, when reason is given,
// stores the reason there; errno holds the system's error number.
bool WriteFileAtomically(const std::string& path, std::string_view bytes,
                         std::string* reason = nullptr);

// Reads the whole file into out (replacing its contents). On failure returns false, leaves out
// empty and, when reason is given, stores "cannot read '<path>': <system reason>"; errno holds
// the error number (ENOENT for a missing file, EISDIR for a folder, ...).
bool ReadWholeFile(const std::string& path, std::string& out, std::string* reason = nullptr);

// The system's text for an errno value, independent of the C locale's thread safety.
std::string ErrnoText(int err);

} // namespace rigel
