#pragma once
// The feature-code dialog as the library uses it: filled with the four code lists, shown through
// the host's HostUi, and read back after OK. It keeps pointers to the lists given to InitLists
// (numeric or text, not both) and writes the user's assignment into the three line lists when
// DoModal answers IDOK; after IDCANCEL the lists are as they were given.

#include "platform/base/DT_IntListe.h"
#include "platform/base/StrengListe.h"
#include "platform/host/CString.h"
#include "platform/host/HostUi.h"
#include "platform/host/WinTypes.h"

class CvDialogThemeCodes {
public:
    // The parent window is not used on this platform.
    explicit CvDialogThemeCodes(void* parent = nullptr);

    void InitLists(DT_IntListe* available, DT_IntListe* left, DT_IntListe* centre,
                   DT_IntListe* right);
    void InitLists(StrengListe* available, StrengListe* left, StrengListe* centre,
                   StrengListe* right);

    // IDOK or IDCANCEL. A numeric dialog takes back only answers that are decimal integers; any
    // other text is dropped and traced.
    int DoModal();

    int m_nRailExports = 0;        // RailExportsEnabled of the library state, set before DoModal
    CString m_strFileLabel;        // "<FILE> contains these feature codes:"
    BOOL m_bReadTierTable = FALSE; // after OK: read the horizontal alignment from a tier table
    BOOL m_bTurnTierTable = FALSE; // after OK: and turn it round

private:
    DT_IntListe* intLists_[4] = {}; // available, left, centre, right
    StrengListe* textLists_[4] = {};
    bool text_ = false;
};
