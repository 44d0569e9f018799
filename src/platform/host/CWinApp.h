#pragma once
// Stand-in for MFC's application object with its profile. As in MFC the profile is an INI file
// (whose path the host chooses; the format is described in IniFile.h) until the host calls
// SetRegistryKey; from then on it is the registry (RegistryProfile.h), where the system has one.
//
// Reading: a missing, unreadable or unset profile reads as empty, so every read returns its
// default. Writing: the file is read, the one entry changed, and the whole file rewritten
// atomically (rigel::AtomicFile); other sections, entries, comments and blank lines keep their
// bytes. A write fails (returns false, the file untouched) when no profile path is set, when the
// existing file cannot be read (it is not overwritten blindly), when a name cannot be stored, or
// when the folder is missing or not writable; no folder is created.
//
// The current application: AfxGetApp() returns the object the host registered with AfxSetApp,
// or null. Constructing a CWinApp does not register it (the library builds its own CRigelApp,
// and the profile belongs to the host's application); a registered object that is destroyed
// unregisters itself.

#include "platform/host/CString.h"
#include "platform/host/WinTypes.h"

#include <optional>
#include <string>

class CWinApp {
public:
    explicit CWinApp(const char* appName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance() { return 0; }

    void SetProfilePath(std::string path) { profilePath_ = std::move(path); }
    // HKEY_CURRENT_USER\Software\<key>\<application name> holds the profile from now on.
    void SetRegistryKey(const char* key) { registryKey_ = key ? key : ""; }
    const std::string& GetRegistryKey() const { return registryKey_; }
    const std::string& GetProfilePath() const { return profilePath_; }

    // Names compare without regard to ASCII case. A null default reads as "".
    CString GetProfileString(const char* section, const char* entry,
                             const char* defaultValue = nullptr) const;
    // The default when the entry is missing or empty, else the value read as atoi reads it (the
    // leading number; 0 when there is none).
    int GetProfileInt(const char* section, const char* entry, int defaultValue) const;

    // A null value removes the entry; a null entry removes the whole section (as MFC).
    bool WriteProfileString(const char* section, const char* entry, const char* value);
    bool WriteProfileInt(const char* section, const char* entry, int value);

    // Why the last write failed ("" after a successful one).
    const std::string& GetProfileError() const { return profileError_; }

    // The name given at construction, or null.
    const char* m_pszAppName = nullptr;

private:
    bool FailWrite(std::string reason);

    std::string appName_;
    std::optional<std::string> Lookup(const char* section, const char* entry) const;

    std::string profilePath_;
    std::string registryKey_;
    std::string profileError_;
};

// The host's application object, or null when the host has registered none.
CWinApp* AfxGetApp();
void AfxSetApp(CWinApp* app);
