#include "frame/readers/LineSource.h"

namespace rigel {

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
