#pragma once
// Why a reader skipped a line, or read one in a way the writer probably did not mean: file name,
// line number and reason, handed to a sink the host may install (the CLI prints them with
// --verbose, and counts them by their tally after every load). Notes stay silent to the reader's
// results; without a sink nothing is formatted, so a reader pays only for a test per note.

#include "platform/base/TextFormat.h"

#include <functional>
#include <string>
#include <string_view>

namespace rigel {

struct Diagnostic {
    std::string file; // the path or name the reader was given
    long line = 0;    // 1-based; 0 when the note is about the whole file
    std::string reason;
    // What the note counts as, in a summary ("point records skipped: x or y empty", ...); a
    // fixed text, empty when the note is not counted.
    std::string_view tally;
};

using DiagnosticSink = std::function<void(const Diagnostic&)>;

// Installs the host's sink (an empty function removes it); returns the previous one.
DiagnosticSink SetDiagnosticSink(DiagnosticSink sink);
bool DiagnosticsWanted();
void ReportDiagnostic(std::string_view file, long line, std::string_view reason,
                      std::string_view tally = {});

// Formats the reason only when a sink listens. A format that does not fit its arguments is
// reported as such rather than thrown: a note never breaks the read that makes it. `tally` must
// outlive the sink's use of it (a string literal).
template <typename... Args>
void DiagnoseAs(std::string_view tally, std::string_view file, long line, std::string_view format,
                const Args&... args) {
    if (!DiagnosticsWanted())
        return;
    std::string reason;
    try {
        reason = Format(format, args...);
    } catch (const std::exception& e) {
        reason = std::string("bad diagnostic format \"") + std::string(format) + "\": " + e.what();
    }
    ReportDiagnostic(file, line, reason, tally);
}

template <typename... Args>
void Diagnose(std::string_view file, long line, std::string_view format, const Args&... args) {
    DiagnoseAs({}, file, line, format, args...);
}

// Installs a sink for the lifetime of a scope and puts the previous one back.
class ScopedDiagnosticSink {
public:
    explicit ScopedDiagnosticSink(DiagnosticSink sink)
        : previous_(SetDiagnosticSink(std::move(sink))) {}
    ~ScopedDiagnosticSink() { SetDiagnosticSink(std::move(previous_)); }
    ScopedDiagnosticSink(const ScopedDiagnosticSink&) = delete;
    ScopedDiagnosticSink& operator=(const ScopedDiagnosticSink&) = delete;

private:
    DiagnosticSink previous_;
};

} // namespace rigel
