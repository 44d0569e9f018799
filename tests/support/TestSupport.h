#pragma once
// Helpers every test folder shares: fixture paths, a scratch folder, file contents, a file size
// limit, trace capture, integer lists and angle differences. The headers below are the tests'
// prelude: a test file that includes this one (or a fixture built on it) takes GoogleTest and
// these standard headers from here.

#include "platform/base/AtomicFile.h"
#include "platform/base/DT_IntListe.h"
#include "platform/base/Trace.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <numbers>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace rigel::test {

// A file under tests/data/.
inline std::string DataPath(const std::string& name) {
    return std::string(RIGEL_TEST_DATA) + "/" + name;
}

// A locale whose decimal separator is a comma, under the name this system gives it.
#ifdef _WIN32
inline constexpr const char* kDecimalCommaLocale = "German_Germany.1252";
#else
inline constexpr const char* kDecimalCommaLocale = "de_DE.UTF-8";
#endif

// Sets (or with null removes) a variable of the process environment.
inline void SetEnvironment(const char* name, const char* value) {
#ifdef _WIN32
    _putenv_s(name, value ? value : "");
#else
    if (value)
        setenv(name, value, 1);
    else
        unsetenv(name);
#endif
}

// The bytes of a file, read without the library's own file code; a file that cannot be opened
// fails the test.
inline std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.is_open()) << path;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The lines of a text, without their "\n".
inline std::vector<std::string> Lines(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The numbers of a CSV row (an empty field is NaN) or of a blank-separated record; a field that
// is no number as a whole is NaN too.
inline std::vector<double> Numbers(const std::string& row) {
    const bool csv = row.find(',') != std::string::npos;
    std::istringstream in(row);
    std::vector<double> values;
    for (std::string f; csv ? !std::getline(in, f, ',').fail() : !(in >> f).fail();) {
        const std::size_t from = f.find_first_not_of(' ');
        double v = std::numeric_limits<double>::quiet_NaN();
        if (from != std::string::npos) {
            const auto [end, error] = std::from_chars(f.data() + from, f.data() + f.size(), v);
            if (error != std::errc() || end != f.data() + f.size())
                v = std::numeric_limits<double>::quiet_NaN();
        }
        values.push_back(v);
    }
    return values;
}

// A fresh folder under the system's temporary folder, removed with its contents.
class TempFolder {
public:
    TempFolder() {
        std::random_device random;
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::filesystem::path candidate = base / ("rigel-test-" + std::to_string(random()));
            if (std::filesystem::create_directory(candidate)) {
                path_ = std::move(candidate);
                return;
            }
        }
        throw std::runtime_error("cannot create a scratch folder in " + base.string());
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string Path(std::string_view name) const { return (path_ / name).string(); }
    // Writes text to a file of the folder, byte for byte.
    void Write(std::string_view name, std::string_view text) const {
        std::ofstream(Path(name), std::ios::binary) << text;
    }
    // The names of the folder's entries, hidden ones included.
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(path_))
            names.push_back(e.path().filename().string());
        return names;
    }

private:
    std::filesystem::path path_;
};

// Collects the trace lines for its lifetime, in place of the sink that was set.
class TraceCapture {
public:
    TraceCapture()
        : previous_(SetTraceSink([this](std::string_view l) { lines.emplace_back(l); })) {}
    ~TraceCapture() { SetTraceSink(std::move(previous_)); }
    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;
    std::string Text() const {
        std::string text;
        for (const std::string& l : lines)
            text += l;
        return text;
    }
    std::vector<std::string> lines;

private:
    TraceSink previous_;
};

// The values of an integer list, in order.
inline std::vector<int> Codes(const DT_IntListe& list) {
    std::vector<int> codes;
    for (int i = 0; i < list.Antall(); ++i)
        codes.push_back(list.Verdi(i));
    return codes;
}

// The system's accessors take a pointer to the new value; the temporary lives through the call.
template <typename T> const T* In(const T& value) {
    return &value;
}

// The difference of two angles, folded into [-pi, pi].
inline double AngleDiff(double a, double b) {
    return std::remainder(a - b, 2 * std::numbers::pi);
}

} // namespace rigel::test

// The text matchers, for the test files in any namespace.
using ::testing::HasSubstr;
using ::testing::Not;
