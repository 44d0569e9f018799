#pragma once
// Stand-in for MFC's CFile over POSIX descriptors, with the mode flags of MFC.
//
// How the flags map:
// - modeRead opens an existing file read-only; modeWrite / modeReadWrite without modeCreate open
//   an existing file in place (no truncation, like MFC's OPEN_EXISTING).
// - modeCreate writes through a rigel::AtomicFile: the bytes go to a temporary file next to the
//   target, and the target is replaced only by Close(). With modeNoTruncate the temporary file
//   starts as a copy of an existing target (positioned at its start), so the previous contents
//   are kept as MFC's OPEN_ALWAYS keeps them.
// - Unlike MFC, a file opened with modeCreate that is destroyed without Close(), or ended with
//   Abort(), DISCARDS what was written and leaves the previous target untouched. A failed Write
//   also makes Close() discard and throw, so a truncated file is never committed.
// - share*, typeText and typeBinary are accepted and ignored: there is no locking between
//   processes and no line-end translation on this platform.
//
// Errors: Open() reports through its return value and the optional CFileException; Read, Write,
// Seek, GetLength and Close throw CFileException (by value, unlike MFC's pointer), as MFC's
// members do. Abort() and the destructor never throw.

#include "platform/base/AtomicFile.h"
#include "platform/host/CString.h"
#include "platform/host/WinTypes.h"

#include <memory>
#include <stdexcept>
#include <string>

class CFileException : public std::runtime_error {
public:
    CFileException() : std::runtime_error("no error") {}
    CFileException(int osError, const std::string& message, std::string fileName = {})
        : std::runtime_error(message), m_lOsError(osError), m_strFileName(std::move(fileName)) {}

    // The errno behind the failure (0 for a misuse such as reading a file opened for writing).
    int m_lOsError = 0;
    CString m_strFileName;
};

class CFile {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000,
    };
    enum SeekPosition : UINT { begin = 0, current = 1, end = 2 };

    CFile() = default;
    // Opens at once; throws CFileException when that fails.
    CFile(const char* path, UINT flags);
    virtual ~CFile(); // closes a plain file, aborts an unclosed modeCreate file
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // False (and e filled when given) when the file cannot be opened; an open file is aborted
    // first.
    virtual bool Open(const char* path, UINT flags, CFileException* e = nullptr);

    // Reads up to count bytes, fewer only at the end of the file; returns the number read.
    virtual UINT Read(void* buffer, UINT count);
    virtual void Write(const void* buffer, UINT count);
    // Ends the file; for modeCreate this commits the replacement of the target.
    virtual void Close();
    virtual void Abort();

    ULONGLONG Seek(LONGLONG offset, UINT from);
    void SeekToBegin() { Seek(0, begin); }
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    ULONGLONG GetPosition() const;
    ULONGLONG GetLength() const;

    bool IsOpen() const { return fd_ >= 0; }
    // The path as given to Open (not made absolute).
    CString GetFilePath() const { return CString(path_); }
    // The name without its folder.
    CString GetFileName() const;

private:
    [[noreturn]] void Throw(int err, const std::string& what) const;
    void Reset();

    int fd_ = -1;
    UINT flags_ = 0;
    bool failed_ = false;
    std::unique_ptr<rigel::AtomicFile> atomic_; // set for modeCreate
    std::string path_;
};
