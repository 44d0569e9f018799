#include "platform/host/CWinApp.h"

#include "platform/base/AtomicFile.h"
#include "platform/base/TextScan.h"
#include "platform/base/Trace.h"
#include "platform/host/IniFile.h"
#include "platform/host/RegistryProfile.h"

#include <cerrno>
#include <optional>

namespace {

CWinApp* currentApp = nullptr;

// The profile's text; empty for a missing file, nothing for a file that exists but cannot be read.
std::optional<std::string> ReadProfile(const std::string& path, std::string* reason) {
    std::string text;
    if (rigel::ReadWholeFile(path, text, reason))
        return text;
    if (errno == ENOENT)
        return std::string();
    return std::nullopt;
}

std::optional<std::string> LookupIni(const std::string& path, const char* section,
                                     const char* entry) {
    if (path.empty() || section == nullptr || entry == nullptr)
        return std::nullopt;
    std::string reason;
    std::optional<std::string> text = ReadProfile(path, &reason);
    if (!text) {
        rigel::Trace("[CWinApp::GetProfileString] %s\n", reason);
        return std::nullopt;
    }
    return rigel::IniFile::Parse(*text).Get(section, entry);
}

} // namespace

CWinApp* AfxGetApp() {
    return currentApp;
}

void AfxSetApp(CWinApp* app) {
    currentApp = app;
}

CWinApp::CWinApp(const char* appName) {
    if (appName != nullptr) {
        appName_ = appName;
        m_pszAppName = appName_.c_str();
    }
}

CWinApp::~CWinApp() {
    if (currentApp == this)
        currentApp = nullptr;
}

std::optional<std::string> CWinApp::Lookup(const char* section, const char* entry) const {
    if (registryKey_.empty())
        return LookupIni(profilePath_, section, entry);
    if (section == nullptr || entry == nullptr)
        return std::nullopt;
    return rigel::ReadRegistryProfile(registryKey_, appName_, section, entry);
}

CString CWinApp::GetProfileString(const char* section, const char* entry,
                                  const char* defaultValue) const {
    std::optional<std::string> value = Lookup(section, entry);
    if (value)
        return CString(std::move(*value));
    return CString(defaultValue);
}

int CWinApp::GetProfileInt(const char* section, const char* entry, int defaultValue) const {
    std::optional<std::string> value = Lookup(section, entry);
    if (!value || value->empty())
        return defaultValue;
    return rigel::Atoi(*value);
}

bool CWinApp::FailWrite(std::string reason) {
    profileError_ = std::move(reason);
    rigel::Trace("[CWinApp::WriteProfileString] %s\n", profileError_);
    return false;
}

bool CWinApp::WriteProfileString(const char* section, const char* entry, const char* value) {
    profileError_.clear();
    if (!registryKey_.empty()) {
        std::string reason;
        if (section == nullptr)
            return FailWrite("no section given");
        if (appName_.empty())
            return FailWrite("no application name for the registry key " + registryKey_);
        if (!rigel::WriteRegistryProfile(registryKey_, appName_, section, entry, value, &reason))
            return FailWrite(reason);
        return true;
    }
    if (profilePath_.empty())
        return FailWrite("no profile file is set");
    if (section == nullptr)
        return FailWrite("no section given");
    std::string reason;
    std::optional<std::string> text = ReadProfile(profilePath_, &reason);
    if (!text)
        return FailWrite(reason);
    rigel::IniFile ini = rigel::IniFile::Parse(*text);
    if (entry == nullptr || value == nullptr) {
        bool removed =
            entry == nullptr ? ini.RemoveSection(section) : ini.RemoveEntry(section, entry);
        if (!removed)
            return true; // nothing to remove: the file stays as it is
    } else if (!ini.Set(section, entry, value)) {
        return FailWrite(std::string("cannot store the name [") + section + "] " + entry + " in '" +
                         profilePath_ + "'");
    }
    if (!rigel::WriteFileAtomically(profilePath_, ini.Text(), &reason))
        return FailWrite(reason);
    return true;
}

bool CWinApp::WriteProfileInt(const char* section, const char* entry, int value) {
    return WriteProfileString(section, entry, rigel::Format("%d", value).c_str());
}
