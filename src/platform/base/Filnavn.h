#pragma once
// A file name with its parts. The folder ends at the later of the last "/" and "\".

#include "platform/base/Streng.h"

#include <string>
#include <string_view>

class Filnavn : public Streng {
public:
    Filnavn() = default;
    explicit Filnavn(std::string_view path) : Streng(path) {}
    const char* KlasseNavn() const override { return "Filnavn"; }

    // The extension without its dot ("" when the name has none).
    Streng Ext() const;
    // The name without folder and extension.
    Streng Navn() const;
    // The folder with its final separator ("" when there is none).
    Streng Mappe() const;
};
