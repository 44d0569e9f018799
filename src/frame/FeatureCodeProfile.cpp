#include "frame/FeatureCodeProfile.h"

#include "platform/base/TextScan.h"
#include "platform/base/Trace.h"
#include "platform/host/CWinApp.h"

namespace rigel {
namespace {

template <typename Piece> void SplitLines(std::string_view value, Piece piece) {
    std::size_t start = 0;
    while (start < value.size()) {
        std::size_t end = value.find('\n', start);
        if (end == std::string_view::npos)
            end = value.size();
        if (end > start)
            piece(value.substr(start, end - start));
        start = end + 1;
    }
}

int WriteValue(const char* section, const char* entry, const std::string& value) {
    CWinApp* app = AfxGetApp();
    if (app == nullptr)
        return 0;
    if (!app->WriteProfileString(section, entry, value.c_str()))
        Trace("[FeatureCodeProfile] could not write the profile entry \"%s\"\n", entry);
    return 1;
}

bool ReadValue(const char* section, const char* entry, std::string& value) {
    CWinApp* app = AfxGetApp();
    if (app == nullptr)
        return false;
    value = app->GetProfileString(section, entry, "").str();
    return true;
}

} // namespace

std::string CodesToProfileValue(const DT_IntListe& list) {
    std::string value;
    for (int i = 0; i < list.Antall(); ++i)
        FormatAppend(value, "%d\n", list.Verdi(i));
    return value;
}

std::string CodesToProfileValue(const StrengListe& list) {
    std::string value;
    for (int i = 0; i < list.Antall(); ++i) {
        value += list.Tekst(i)->str();
        value += '\n';
    }
    return value;
}

void CodesFromProfileValue(std::string_view value, DT_IntListe& list) {
    SplitLines(value, [&](std::string_view piece) { list.LeggTilVerdi(Atoi(piece)); });
}

void CodesFromProfileValue(std::string_view value, StrengListe& list) {
    SplitLines(value, [&](std::string_view piece) { list.LeggTilStreng(piece); });
}

int IntListeToProfile(const DT_IntListe& list, const char* section, const char* entry) {
    return WriteValue(section, entry, CodesToProfileValue(list));
}

int IntListeFromProfile(DT_IntListe& list, const char* section, const char* entry) {
    list.SlettAlleIListen(1);
    std::string value;
    if (!ReadValue(section, entry, value))
        return 0;
    CodesFromProfileValue(value, list);
    return 1;
}

int StrengListeToRegistry(const StrengListe& list, const char* section, const char* entry) {
    return WriteValue(section, entry, CodesToProfileValue(list));
}

int StrengListeFromRegistry(StrengListe& list, const char* section, const char* entry) {
    list.SlettAlleIListen(1);
    std::string value;
    if (!ReadValue(section, entry, value))
        return 0;
    CodesFromProfileValue(value, list);
    return 1;
}

} // namespace rigel
