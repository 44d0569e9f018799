#include "support/RunProgram.h"

#include <string>

#include <cstdlib>

#include "platform/base/win32/Windows.h"

namespace rigel::test {
namespace {

// One argument quoted so that the C runtime's command-line parser gives it back unchanged.
std::string Quoted(const std::string& argument) {
    std::string out = "\"";
    std::size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, '\\');
    return out + "\"";
}

HANDLE Inheritable(const std::string& path, bool write) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    return CreateFileA(path.c_str(), write ? GENERIC_WRITE : GENERIC_READ,
                       FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                       write ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

} // namespace

int RunProgram(const std::string& program, const std::vector<std::string>& arguments,
               const std::vector<std::pair<std::string, std::string>>& variables,
               const std::string& input, const std::string& output, const std::string& errors) {
    std::string commandLine = Quoted(program);
    for (const std::string& a : arguments)
        commandLine += " " + Quoted(a);

    // The child inherits this process's environment, with the variables set for its start only.
    std::vector<std::pair<std::string, std::string>> saved;
    for (const auto& [name, value] : variables) {
        const char* old = std::getenv(name.c_str());
        saved.emplace_back(name, old ? old : "");
        _putenv_s(name.c_str(), value.c_str());
    }
    HANDLE in = Inheritable(input, false), out = Inheritable(output, true),
           err = Inheritable(errors, true);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process{};
    const bool started = in != INVALID_HANDLE_VALUE && out != INVALID_HANDLE_VALUE &&
                         err != INVALID_HANDLE_VALUE &&
                         CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0,
                                        nullptr, nullptr, &startup, &process);
    for (const auto& [name, value] : saved)
        _putenv_s(name.c_str(), value.c_str());
    for (HANDLE h : {in, out, err})
        if (h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
    if (!started)
        return -1;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    const bool exited = GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return exited ? static_cast<int>(code) : -1;
}

} // namespace rigel::test
