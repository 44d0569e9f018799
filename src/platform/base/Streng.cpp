#include "platform/base/Streng.h"

#include <algorithm>

std::size_t Streng::Clamp(int position) const {
    return static_cast<std::size_t>(std::clamp(position, 0, Lengde()));
}

int Streng::HvorEr(std::string_view text, int start) const {
    if (start < 0 || start > Lengde())
        return -1;
    const std::size_t at = s_.find(text, static_cast<std::size_t>(start));
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

int Streng::KopiN(std::string_view source, int n) {
    s_.assign(source.substr(0, static_cast<std::size_t>(std::max(n, 0))));
    return 1;
}

Streng Streng::GetFra(int position) const {
    return Streng(std::string_view(s_).substr(Clamp(position)));
}

int Streng::Delete(int position, int count) {
    if (position < 0 || position >= Lengde() || count <= 0)
        return 0;
    s_.erase(static_cast<std::size_t>(position), static_cast<std::size_t>(count));
    return 1;
}

int Streng::SlettTil(int position) {
    s_.erase(0, Clamp(position));
    return 1;
}

int Streng::FjernBlanke() {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    std::size_t end = s_.size();
    while (end > 0 && blank(s_[end - 1]))
        --end;
    std::size_t begin = 0;
    while (begin < end && blank(s_[begin]))
        ++begin;
    s_ = s_.substr(begin, end - begin);
    return 1;
}

int Streng::FyllBlankeTilLengdeEr(int length, int atEnd) {
    if (length <= Lengde())
        return 1;
    const std::size_t pad = static_cast<std::size_t>(length - Lengde());
    if (atEnd)
        s_.append(pad, ' ');
    else
        s_.insert(0, pad, ' ');
    return 1;
}
