#include "SurveyInput.h"

#include "CliHostUi.h"
#include "Messages.h"

#include "formats/TrackProject.h"
#include "frame/Dispatcher.h"
#include "frame/FileTypes.h"
#include "frame/RigelExports.h"
#include "platform/base/AtomicFile.h"
#include "platform/base/Diagnostics.h"
#include "platform/host/CArchive.h"
#include "platform/host/CFile.h"
#include "platform/host/CWinApp.h"
#include "platform/host/RegistryProfile.h"
#include "platform/polyline/CvPolyLine.h"
#include "points/CvMeasurePointSort.h"

#include <cctype>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

namespace rigel::cli {
namespace {

// Notes counted by their tally, in the order first met.
class Tallies {
public:
    void Add(std::string_view tally) {
        if (tally.empty())
            return;
        for (auto& [name, count] : counts_)
            if (name == tally) {
                ++count;
                return;
            }
        counts_.emplace_back(tally, 1);
    }
    // "3 point records skipped: x or y empty; 1 numbers cut at a decimal comma", or empty.
    std::string Text() const {
        std::string text;
        for (const auto& [name, count] : counts_)
            text += Format(text.empty() ? "%ld %s" : "; %ld %s", count, std::string(name));
        return text;
    }

private:
    std::vector<std::pair<std::string_view, long>> counts_;
};

bool ParseFlag(const char* name, const std::string& text, bool given, bool numeric,
               std::optional<std::vector<std::string>>& out) {
    if (!given)
        return true;
    std::vector<std::string> codes;
    std::string bad;
    if (!ParseCodeList(text, codes, &bad, numeric)) {
        Complain("%s: \"%s\" is not a feature code", name, bad);
        return false;
    }
    out = std::move(codes);
    return true;
}

// Only the dispatcher's readers of survey points give a centre track; the message lists them
// from its table.
bool HasReader(const SurveyOptions& o, unsigned type) {
    const ReaderRow* row = FindReader(type);
    if (row != nullptr && row->surveyPoints)
        return true;
    std::string readable;
    for (const ReaderRow& r : kReaders)
        if (r.surveyPoints)
            readable += Format("%s%s (%u)", readable.empty() ? "" : ", ", r.name, r.type);
    if (row != nullptr) {
        Complain("%s: a %s file holds a whole project, not a survey; rigel convert reads it. %s "
                 "reads %s",
                 o.file, row->name, CommandName(), readable);
        return false;
    }
    const std::string_view extension = ExtensionOfType(type);
    Complain("%s: no reader for type %u%s; %s reads %s", o.file, type,
             extension.empty() ? std::string() : Format(" (%s)", std::string(extension)),
             CommandName(), readable);
    return false;
}

// An alignment the dialog cannot read would leave the heights to the lowest rail unnoticed.
bool AlignmentReadable(const std::string& path) {
    if (path.empty())
        return true;
    CvPolyLine probe(1);
    if (probe.InitFrom_TIT_File(path.c_str(), 0, 0, nullptr))
        return true;
    Complain("--alignment: %s", probe.LastError());
    return false;
}

// The host's survey sequence: clear the lists, Serialize in load mode with the dialog always
// shown and answered (from the flags, at the prompt, or with its proposal: the profile's codes,
// which OK merges back, 0 included). Every note is counted by its tally for the summary line;
// --verbose prints each one.
void LoadSurvey(const SurveyOptions& o, unsigned type, CFile& file) {
    Tallies tallies;
    const ScopedDiagnosticSink sink([&tallies, verbose = o.verbose](const Diagnostic& d) {
        if (verbose)
            std::fprintf(stderr, "%s:%ld: %s\n", d.file.c_str(), d.line, d.reason.c_str());
        tallies.Add(d.tally);
    });
    rigel_ClearCoordinateLists();
    rigel_ClearFeatureCodesLists();
    TrackProject project;
    {
        CArchive archive(&file, CArchive::load, 1 << 16);
        Serialize(&archive, &project, static_cast<int>(type), 0, 1, 0);
    }
    file.Close();
    if (const std::string summary = tallies.Text(); !summary.empty())
        Complain("%s: %s%s", o.file, summary, o.verbose ? "" : " (--verbose lists them)");
}

// Why a load by feature codes placed no point: no code in the file, codes not assigned, or codes
// given that no point has. The codes are those the dialog showed, which the library finds by the
// file's extension.
void ExplainNothingRead(const SurveyOptions& o, unsigned type, const CliHostUi& ui) {
    std::string found;
    for (const std::string& code : ui.CodesShown())
        found += (found.empty() ? "" : ", ") + code;
    const bool none = found.empty();
    // Points without any code text go to the centre track, so a LandXML load without codes
    // found read no point at all.
    if (none && type == kXML) {
        Complain("%s: no survey point read: the file is not readable LandXML (not well-formed, "
                 "or it declares entities, which are refused) or has no CgPoints outside named "
                 "groups",
                 o.file);
        return;
    }
    if (none)
        found = "none";
    const unsigned scanType = TypeOfExtension(ExtensionOfName(o.file)).value_or(kAllTypes);
    if (none && scanType != type) {
        std::string extension(ExtensionOfType(type));
        for (char& c : extension)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        found += Format(" (codes are found by the file's extension: name the file .%s)", extension);
    }
    const bool codesGiven = o.centreGiven || o.leftGiven || o.rightGiven;
    if (!codesGiven && none && scanType == type)
        Complain("%s: the file's point records carry no feature code (a blank code reads as 0), so "
                 "nothing was read. --centre 0 loads them as the track centre.",
                 o.file);
    else if (!codesGiven)
        Complain(
            "%s: no feature code is assigned to a track line, so nothing was read. The file's "
            "codes: %s. Assign them with --centre, --left and --right (comma-separated codes), "
            "or choose them with --ask.",
            o.file, found);
    else
        Complain("%s: no point has the codes given, so nothing was read. The file's codes: %s.",
                 o.file, found);
}

} // namespace

// --profile, else $RIGEL_PROFILE, else $XDG_CONFIG_HOME/rigel/profile.ini (~/.config when
// unset), whose folder is made when missing. Empty when there is no home to put it in.
void UseProfile(CWinApp& app, const std::string& given) {
    if (!given.empty()) {
        app.SetProfilePath(given);
        return;
    }
    if (const char* env = std::getenv("RIGEL_PROFILE"); env && *env) {
        app.SetProfilePath(env);
        return;
    }
    // On Windows the profile is where the design application keeps its own: in the registry.
    if (RegistryAvailable()) {
        app.SetRegistryKey(kRegistryKey);
        return;
    }
    app.SetProfilePath(DefaultProfilePath());
}

std::string DefaultProfilePath() {
    std::filesystem::path base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        base = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = std::filesystem::path(home) / ".config";
    else
        return {};
    std::error_code ec;
    std::filesystem::create_directories(base / "rigel", ec);
    if (ec)
        Complain("cannot make the profile folder %s: %s", (base / "rigel").string(), ec.message());
    return (base / "rigel" / "profile.ini").string();
}

bool OpenReadable(const std::string& path, CFile& file) {
    CFileException openError;
    if (!file.Open(path.c_str(), CFile::modeRead, &openError)) {
        Complain("cannot read %s: %s", path, ErrnoText(openError.m_lOsError));
        return false;
    }
    try {
        char probe;
        file.Read(&probe, 1);
        file.SeekToBegin();
    } catch (const CFileException& e) {
        Complain("cannot read %s: %s", path, ErrnoText(e.m_lOsError));
        return false;
    }
    return true;
}

// The file type, decided once: typeText (a number or an extension name), else the extension of
// file. Nothing, with the message given, when neither tells it.
std::optional<unsigned> DecideType(const std::string& typeText, const std::string& file,
                                   const char* typeFlag) {
    if (!typeText.empty()) {
        int number = 0;
        const char* end = typeText.data() + typeText.size();
        const auto [ptr, ec] = std::from_chars(typeText.data(), end, number);
        if (ec == std::errc() && ptr == end && number >= 1 &&
            number <= static_cast<int>(kVTDVariant))
            return static_cast<unsigned>(number);
        if (const auto named = TypeOfExtension(typeText))
            return *named;
        Complain("%s %s: not a file type; give its number (2 KOF, 10 PXY, 11 MIC, 15 GPS, ...) "
                 "or its extension (%s kof). See '%s --help'.",
                 typeFlag, typeText, typeFlag, CommandName());
        return std::nullopt;
    }
    unsigned type = 0;
    CString name(file.c_str());
    if (!GetFileTypeFromFileName(&name, &type) || type == kAllTypes || type == kNoExtension) {
        Complain("%s: cannot tell the file type from its name; give %s N or %s EXT (2 KOF, 10 "
                 "PXY, 11 MIC, 15 GPS, ...)",
                 file, typeFlag, typeFlag);
        return std::nullopt;
    }
    return type;
}

int LoadCentreTrack(const SurveyOptions& o, unsigned type, CvSporopPointList& centre) {
    if (!HasReader(o, type))
        return 2;
    if (!AlignmentReadable(o.alignment))
        return 1;
    DialogFlags flags;
    const bool numeric = type != kXML;
    if (!ParseFlag("--centre", o.centre, o.centreGiven, numeric, flags.centre) ||
        !ParseFlag("--left", o.left, o.leftGiven, numeric, flags.left) ||
        !ParseFlag("--right", o.right, o.rightGiven, numeric, flags.right))
        return 2;
    flags.alignment = o.alignment;
    flags.turnAlignment = o.turnAlignment;
    flags.ask = o.ask;

    CFile file;
    if (!OpenReadable(o.file, file))
        return 1;
    CWinApp app("rigel");
    UseProfile(app, o.profile);
    AfxSetApp(&app);
    CliHostUi ui(flags, stdin, stderr);
    ScopedHostUi installUi(ui);
    LoadSurvey(o, type, file);
    AfxSetApp(nullptr);

    if (ui.DialogCancelled()) {
        Complain("the feature-code dialog was cancelled: nothing read");
        return 2;
    }
    // Every load ends with the centre track, so no centre point means nothing was read.
    const bool usesCodes = type == kKOF || type == kMIC || type == kXML;
    if (usesCodes && !rigel_IsCoordinatesLoaded()) {
        ExplainNothingRead(o, type, ui);
        return 2;
    }
    GetCenterCoordinateList(&centre);
    return 0;
}

void ReportSort() {
    int totals[5] = {};
    GetQuickSortStatus(&totals[0], &totals[1], &totals[2], &totals[3], &totals[4]);
    std::fprintf(stderr, "%s\n",
                 SortReportText(totals[0], totals[1], totals[2], totals[3], totals[4]).c_str());
}

std::function<void()> AddSurveyFlags(CLI::App& sub, SurveyOptions& o) {
    CLI::Option* centre =
        sub.add_option("--centre", o.centre, "feature codes of the track centre, comma-separated");
    CLI::Option* left =
        sub.add_option("--left", o.left, "feature codes of the left rail, comma-separated");
    CLI::Option* right =
        sub.add_option("--right", o.right, "feature codes of the right rail, comma-separated");
    sub.add_flag("--ask", o.ask,
                 "answer the feature-code dialog at a prompt (codes found, the three lists, the "
                 "tier-table options)");
    sub.add_option("--alignment", o.alignment,
                   "tier-table file of the horizontal alignment (the dialog's tier-table option); "
                   "it decides which rail gives the centre track's height in curves");
    sub.add_flag("--turn-alignment", o.turnAlignment,
                 "turn the --alignment round (the dialog's second tier-table option)");
    sub.add_option("--profile", o.profile,
                   "the profile that remembers the feature codes (default: $RIGEL_PROFILE, else "
                   "$XDG_CONFIG_HOME/rigel/profile.ini)");
    sub.add_flag("--verbose", o.verbose, "report each skipped line with its number and why");
    return [&o, centre, left, right] {
        o.centreGiven = centre->count() > 0;
        o.leftGiven = left->count() > 0;
        o.rightGiven = right->count() > 0;
    };
}

} // namespace rigel::cli
