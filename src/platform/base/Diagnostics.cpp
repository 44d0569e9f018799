#include "platform/base/Diagnostics.h"

namespace rigel {
namespace {

DiagnosticSink& Sink() {
    static DiagnosticSink sink;
    return sink;
}

} // namespace

DiagnosticSink SetDiagnosticSink(DiagnosticSink sink) {
    DiagnosticSink previous = std::move(Sink());
    Sink() = std::move(sink);
    return previous;
}

bool DiagnosticsWanted() {
    return static_cast<bool>(Sink());
}

void ReportDiagnostic(std::string_view file, long line, std::string_view reason,
                      std::string_view tally) {
    if (Sink())
        Sink()(Diagnostic{std::string(file), line, std::string(reason), tally});
}

} // namespace rigel
