#pragma once
// The host's user-interface services (message boxes and file dialogs) behind one interface, so
// that the library never blocks on a terminal itself: the host installs its implementation, tests
// install ScriptedHostUi, and without either the headless default answers.
//
// The headless default (what GetHostUi() returns when nothing is installed):
// - on Windows a message box is shown with MessageBoxA where the process has a desktop, and the
//   user answers. Elsewhere, and without a desktop, it answers its default button: the first button
//   of its type, or the second with MB_DEFBUTTON2, the third with MB_DEFBUTTON3 (when the type has
//   that many buttons). So MB_OK and MB_OKCANCEL answer IDOK, MB_YESNO and MB_YESNOCANCEL answer
//   IDYES, and MB_YESNO | MB_DEFBUTTON2 answers IDNO. The caption and text are traced.
// - a file dialog answers cancel (no path); the request is traced.
// - the feature-code dialog answers OK with the proposed assignment unchanged and both tier-table
//   options off, as a user who confirms what the library remembered. Cancelling instead would
//   abandon every load that asks for the dialog, so a batch host could never read a survey; with
//   OK it reads with the codes registered in the profile, and reads nothing when there are none.

#include "platform/host/WinTypes.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Message box types, icons and default buttons, with their Windows values.
inline constexpr UINT MB_OK = 0x0;
inline constexpr UINT MB_OKCANCEL = 0x1;
inline constexpr UINT MB_ABORTRETRYIGNORE = 0x2;
inline constexpr UINT MB_YESNOCANCEL = 0x3;
inline constexpr UINT MB_YESNO = 0x4;
inline constexpr UINT MB_RETRYCANCEL = 0x5;
inline constexpr UINT MB_CANCELTRYCONTINUE = 0x6;
inline constexpr UINT MB_ICONHAND = 0x10;
inline constexpr UINT MB_ICONERROR = MB_ICONHAND;
inline constexpr UINT MB_ICONSTOP = MB_ICONHAND;
inline constexpr UINT MB_ICONQUESTION = 0x20;
inline constexpr UINT MB_ICONEXCLAMATION = 0x30;
inline constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
inline constexpr UINT MB_ICONASTERISK = 0x40;
inline constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;
inline constexpr UINT MB_DEFBUTTON1 = 0x0;
inline constexpr UINT MB_DEFBUTTON2 = 0x100;
inline constexpr UINT MB_DEFBUTTON3 = 0x200;
inline constexpr UINT MB_DEFBUTTON4 = 0x300;
inline constexpr UINT MB_TYPEMASK = 0xF;
inline constexpr UINT MB_ICONMASK = 0xF0;
inline constexpr UINT MB_DEFMASK = 0xF00;

// Message box answers.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;
inline constexpr int IDTRYAGAIN = 10;
inline constexpr int IDCONTINUE = 11;

// File dialog flags, with their Windows values.
inline constexpr DWORD OFN_READONLY = 0x1;
inline constexpr DWORD OFN_OVERWRITEPROMPT = 0x2;
inline constexpr DWORD OFN_HIDEREADONLY = 0x4;
inline constexpr DWORD OFN_NOCHANGEDIR = 0x8;
inline constexpr DWORD OFN_ALLOWMULTISELECT = 0x200;
inline constexpr DWORD OFN_PATHMUSTEXIST = 0x800;
inline constexpr DWORD OFN_FILEMUSTEXIST = 0x1000;
inline constexpr DWORD OFN_CREATEPROMPT = 0x2000;
inline constexpr DWORD OFN_NOREADONLYRETURN = 0x8000;
inline constexpr DWORD OFN_EXPLORER = 0x80000;

namespace rigel {

// What a CFileDialog was built with.
struct FileDialogRequest {
    bool open = true;             // an open dialog; false: a save dialog
    std::string defaultExtension; // as given, e.g. "KOF-files"
    std::string initialFileName;  // e.g. "*.KOF"
    DWORD flags = 0;              // OFN_*
    std::string filter;           // MFC form "Text (*.txt)|*.txt|All (*.*)|*.*||"; may be empty
    std::string title;            // may be empty
};

// The feature-code dialog: the codes found in a file that no line claims (available) and the
// codes proposed for each line. Numeric codes travel as their decimal text.
struct FeatureCodeDialogRequest {
    std::string label;          // "<FILE> contains these feature codes:"; empty when unknown
    int railExportsEnabled = 0; // what the host last passed to Serialize; the dialog's affair
    bool numeric = true;        // numeric codes (KOF, MIC) or code texts (LandXML survey points)
    std::vector<std::string> available;
    std::vector<std::string> left;
    std::vector<std::string> centre;
    std::vector<std::string> right;
};

struct FeatureCodeDialogAnswer {
    bool ok = false; // false: cancel (the lists and options below are not used)
    std::vector<std::string> left;
    std::vector<std::string> centre;
    std::vector<std::string> right;
    bool readTierTable = false; // read the horizontal alignment from a tier-table file
    bool turnTierTable = false; // and turn it round (used only with readTierTable)
};

class HostUi {
public:
    virtual ~HostUi() = default;
    // Returns the button chosen (IDOK, IDCANCEL, IDYES, IDNO, ...).
    virtual int MessageBox(std::string_view text, std::string_view caption, UINT type) = 0;
    // Returns the chosen path, or nothing when the user cancels.
    virtual std::optional<std::string> OpenFileDialog(const FileDialogRequest& request) = 0;
    // Shows the feature-code dialog and returns what the user chose.
    virtual FeatureCodeDialogAnswer FeatureCodeDialog(const FeatureCodeDialogRequest& request) = 0;
};

class HeadlessHostUi : public HostUi {
public:
    int MessageBox(std::string_view text, std::string_view caption, UINT type) override;
    std::optional<std::string> OpenFileDialog(const FileDialogRequest& request) override;
    FeatureCodeDialogAnswer FeatureCodeDialog(const FeatureCodeDialogRequest& request) override;
};

// Installs the host's implementation (not owned; null restores the headless default) and returns
// the one installed before (never null).
HostUi* SetHostUi(HostUi* ui);
// The installed implementation; never null.
HostUi* GetHostUi();

// Installs a HostUi for the lifetime of a scope and puts the previous one back.
class ScopedHostUi {
public:
    explicit ScopedHostUi(HostUi& ui) : previous_(SetHostUi(&ui)) {}
    ~ScopedHostUi() { SetHostUi(previous_); }
    ScopedHostUi(const ScopedHostUi&) = delete;
    ScopedHostUi& operator=(const ScopedHostUi&) = delete;

private:
    HostUi* previous_;
};

// The buttons of a message box type in their order on screen (MB_OK -> {IDOK}, MB_YESNOCANCEL ->
// {IDYES, IDNO, IDCANCEL}); an unknown type has the buttons of MB_OK, as on Windows.
std::vector<int> MessageBoxButtons(UINT type);
// The answer of the default button (MB_DEFBUTTONn; the first button when the type has fewer).
int DefaultMessageBoxAnswer(UINT type);

// The filter's pairs of description and pattern: "A|*.a|B|*.b||" -> {("A","*.a"), ("B","*.b")}.
std::vector<std::pair<std::string, std::string>> SplitDialogFilter(std::string_view filter);

} // namespace rigel

// MFC's message box: goes through the current HostUi, with the registered application's name
// (AfxGetApp()->m_pszAppName) as caption when there is one. The help id is not used.
int AfxMessageBox(const char* text, UINT type = MB_OK, UINT helpId = 0);
