#include "frame/FeatureCodes.h"

#include "frame/FeatureCodeProfile.h"
#include "frame/FileTypes.h"
#include "frame/LibraryState.h"
#include "frame/readers/Columns.h"
#include "platform/base/Trace.h"
#include "platform/host/CFile.h"
#include "platform/host/CvDialogThemeCodes.h"
#include "platform/host/HostUi.h"

#include <unordered_set>

namespace rigel {
namespace {

constexpr std::size_t kCodeScanPiece = 254;

// The operations the steps need, for numeric and text code lists alike.
int Has(const DT_IntListe& list, int code) {
    return list.Finnes(code);
}
int Has(const StrengListe& list, const std::string& code) {
    return list.Finnes(code);
}
void Add(DT_IntListe& list, int code) {
    list.LeggTilVerdi(code);
}
void Add(StrengListe& list, const std::string& code) {
    list.LeggTilStreng(code);
}
int ValueAt(const DT_IntListe& list, int i) {
    return list.Verdi(i);
}
std::string ValueAt(const StrengListe& list, int i) {
    return list.Tekst(i)->str();
}
int CodeOf(const DT_IntListe&, const HovedObjekt* node) {
    return static_cast<const DT_Int*>(node)->Get();
}
const std::string& CodeOf(const StrengListe&, const HovedObjekt* node) {
    return static_cast<const Streng*>(node)->str();
}

void ReadRegistered(DT_IntListe& list, const char* entry) {
    IntListeFromProfile(list, kFeatureCodeSection, entry);
}
void ReadRegistered(StrengListe& list, const char* entry) {
    StrengListeFromRegistry(list, kFeatureCodeSection, entry);
}
void WriteRegistered(const DT_IntListe& list, const char* entry) {
    IntListeToProfile(list, kFeatureCodeSection, entry);
}
void WriteRegistered(const StrengListe& list, const char* entry) {
    StrengListeToRegistry(list, kFeatureCodeSection, entry);
}

template <typename List> void CopyCodes(const List& from, List& to) {
    to.SlettAlleIListen(1);
    for (int i = 0; i < from.Antall(); ++i)
        Add(to, ValueAt(from, i));
}

template <typename List> void RemoveCode(List& list, const decltype(ValueAt(list, 0))& code) {
    list.RemoveIf([&](const HovedObjekt* node) { return CodeOf(list, node) == code; });
}

// The steps after the codes were found: assignment from the registered lists, the dialog, the
// merge after OK, the profile and the tier table.
template <typename List>
bool AssignCodes(List& centre, List& left, List& right, List& available, bool askDialog,
                 CvPolyLine* alignment, const std::string& label,
                 const FeatureCodeEntries& entries) {
    List* lines[3] = {&centre, &left, &right};
    const char* names[3] = {entries.centre, entries.left, entries.right};
    List registered[3];
    for (int k = 0; k < 3; ++k)
        ReadRegistered(registered[k], names[k]);

    // Codes that some registered list claims go to each such line and leave the available list.
    {
        available.RemoveIf([&](const HovedObjekt* node) {
            const auto& code = CodeOf(available, node);
            bool claimed = false;
            for (int k = 0; k < 3; ++k) {
                if (Has(registered[k], code)) {
                    Add(*lines[k], code);
                    claimed = true;
                }
            }
            return claimed;
        });
    }

    auto anyCodes = [&] { return centre.Antall() > 0 || left.Antall() > 0 || right.Antall() > 0; };
    if (!askDialog)
        return anyCodes();

    List before[3];
    for (int k = 0; k < 3; ++k)
        CopyCodes(*lines[k], before[k]);

    CvDialogThemeCodes dialog(nullptr);
    dialog.m_nRailExports = State().RailExportsEnabled;
    dialog.m_strFileLabel = label;
    dialog.InitLists(&available, &left, &centre, &right);
    if (dialog.DoModal() != IDOK) {
        for (List* line : lines)
            line->SlettAlleIListen(1);
        Trace("[FeatureCodes] the feature-code dialog was cancelled\n");
        return false;
    }

    for (int k = 0; k < 3; ++k) {
        List& line = *lines[k];
        std::vector<decltype(ValueAt(line, 0))> removed;
        for (int i = 0; i < before[k].Antall(); ++i)
            if (!Has(line, ValueAt(before[k], i)))
                removed.push_back(ValueAt(before[k], i));
        for (int i = 0; i < registered[k].Antall(); ++i)
            if (!Has(line, ValueAt(registered[k], i)))
                Add(line, ValueAt(registered[k], i));
        line.Sorter(1);
        for (const auto& code : removed)
            RemoveCode(line, code);
        WriteRegistered(line, names[k]);
    }

    if (dialog.m_bReadTierTable) {
        if (alignment == nullptr) {
            Trace("[FeatureCodes] no alignment to fill: the tier-table option is not used\n");
        } else {
            FileDialogRequest request;
            request.open = true;
            request.defaultExtension = "TenTable file";
            request.initialFileName = "*.tit";
            request.flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
            request.filter = "TenTable Files (*.tit)|*.tit|All Files (*.*)|*.*||";
            request.title = "Select horizontal alignment";
            if (std::optional<std::string> path = GetHostUi()->OpenFileDialog(request)) {
                if (alignment->InitFrom_TIT_File(path->c_str(), 0, 0, nullptr) == 0)
                    Trace("[FeatureCodes] tier table not read: %s\n", alignment->LastError());
                else if (dialog.m_bTurnTierTable)
                    alignment->Turn(1);
            }
        }
    }
    return anyCodes();
}

} // namespace

std::string FeatureCodeLabel(std::string_view fileName) {
    CString name{fileName};
    name.MakeUpper();
    return Format("%s contains these feature codes:", name.str());
}

void FindNumericCodes(LineSource& lines, unsigned type, DT_IntListe& available) {
    if (type != kKOF && type != kMIC)
        return;
    std::unordered_set<int> seen;
    for (int i = 0; i < available.Antall(); ++i)
        seen.insert(available.Verdi(i));
    std::string line;
    while (lines.Next(line)) {
        const std::string_view whole = line;
        std::size_t start = 0;
        do {
            const std::string_view piece = whole.substr(start, kCodeScanPiece);
            int code = 0;
            if (type == kKOF) {
                if (kof::IsPointRecord(piece))
                    code = columns::KofCode(piece);
            } else {
                const columns::MicHead head = columns::ReadMicHead(piece);
                if (head.IsPoint())
                    code = head.code;
            }
            if (code != 0 && seen.insert(code).second)
                available.LeggTilVerdi(code);
            start += kCodeScanPiece;
        } while (start < whole.size());
    }
}

bool NumericFeatureCodeStep(DT_IntListe& centre, DT_IntListe& left, DT_IntListe& right,
                            CArchive* archive, bool askDialog, CvPolyLine* alignment) {
    centre.SlettAlleIListen(1);
    left.SlettAlleIListen(1);
    right.SlettAlleIListen(1);

    DT_IntListe available(1);
    std::string label;
    CFile* bound = archive != nullptr ? archive->GetFile() : nullptr;
    if (bound != nullptr) {
        const std::string path = bound->GetFilePath().str();
        label = FeatureCodeLabel(bound->GetFileName().str());
        CFile file;
        bool open = file.Open(path.c_str(), CFile::modeRead);
        if (!open) {
            // Some hosts keep the file locked while the archive is bound to it.
            bound->Close();
            open = file.Open(path.c_str(), CFile::modeRead);
        }
        if (open) {
            const unsigned type = TypeOfExtension(ExtensionOfName(path)).value_or(kAllTypes);
            CArchive reader(&file, CArchive::load);
            ArchiveLineSource lines(reader, path);
            lines.IgnoreOddBytes();
            FindNumericCodes(lines, type, available);
        } else {
            Trace("[FeatureCodes] cannot read \"%s\" for its feature codes\n", path);
        }
    }
    return AssignCodes(centre, left, right, available, askDialog, alignment, label,
                       kNumericCodeEntries);
}

bool TextFeatureCodeStep(StrengListe& centre, StrengListe& left, StrengListe& right, bool askDialog,
                         CvPolyLine* alignment, const CvSporopPointList& points) {
    centre.SlettAlleIListen(1);
    left.SlettAlleIListen(1);
    right.SlettAlleIListen(1);

    StrengListe available(1);
    std::unordered_set<std::string> seen;
    for (int i = 0; i < points.Antall(); ++i) {
        const std::string code = points.Punkt(i)->code.str();
        if (!code.empty() && seen.insert(code).second)
            available.LeggTilStreng(code);
    }
    if (available.Antall() == 0)
        return false;
    return AssignCodes(centre, left, right, available, askDialog, alignment, std::string(),
                       kTextCodeEntries);
}

} // namespace rigel
