#pragma once
// A file opened by name with a C mode. Reading ("r", "rt", "rb") reads the file as it is.
// Writing ("w", "wt", "wb") is atomic: the text goes to a temporary file beside the target and
// replaces the target only when LukkIgjen() succeeds; a Fil destroyed while still open for
// writing discards what was written and leaves the previous file untouched. Text mode changes no
// bytes on this platform ("\n" stays "\n").

#include "platform/base/AtomicFile.h"
#include "platform/base/Filnavn.h"

#include <string>
#include <string_view>

class Fil : public HovedObjekt {
public:
    explicit Fil(std::string_view name) : name_(name) {}
    ~Fil() override;
    Fil(const Fil&) = delete;
    Fil& operator=(const Fil&) = delete;
    const char* KlasseNavn() const override { return "Fil"; }

    const Filnavn& Navn() const { return name_; }
    // 1 when a regular file of that name exists.
    int Finnes() const;
    // Opens with a C mode; 1 on success, 0 (with ErrorText) otherwise.
    int LukkOpp(const char* mode);
    // Closes; for a file being written, commits it. 1 on success.
    int LukkIgjen();
    int ErApen() const { return reading_ >= 0 || writer_.IsOpen(); }
    const std::string& ErrorText() const { return error_; }

protected:
    int WriteBytes(std::string_view bytes);
    // Reads up to count bytes; 0 at the end, -1 on error.
    long ReadBytes(char* buffer, std::size_t count);

private:
    Filnavn name_;
    int reading_ = -1;
    rigel::AtomicFile writer_;
    std::string error_;
};
