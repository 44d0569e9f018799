// The chain's files: the tier-table file (read and written) and the line file (written). Layouts
// in docs/formats.md.

#include "platform/base/Diagnostics.h"
#include "platform/base/TekstFil.h"
#include "platform/base/TextFormat.h"
#include "platform/base/Trace.h"
#include "platform/polyline/CvPolyLine.h"
#include "platform/polyline/PolylineText.h"

#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr const char* kTitHeader = "TIT 11";
constexpr const char* kLineFileHeader =
    "# Rigel line file 1\n"
    "# number type start_station end_station length start_radius end_radius "
    "transition_parameter start_x start_y start_z end_x end_y end_z frame\n";

bool IsBlankOrComment(std::string_view line) {
    for (char c : line) {
        if (c == ' ' || c == '\t' || c == '\r')
            continue;
        return c == '#';
    }
    return true;
}

// Reads the lines of a tier-table file one by one into owned elements.
class TitReader {
public:
    explicit TitReader(std::string_view source) : source_(source) {}

    // false with error() on the first line that does not fit.
    bool Feed(long lineNumber, std::string_view line) {
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (IsBlankOrComment(line))
            return true;
        if (!headerSeen_) {
            const auto tokens = rigel::polyline::SplitTokens(line, 2);
            if (tokens.size() != 2 || tokens[0] != "TIT" || tokens[1] != "11")
                return Error(lineNumber,
                             "not a tier-table file: the first line must be \"TIT 11\"");
            headerSeen_ = true;
            return true;
        }
        if (!pendingLine_) {
            first_.assign(line);
            firstNumber_ = lineNumber;
            pendingLine_ = true;
            return true;
        }
        auto element = std::make_unique<CvPolyElement>();
        std::string why;
        if (element->InitFromLinesTIT(first_, line, 11, &why) == 0) {
            // Name the line the fault is on: the first line's faults mention "first line".
            const bool onFirst = why.rfind("first line", 0) == 0 ||
                                 why.rfind("element number", 0) == 0 ||
                                 why.rfind("start", 0) == 0 || why.rfind("length", 0) == 0;
            return Error(onFirst ? firstNumber_ : lineNumber, why);
        }
        elements_.push_back(std::move(element));
        pendingLine_ = false;
        return true;
    }

    bool Finish(long lastLine) {
        if (!headerSeen_)
            return Error(lastLine, "not a tier-table file: no \"TIT 11\" header");
        if (pendingLine_)
            return Error(firstNumber_, "the element has no second line");
        return true;
    }

    const std::string& error() const { return error_; }
    std::vector<std::unique_ptr<CvPolyElement>>& elements() { return elements_; }

private:
    bool Error(long lineNumber, std::string_view what) {
        error_ = rigel::Format("%s:%d: %s", source_, lineNumber, std::string(what));
        rigel::Diagnose(source_, lineNumber, "%s", std::string(what));
        return false;
    }

    std::string source_;
    bool headerSeen_ = false;
    bool pendingLine_ = false;
    std::string first_;
    long firstNumber_ = 0;
    std::string error_;
    std::vector<std::unique_ptr<CvPolyElement>> elements_;
};

// The station of point p on a chain that may not be changed: the best element projection.
bool StationOnReference(const CvPolyLine& reference, const DT_Punkt& p, double& station) {
    bool found = false;
    double bestOffset = 0.0;
    for (int i = 0; i < reference.GetCount(); ++i) {
        const CvPolyElement* e = reference.Element(i);
        DT_Double s, offset;
        if (e == nullptr || e->StationAtPos(p, &s, &offset) == 0)
            continue;
        if (!found || std::fabs(offset.Get()) < bestOffset) {
            found = true;
            bestOffset = std::fabs(offset.Get());
            station = s.Get();
        }
    }
    return found;
}

int WriteText(const char* fileName, int overwrite, const std::string& text, std::string& error,
              int& code) {
    if (fileName == nullptr || *fileName == '\0') {
        error = "no file name";
        code = -1;
        return 0;
    }
    TekstFil file(fileName);
    if (overwrite == 0 && file.Finnes() != 0) {
        error = rigel::Format("%s: exists and may not be replaced", fileName);
        code = -5;
        return 0;
    }
    if (file.LukkOpp("wt") == 0 || file.LeggTilLinje(text) == 0 || file.LukkIgjen() == 0) {
        error = rigel::Format("%s: cannot be written: %s", fileName, file.ErrorText());
        code = -2;
        return 0;
    }
    return 1;
}

} // namespace

