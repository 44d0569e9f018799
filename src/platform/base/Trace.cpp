#include "platform/base/Trace.h"

#include "platform/base/DebugOutput.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace rigel {
namespace {

struct TraceState {
    std::mutex mutex;
    TraceSink sink;
    bool enabled = true;
    int env = -1; // -1 not read yet, 0 off, 1 on
};

TraceState& State() {
    static TraceState state;
    return state;
}

bool EnvWantsStderr(TraceState& s) {
    if (s.env < 0) {
        const char* v = std::getenv("RIGEL_TRACE");
        s.env = (v != nullptr && std::strcmp(v, "1") == 0) ? 1 : 0;
    }
    return s.env == 1;
}

} // namespace

TraceSink SetTraceSink(TraceSink sink) {
    TraceState& s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    TraceSink old = std::move(s.sink);
    s.sink = std::move(sink);
    return old;
}

void SetTraceEnabled(bool on) {
    TraceState& s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.enabled = on;
}

bool TraceEnabled() {
    TraceState& s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.enabled;
}

bool TraceWanted() {
    TraceState& s = State();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.enabled && (s.sink || EnvWantsStderr(s) || DebuggerListens());
}

std::string FitTraceBuffer(std::string text) {
    const std::size_t room = kTraceBufferSize - 1;
    if (text.size() > room) {
        text.resize(room - kTraceTruncated.size());
        text += kTraceTruncated;
    }
    return text;
}

void TraceText(std::string_view text) {
    TraceState& s = State();
    TraceSink sink;
    bool toStderr = false;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        sink = s.sink; // called outside the lock, so a sink may trace itself
        toStderr = !sink && EnvWantsStderr(s);
    }
    if (sink) {
        sink(text);
    } else if (toStderr) {
        std::fwrite(text.data(), 1, text.size(), stderr);
        if (text.empty() || text.back() != '\n')
            std::fputc('\n', stderr);
    }
    if (DebuggerListens())
        SendToDebugger(text);
}

} // namespace rigel
