#include "platform/host/LineSource.h"

namespace rigel {

void LineSource::NoteOddBytes(std::string_view line) {
    if (number_ == 1 && line.substr(0, 3) == "\xEF\xBB\xBF")
        DiagnoseAs("a UTF-8 byte-order mark before the first line", name_, 1,
                   "a UTF-8 byte-order mark begins the file; the first line is read with it");
    if (!carriageReturnNoted_ && line.find('\r') != std::string_view::npos) {
        carriageReturnNoted_ = true;
        DiagnoseAs("carriage returns inside lines (CR-only line ends read as one line)", name_,
                   number_, "a carriage return inside the line: lines end only at a line feed");
    }
}

bool ArchiveLineSource::ReadLine(std::string& line) {
    if (!archive_.ReadString(buffer_))
        return false;
    line.swap(buffer_.str());
    return true;
}

bool BufferLineSource::ReadLine(std::string& line) {
    if (done_ || rest_.empty()) {
        done_ = true;
        return false;
    }
    const std::size_t end = rest_.find('\n');
    if (end == std::string_view::npos) {
        line.assign(rest_);
        rest_ = {};
        done_ = true;
        return true;
    }
    std::size_t length = end;
    if (length > 0 && rest_[length - 1] == '\r')
        --length;
    line.assign(rest_.substr(0, length));
    rest_.remove_prefix(end + 1);
    return true;
}

std::string ArchiveName(const CArchive& archive) {
    const CFile* file = archive.GetFile();
    return file != nullptr ? file->GetFilePath().str() : std::string("<archive>");
}

} // namespace rigel
