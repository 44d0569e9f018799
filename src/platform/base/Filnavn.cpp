#include "platform/base/Filnavn.h"

namespace {

std::size_t NameStart(std::string_view path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string_view::npos ? 0 : slash + 1;
}

} // namespace

Streng Filnavn::Ext() const {
    const std::string_view name = std::string_view(str()).substr(NameStart(str()));
    const std::size_t dot = name.rfind('.');
    return Streng(dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1));
}

Streng Filnavn::Navn() const {
    std::string_view name = std::string_view(str()).substr(NameStart(str()));
    const std::size_t dot = name.rfind('.');
    if (dot != std::string_view::npos)
        name = name.substr(0, dot);
    return Streng(name);
}

Streng Filnavn::Mappe() const {
    return Streng(std::string_view(str()).substr(0, NameStart(str())));
}
