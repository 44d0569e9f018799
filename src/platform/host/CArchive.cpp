#include "platform/host/CArchive.h"

#include "platform/base/Trace.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace {

constexpr int kMinBufferSize = 16;

} // namespace

CArchive::CArchive(CFile* file, UINT mode, int bufferSize)
    : file_(file), mode_(mode),
      buffer_(static_cast<std::size_t>(std::max(bufferSize, kMinBufferSize))) {}

CArchive::~CArchive() {
    if (file_ == nullptr || !IsStoring() || (mode_ & bNoFlushOnDelete) != 0)
        return;
    try {
        FlushBuffer();
    } catch (const std::exception& e) {
        // The file remembers a failed write and refuses to commit; nothing more can be done here.
        rigel::Trace("[CArchive::~CArchive] flush failed: %s\n", e.what());
    }
}

bool CArchive::Fill() {
    if (eof_ || file_ == nullptr)
        return false;
    pos_ = 0;
    end_ = file_->Read(buffer_.data(), static_cast<UINT>(buffer_.size()));
    if (end_ == 0) {
        eof_ = true;
        return false;
    }
    return true;
}

bool CArchive::ReadString(CString& line) {
    if (!IsLoading())
        throw std::logic_error("CArchive::ReadString on a storing archive");
    std::string& out = line.str();
    out.clear();
    std::size_t raw = 0; // bytes of the line before its "\n", a terminating "\r" included
    char last = 0;
    bool any = false;
    bool ended = false;
    while (!ended) {
        if (pos_ == end_ && !Fill())
            break;
        any = true;
        const char* start = buffer_.data() + pos_;
        const std::size_t avail = end_ - pos_;
        const char* nl = static_cast<const char*>(std::memchr(start, '\n', avail));
        const std::size_t take = nl ? static_cast<std::size_t>(nl - start) : avail;
        if (take > 0) {
            const std::size_t room = raw < maxLine_ ? maxLine_ - raw : 0;
            out.append(start, std::min(take, room));
            last = start[take - 1];
            raw += take;
        }
        pos_ += take;
        if (nl) {
            ++pos_;
            ended = true;
        }
    }
    if (!any)
        return false;
    // Only a "\r" right before the "\n" belongs to the line end; at the end of the file it is data.
    const std::size_t length = (ended && raw > 0 && last == '\r') ? raw - 1 : raw;
    if (out.size() > length)
        out.resize(length);
    if (length > maxLine_) {
        ++cutLines_;
        rigel::Trace("[CArchive::ReadString] %s: a line of %llu bytes was cut to %llu\n",
                     file_ ? file_->GetFilePath().str() : std::string("(no file)"),
                     static_cast<unsigned long long>(length),
                     static_cast<unsigned long long>(maxLine_));
    }
    return true;
}

char* CArchive::ReadString(char* buffer, UINT max) {
    if (!IsLoading())
        throw std::logic_error("CArchive::ReadString on a storing archive");
    if (buffer == nullptr)
        return nullptr;
    if (pos_ == end_ && !Fill())
        return nullptr;
    UINT n = 0;
    while (n < max) {
        if (pos_ == end_ && !Fill())
            break;
        char c = buffer_[pos_++];
        if (c == '\n')
            break;
        if (c == '\r') {
            if (pos_ == end_ && !Fill()) {
                buffer[n++] = c;
                break;
            }
            if (buffer_[pos_] == '\n') {
                ++pos_;
                break;
            }
        }
        buffer[n++] = c;
    }
    buffer[n] = '\0';
    return buffer;
}

UINT CArchive::Read(void* buffer, UINT count) {
    if (!IsLoading())
        throw std::logic_error("CArchive::Read on a storing archive");
    char* p = static_cast<char*>(buffer);
    UINT done = 0;
    while (done < count) {
        if (pos_ == end_ && !Fill())
            break;
        std::size_t n = std::min<std::size_t>(end_ - pos_, count - done);
        std::memcpy(p + done, buffer_.data() + pos_, n);
        pos_ += n;
        done += static_cast<UINT>(n);
    }
    return done;
}

void CArchive::Write(const void* buffer, UINT count) {
    WriteString(std::string_view(static_cast<const char*>(buffer), count));
}

void CArchive::WriteString(std::string_view text) {
    if (!IsStoring())
        throw std::logic_error("CArchive::WriteString on a loading archive");
    if (pos_ + text.size() <= buffer_.size()) {
        std::memcpy(buffer_.data() + pos_, text.data(), text.size());
        pos_ += text.size();
        return;
    }
    FlushBuffer();
    if (text.size() < buffer_.size()) {
        std::memcpy(buffer_.data(), text.data(), text.size());
        pos_ = text.size();
        return;
    }
    if (file_ == nullptr)
        throw std::logic_error("CArchive: storing into an archive bound to no file");
    constexpr std::size_t kChunk = std::numeric_limits<UINT>::max() / 2;
    while (!text.empty()) {
        std::size_t n = std::min(text.size(), kChunk);
        file_->Write(text.data(), static_cast<UINT>(n));
        text.remove_prefix(n);
    }
}

void CArchive::FlushBuffer() {
    if (pos_ == 0)
        return;
    if (file_ == nullptr)
        throw std::logic_error("CArchive: storing into an archive bound to no file");
    const std::size_t n = pos_;
    pos_ = 0; // a failed write is not retried: the file already refuses to commit
    file_->Write(buffer_.data(), static_cast<UINT>(n));
}

void CArchive::Flush() {
    if (IsStoring())
        FlushBuffer();
}

void CArchive::Close() {
    Flush();
    file_ = nullptr;
    pos_ = end_ = 0;
}
