#include "CentreCsv.h"

#include "platform/base/AtomicFile.h"
#include "platform/base/ShortestDouble.h"
#include "platform/base/TextFormat.h"

#include <cerrno>
#include <charconv>
#include <cstdio>

namespace rigel::cli {
namespace {

constexpr const char* kCsvHeader = "index,x,y,z,profile,direction,curvature,curvature7,curvature3,"
                                   "verticalCurvature,cant,code,description\n";

// Appends a CSV field: quoted when it holds a comma, a quote or a line end; quotes doubled.
void AppendCsvText(std::string& out, std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        out += text;
        return;
    }
    out += '"';
    for (char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

void AppendRow(std::string& out, int index, const CvSporopPoint& p) {
    AppendInteger(out, index);
    out += ',';
    for (double v : {p.x(), p.y(), p.z(), p.profile, p.direction, p.curvature, p.curvature7,
                     p.curvature3, p.verticalCurvature}) {
        AppendShortestDouble(out, v);
        out += ',';
    }
    AppendInteger(out, p.cant);
    out += ',';
    AppendCsvText(out, p.code);
    out += ',';
    AppendCsvText(out, p.description);
    out += '\n';
}

// The rows go out in pieces, to standard output or atomically to the file.
class CsvOut {
public:
    bool Open(const std::string& path) {
        path_ = path;
        return path.empty() || file_.Open(path);
    }
    bool Put(std::string& text) {
        bool ok = path_.empty() ? std::fwrite(text.data(), 1, text.size(), stdout) == text.size()
                                : file_.Write(text);
        text.clear();
        return ok;
    }
    bool Close() { return path_.empty() ? std::fflush(stdout) == 0 : file_.Commit(); }
    std::string Reason() const {
        return path_.empty() ? "standard output: " + ErrnoText(errno) : file_.ErrorText();
    }

private:
    std::string path_;
    AtomicFile file_;
};

} // namespace

bool WriteCentreCsv(const CvSporopPointList& points, const std::string& path, std::string* reason) {
    CsvOut out;
    if (!out.Open(path)) {
        if (reason)
            *reason = out.Reason();
        return false;
    }
    std::string text = kCsvHeader;
    for (int i = 0; i < points.Antall(); ++i) {
        AppendRow(text, i, *points.Punkt(i));
        if (text.size() >= (1u << 20) && !out.Put(text))
            break;
    }
    if ((!text.empty() && !out.Put(text)) || !out.Close()) {
        if (reason)
            *reason = out.Reason();
        return false;
    }
    return true;
}

} // namespace rigel::cli
