#include "platform/host/HostUi.h"

#include "platform/base/Trace.h"
#include "platform/host/CWinApp.h"
#include "platform/host/SystemMessageBox.h"

namespace rigel {
namespace {

HeadlessHostUi& Headless() {
    static HeadlessHostUi ui;
    return ui;
}

HostUi* current = nullptr;

} // namespace

HostUi* SetHostUi(HostUi* ui) {
    HostUi* previous = GetHostUi();
    current = ui;
    return previous;
}

HostUi* GetHostUi() {
    return current != nullptr ? current : &Headless();
}

std::vector<int> MessageBoxButtons(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE:
        return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL:
        return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO:
        return {IDYES, IDNO};
    case MB_RETRYCANCEL:
        return {IDRETRY, IDCANCEL};
    case MB_CANCELTRYCONTINUE:
        return {IDCANCEL, IDTRYAGAIN, IDCONTINUE};
    default:
        return {IDOK};
    }
}

int DefaultMessageBoxAnswer(UINT type) {
    const std::vector<int> buttons = MessageBoxButtons(type);
    const std::size_t index = (type & MB_DEFMASK) >> 8;
    return index < buttons.size() ? buttons[index] : buttons.front();
}

std::vector<std::pair<std::string, std::string>> SplitDialogFilter(std::string_view filter) {
    std::vector<std::string> parts;
    while (!filter.empty()) {
        std::size_t bar = filter.find('|');
        parts.emplace_back(filter.substr(0, bar));
        if (bar == std::string_view::npos)
            break;
        filter.remove_prefix(bar + 1);
    }
    std::vector<std::pair<std::string, std::string>> pairs;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].empty() && parts[i + 1].empty())
            break; // the "||" that ends the filter
        pairs.emplace_back(parts[i], parts[i + 1]);
    }
    return pairs;
}

int HeadlessHostUi::MessageBox(std::string_view text, std::string_view caption, UINT type) {
    const int answer = SystemMessageBox(std::string(text), std::string(caption), type)
                           .value_or(DefaultMessageBoxAnswer(type));
    Trace("[HostUi] message box \"%s\": %s -> %d\n", std::string(caption), std::string(text),
          answer);
    return answer;
}

std::optional<std::string> HeadlessHostUi::OpenFileDialog(const FileDialogRequest& request) {
    Trace("[HostUi] %s dialog \"%s\" (%s, %s) -> cancel\n", request.open ? "open" : "save",
          request.title, request.initialFileName, request.filter);
    return std::nullopt;
}

FeatureCodeDialogAnswer HeadlessHostUi::FeatureCodeDialog(const FeatureCodeDialogRequest& request) {
    Trace("[HostUi] feature-code dialog \"%s\" (%d available) -> OK, assignment unchanged\n",
          request.label, static_cast<int>(request.available.size()));
    FeatureCodeDialogAnswer answer;
    answer.ok = true;
    answer.left = request.left;
    answer.centre = request.centre;
    answer.right = request.right;
    return answer;
}

} // namespace rigel

int AfxMessageBox(const char* text, UINT type, UINT /*helpId*/) {
    const CWinApp* app = AfxGetApp();
    const char* caption = (app != nullptr && app->m_pszAppName != nullptr) ? app->m_pszAppName : "";
    return rigel::GetHostUi()->MessageBox(text ? text : "", caption, type);
}
