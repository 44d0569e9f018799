#include "platform/host/ScriptedHostUi.h"

#include "platform/base/Trace.h"

#include <algorithm>
#include <stdexcept>

namespace rigel {

void ScriptedHostUi::Refuse(std::string what) {
    unanswered_.push_back(what);
    Trace("[ScriptedHostUi] %s\n", what);
    throw std::logic_error("ScriptedHostUi: " + what);
}

int ScriptedHostUi::MessageBox(std::string_view text, std::string_view caption, UINT type) {
    boxes_.push_back({std::string(text), std::string(caption), type});
    if (boxAnswers_.empty())
        Refuse("no answer queued for the message box \"" + std::string(text) + "\"");
    const int answer = boxAnswers_.front();
    boxAnswers_.pop_front();
    const std::vector<int> buttons = MessageBoxButtons(type);
    if (std::find(buttons.begin(), buttons.end(), answer) == buttons.end())
        Refuse("the answer " + std::to_string(answer) + " is not a button of the message box \"" +
               std::string(text) + "\"");
    return answer;
}

std::optional<std::string> ScriptedHostUi::OpenFileDialog(const FileDialogRequest& request) {
    dialogs_.push_back(request);
    if (dialogAnswers_.empty())
        Refuse("no answer queued for the file dialog \"" + request.title + "\" (" +
               request.initialFileName + ")");
    std::optional<std::string> answer = std::move(dialogAnswers_.front());
    dialogAnswers_.pop_front();
    return answer;
}

FeatureCodeDialogAnswer ScriptedHostUi::FeatureCodeDialog(const FeatureCodeDialogRequest& request) {
    codeDialogs_.push_back(request);
    if (codeAnswers_.empty())
        Refuse("no answer queued for the feature-code dialog \"" + request.label + "\"");
    FeatureCodeDialogAnswer answer = std::move(codeAnswers_.front());
    codeAnswers_.pop_front();
    return answer;
}

void ScriptedHostUi::Verify() const {
    if (!unanswered_.empty())
        throw std::logic_error("ScriptedHostUi: " + unanswered_.front());
    if (PendingAnswers() != 0)
        throw std::logic_error("ScriptedHostUi: " + std::to_string(PendingAnswers()) +
                               " queued answer(s) were not used");
}

} // namespace rigel