int CvPolyLine::InitFrom_TIT_File(const char* fileName, int append, int restation,
                                  const CvPolyLine* reference) {
    if (fileName == nullptr || *fileName == '\0')
        return Fail(-1, "no file name");
    TekstFil file(fileName);
    if (file.LukkOpp("rt") == 0)
        return Fail(-2, rigel::Format("%s: cannot be read: %s", fileName, file.ErrorText()));
    std::string text;
    Streng line;
    while (file.LesNesteLinje(line) != 0) {
        text += line.str();
        text += '\n';
    }
    file.LukkIgjen();
    return InitFrom_TIT_Text(text, fileName, append, restation, reference);
}

int CvPolyLine::InitFrom_TIT_Text(std::string_view text, std::string_view sourceName, int append,
                                  int restation, const CvPolyLine* reference) {
    TitReader reader(sourceName);
    long number = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos)
            end = text.size();
        ++number;
        if (!reader.Feed(number, text.substr(at, end - at)))
            return Fail(-3, reader.error());
        at = end + 1;
    }
    if (!reader.Finish(number))
        return Fail(-3, reader.error());
    CvPolyLine read(1);
    for (auto& e : reader.elements())
        read.DT_Nodeliste::LeggTil(e.release());
    if (restation != 0)
        read.ResetSTA();
    if (reference != nullptr && read.GetCount() > 0) {
        double s = 0.0;
        if (!StationOnReference(*reference, *read.HeadElem()->StartPoint(), s))
            return Fail(-4, rigel::Format("%s: the first element's start point does not project "
                                          "onto the reference alignment",
                                          std::string(sourceName)));
        read.ResetSTA(s);
    }
    if (append == 0)
        SlettAlleIListen(1);
    const int n = read.GetCount();
    std::vector<HovedObjekt*> objects(n);
    for (int i = 0; i < n; ++i)
        objects[i] = read.Objekt(i);
    read.DT_Nodeliste::SlettAlleIListen(0);
    for (HovedObjekt* o : objects)
        DT_Nodeliste::LeggTil(o);
    StructureChanged();
    lastError_.clear();
    ErrorKode(0);
    return 1;
}

std::string CvPolyLine::TIT11Text(int precision) const {
    std::string text = kTitHeader;
    text += '\n';
    Streng a, b;
    for (int i = 0; i < GetCount(); ++i) {
        const CvPolyElement* e = Element(i);
        if (e == nullptr || e->GetLinesTIT(&a, &b, 11, precision) == 0)
            return std::string();
        text += a.str();
        text += '\n';
        text += b.str();
        text += '\n';
    }
    return text;
}

int CvPolyLine::ExportToTIT11File(const char* fileName, int overwrite, int precision) {
    const std::string text = TIT11Text(precision);
    if (text.empty())
        return Fail(-3, rigel::Format("%s: an element has values that are not finite",
                                      fileName != nullptr ? fileName : ""));
    std::string error;
    int code = 0;
    if (WriteText(fileName, overwrite, text, error, code) == 0)
        return Fail(code, error);
    lastError_.clear();
    ErrorKode(0);
    return 1;
}

std::string CvPolyLine::LineFileText(int precision) const {
    std::string text = kLineFileHeader;
    Streng line;
    for (int i = 0; i < GetCount(); ++i) {
        const CvPolyElement* e = Element(i);
        if (e == nullptr)
            continue;
        e->GetLinesLIN(&line, precision);
        text += line.str();
        text += '\n';
    }
    return text;
}

int CvPolyLine::ExportToFile(const char* fileName, int overwrite, int precision) {
    std::string error;
    int code = 0;
    if (WriteText(fileName, overwrite, LineFileText(precision), error, code) == 0)
        return Fail(code, error);
    lastError_.clear();
    ErrorKode(0);
    return 1;
}
