#pragma once
// A HostUi for tests: answers come from queues filled in advance, every request is recorded, and
// a request without a queued answer (or with an answer that is not one of the box's buttons)
// throws std::logic_error. Because library entry points catch exceptions, the failure is also
// kept (Unanswered) and Verify() throws when anything went unanswered or an answer was not used,
// so a test can check it after the call.

#include "platform/host/HostUi.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace rigel {

class ScriptedHostUi : public HostUi {
public:
    struct MessageBoxCall {
        std::string text;
        std::string caption;
        UINT type = 0;
    };

    void QueueMessageBoxAnswer(int answer) { boxAnswers_.push_back(answer); }
    // A path, or std::nullopt for cancel.
    void QueueFileDialogAnswer(std::optional<std::string> path) {
        dialogAnswers_.push_back(std::move(path));
    }

    void QueueFeatureCodeAnswer(FeatureCodeDialogAnswer answer) {
        codeAnswers_.push_back(std::move(answer));
    }

    int MessageBox(std::string_view text, std::string_view caption, UINT type) override;
    std::optional<std::string> OpenFileDialog(const FileDialogRequest& request) override;
    FeatureCodeDialogAnswer FeatureCodeDialog(const FeatureCodeDialogRequest& request) override;

    const std::vector<MessageBoxCall>& MessageBoxes() const { return boxes_; }
    const std::vector<FileDialogRequest>& FileDialogs() const { return dialogs_; }
    const std::vector<FeatureCodeDialogRequest>& FeatureCodeDialogs() const { return codeDialogs_; }
    // Descriptions of the requests that had no valid answer.
    const std::vector<std::string>& Unanswered() const { return unanswered_; }
    std::size_t PendingAnswers() const {
        return boxAnswers_.size() + dialogAnswers_.size() + codeAnswers_.size();
    }

    // Throws std::logic_error when a request went unanswered or a queued answer was not used.
    void Verify() const;

private:
    [[noreturn]] void Refuse(std::string what);

    std::deque<int> boxAnswers_;
    std::deque<std::optional<std::string>> dialogAnswers_;
    std::vector<MessageBoxCall> boxes_;
    std::vector<FileDialogRequest> dialogs_;
    std::deque<FeatureCodeDialogAnswer> codeAnswers_;
    std::vector<FeatureCodeDialogRequest> codeDialogs_;
    std::vector<std::string> unanswered_;
};

} // namespace rigel
