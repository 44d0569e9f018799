#pragma once
// Where a point-file reader takes its lines from: a loading CArchive (the dispatcher) or a buffer
// in memory (fuzz targets, tests). Both split lines by the archive's rules: a line ends at "\n"
// or "\r\n", which is removed; a "\r" not followed by "\n" is data; the last line counts even
// without a line end; every byte value inside a line is kept.

#include "platform/base/Diagnostics.h"
#include "platform/host/CArchive.h"

#include <string>
#include <string_view>

namespace rigel {

class LineSource {
public:
    explicit LineSource(std::string name) : name_(std::move(name)) {}
    virtual ~LineSource() = default;
    LineSource(const LineSource&) = delete;
    LineSource& operator=(const LineSource&) = delete;

    // The next line without its end; false at the end of the input. Notes a byte-order mark
    // before the first line and a carriage return inside a line (a file with CR-only line ends
    // reads as one line).
    bool Next(std::string& line) {
        if (!ReadLine(line))
            return false;
        ++number_;
        if (noteOddBytes_ && DiagnosticsWanted())
            NoteOddBytes(line);
        return true;
    }
    // The number of the line Next returned last (1-based; 0 before the first).
    long LineNumber() const { return number_; }
    // The name diagnostics give for the input (its path, or what the caller chose).
    const std::string& Name() const { return name_; }
    // No notes about the bytes of the lines (for a second pass over a file, such as the code
    // scan, that should not count them again).
    void IgnoreOddBytes() { noteOddBytes_ = false; }

protected:
    virtual bool ReadLine(std::string& line) = 0;

private:
    void NoteOddBytes(std::string_view line);

    std::string name_;
    long number_ = 0;
    bool carriageReturnNoted_ = false;
    bool noteOddBytes_ = true;
};

class ArchiveLineSource final : public LineSource {
public:
    ArchiveLineSource(CArchive& archive, std::string name)
        : LineSource(std::move(name)), archive_(archive) {}

protected:
    bool ReadLine(std::string& line) override;

private:
    CArchive& archive_;
    CString buffer_;
};

class BufferLineSource final : public LineSource {
public:
    BufferLineSource(std::string_view bytes, std::string name = "<buffer>")
        : LineSource(std::move(name)), rest_(bytes) {}

protected:
    bool ReadLine(std::string& line) override;

private:
    std::string_view rest_;
    bool done_ = false;
};

// The name a reader reports for the archive's file: its path, or "<archive>" when none is bound.
std::string ArchiveName(const CArchive& archive);

} // namespace rigel
