#pragma once
// Feature-code lists in the host application's profile: one string per list, each code followed
// by a line feed ("12\n34\n"), the empty string for an empty list.

#include "platform/base/DT_IntListe.h"
#include "platform/base/StrengListe.h"

#include <string>
#include <string_view>

namespace rigel {

std::string CodesToProfileValue(const DT_IntListe& list);
std::string CodesToProfileValue(const StrengListe& list);
// Appends the pieces of a profile value (empty pieces skipped; numbers by atoi).
void CodesFromProfileValue(std::string_view value, DT_IntListe& list);
void CodesFromProfileValue(std::string_view value, StrengListe& list);

// The text pair of IntListeToRegistry / IntListeFromRegistry: 1, or 0 without an application
// object (From then leaves the list empty).
int StrengListeToRegistry(const StrengListe& list, const char* section, const char* entry);
int StrengListeFromRegistry(StrengListe& list, const char* section, const char* entry);
int IntListeToProfile(const DT_IntListe& list, const char* section, const char* entry);
int IntListeFromProfile(DT_IntListe& list, const char* section, const char* entry);

} // namespace rigel
