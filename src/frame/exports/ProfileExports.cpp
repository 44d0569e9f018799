// Feature-code lists to and from the host application's profile.

#include "frame/ExportGuard.h"
#include "frame/FeatureCodeProfile.h"
#include "frame/RigelExports.h"

int IntListeToRegistry(DT_IntListe* list, CString* section, CString* entry) {
    return rigel::GuardExport("IntListeToRegistry", 0, [&] {
        if (list == nullptr || section == nullptr || entry == nullptr)
            return 0;
        return rigel::IntListeToProfile(*list, section->GetString(), entry->GetString());
    });
}

int IntListeFromRegistry(DT_IntListe* list, CString* section, CString* entry) {
    return rigel::GuardExport("IntListeFromRegistry", 0, [&] {
        if (list == nullptr || section == nullptr || entry == nullptr)
            return 0;
        return rigel::IntListeFromProfile(*list, section->GetString(), entry->GetString());
    });
}
