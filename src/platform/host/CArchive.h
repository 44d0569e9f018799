#pragma once
// Stand-in for MFC's CArchive as the library uses it: a buffered text stream over a CFile that
// reads and writes lines.
//
// Lines: ReadString ends a line at "\n" or "\r\n" and removes that end; a "\r" not followed by
// "\n" is data. The last line is returned even without a line end. Bytes are bytes: NUL, 0xFF
// and every other value inside a line are kept.
//
// Long lines: a line whose text (without its line end) is longer than the archive's line cap
// (kDefaultMaxLineLength, 64 MiB, changeable with SetMaxLineLength) is cut: ReadString(CString&)
// returns its first cap bytes, discards the rest up to the line end, and the next call returns
// the following line. Each cut is counted (CutLineCount) and traced, so memory stays bounded
// whatever the input.
//
// Reading goes through a buffer of bufferSize bytes filled with CFile::Read; writing collects in
// the same buffer and goes out on Flush(), Close(), when the buffer is full, or at destruction.
// Errors of the file surface as CFileException. Close() flushes and unbinds the file but does not
// close it, as in MFC.

#include "platform/host/CFile.h"
#include "platform/host/CString.h"
#include "platform/host/WinTypes.h"

#include <cstddef>
#include <string_view>
#include <vector>

class CArchive {
public:
    enum Mode : UINT { store = 0, load = 1, bNoFlushOnDelete = 2 };

    static constexpr std::size_t kDefaultMaxLineLength = std::size_t{64} << 20;

    // file may be null: the archive is then bound to no file; loading reads nothing and storing
    // throws std::logic_error when bytes would have to go out. Buffers below 16 bytes are raised
    // to 16.
    CArchive(CFile* file, UINT mode, int bufferSize = 4096);
    ~CArchive(); // flushes a storing archive unless bNoFlushOnDelete; never throws
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsLoading() const { return (mode_ & load) != 0; }
    bool IsStoring() const { return (mode_ & load) == 0; }
    CFile* GetFile() const { return file_; }

    // False at the end of the file (nothing left to read); see the header comment for line ends
    // and the cap.
    bool ReadString(CString& line);
    // MFC's form: at most max bytes of the line go into buffer (which needs max + 1 bytes) with a
    // terminating NUL; a longer line continues on the next call (so a line of exactly max bytes
    // is followed by an empty piece, as in MFC). The line end is removed. Returns buffer, or
    // nullptr at the end of the file.
    char* ReadString(char* buffer, UINT max);

    // Writes text unchanged (no line end added).
    void WriteString(std::string_view text);

    // Raw bytes through the same buffer; Read returns the number read (fewer only at the end).
    UINT Read(void* buffer, UINT count);
    void Write(const void* buffer, UINT count);

    void Flush();
    void Close();

    // Reading from a storing archive or writing to a loading one throws std::logic_error.

    void SetMaxLineLength(std::size_t cap) { maxLine_ = cap > 0 ? cap : 1; }
    std::size_t GetMaxLineLength() const { return maxLine_; }
    std::size_t CutLineCount() const { return cutLines_; }

private:
    bool Fill(); // loads more bytes when the buffer is used up; false at the end of the file
    void FlushBuffer();

    CFile* file_;
    UINT mode_;
    std::vector<char> buffer_;
    std::size_t pos_ = 0; // loading: next byte; storing: bytes waiting
    std::size_t end_ = 0; // loading: bytes in the buffer
    bool eof_ = false;
    std::size_t maxLine_ = kDefaultMaxLineLength;
    std::size_t cutLines_ = 0;
};
