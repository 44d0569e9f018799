#pragma once
// The command line's answers to the library's dialogs.
//
// The feature-code dialog is answered from the flags (--centre, --left, --right, --alignment,
// --turn-alignment) as if the user had filled the dialog with those lists and pressed OK: a line
// whose flag is not given keeps the assignment the dialog proposed. With --ask the dialog is a
// prompt instead (questions on standard error, answers read from standard input, so it can also
// be scripted); the lists from the flags are then the starting point.
//
// The tier-table file dialog answers with the --alignment path; without one, the prompt asks
// for a path when --ask is on, and otherwise the dialog is cancelled. Message boxes are printed on
// standard error and answered with their default button, as the headless default does; a
// question of Yes and No (overwrite?) is answered Yes with --force, asked at a terminal, and
// otherwise answered No.

#include "platform/host/HostUi.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace rigel::cli {

struct DialogFlags {
    std::optional<std::vector<std::string>> centre, left, right;
    std::string alignment; // tier-table file; empty for none
    bool turnAlignment = false;
    bool ask = false;
    bool force = false; // message boxes that offer Yes are answered Yes (overwrite prompts)
};

class CliHostUi : public HostUi {
public:
    CliHostUi(DialogFlags flags, std::FILE* in, std::FILE* out)
        : flags_(std::move(flags)), in_(in), out_(out) {}

    int MessageBox(std::string_view text, std::string_view caption, UINT type) override;
    std::optional<std::string> OpenFileDialog(const FileDialogRequest& request) override;
    FeatureCodeDialogAnswer FeatureCodeDialog(const FeatureCodeDialogRequest& request) override;

    bool DialogShown() const { return shown_; }
    bool DialogCancelled() const { return cancelled_; }
    // Every code the last feature-code dialog showed (found in the file, assigned or not).
    const std::vector<std::string>& CodesShown() const { return codesShown_; }

private:
    FeatureCodeDialogAnswer Prompt(const FeatureCodeDialogRequest& request,
                                   FeatureCodeDialogAnswer answer);
    bool ReadLine(std::string& line);

    DialogFlags flags_;
    std::FILE* in_;
    std::FILE* out_;
    bool shown_ = false;
    bool cancelled_ = false;
    std::vector<std::string> codesShown_;
};

// Splits "7111, 7112" into its codes, blanks around them allowed; an empty text is an empty list.
// Numeric codes must be decimal integers of 32 bits (written back in plain decimal); code texts
// may be any non-empty text without a comma. False (with the offending piece in *bad) otherwise.
bool ParseCodeList(std::string_view text, std::vector<std::string>& codes, std::string* bad,
                   bool numeric);

} // namespace rigel::cli
