#include "platform/base/TekstFil.h"

#include <cstring>

namespace {
constexpr std::size_t kBufferSize = 64 * 1024;
}

TekstFil::TekstFil(std::string_view name) : Fil(name) {}

TekstFil::~TekstFil() = default;

int TekstFil::LeggTilLinje(std::string_view text) {
    return WriteBytes(text);
}

bool TekstFil::Fill() {
    if (eof_)
        return false;
    if (!buffer_)
        buffer_ = std::make_unique<char[]>(kBufferSize);
    const long n = ReadBytes(buffer_.get(), kBufferSize);
    if (n <= 0) {
        eof_ = true;
        return false;
    }
    begin_ = 0;
    end_ = static_cast<std::size_t>(n);
    return true;
}

int TekstFil::LesNesteLinje(Streng& line) {
    std::string text;
    bool any = false;
    bool cut = false;
    for (;;) {
        if (begin_ == end_ && !Fill())
            break;
        any = true;
        const char* start = buffer_.get() + begin_;
        const std::size_t available = end_ - begin_;
        const void* nl = std::memchr(start, '\n', available);
        const std::size_t take =
            nl ? static_cast<std::size_t>(static_cast<const char*>(nl) - start) : available;
        if (!cut) {
            const std::size_t room = kMaxLineLength + 1 - text.size(); // +1 keeps a final '\r'
            text.append(start, std::min(take, room));
            if (take > room)
                cut = true;
        }
        begin_ += take;
        if (nl) {
            ++begin_;
            break;
        }
    }
    if (!any)
        return 0;
    if (!text.empty() && text.back() == '\r')
        text.pop_back();
    if (text.size() > kMaxLineLength)
        text.resize(kMaxLineLength);
    line.Set(text);
    return 1;
}

int TekstFil::InitListe(StrengListe& lines) {
    if (!ErApen() && !LukkOpp("rt"))
        return 0;
    Streng line;
    while (LesNesteLinje(line))
        lines.LeggTilStreng(line.str());
    LukkIgjen();
    return 1;
}
