#include "CliHostUi.h"

#include "platform/base/TextScan.h"

#include <unistd.h>

#include <algorithm>
#include <initializer_list>

namespace rigel::cli {
namespace {

std::string_view Trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

std::string Join(const std::vector<std::string>& codes) {
    if (codes.empty())
        return "(none)";
    std::string out;
    for (const std::string& c : codes)
        out += (out.empty() ? "" : ", ") + c;
    return out;
}

bool Holds(const std::vector<std::string>& list, const std::string& code) {
    return std::find(list.begin(), list.end(), code) != list.end();
}

} // namespace

bool ParseCodeList(std::string_view text, std::vector<std::string>& codes, std::string* bad,
                   bool numeric) {
    codes.clear();
    if (Trim(text).empty())
        return true;
    while (true) {
        const std::size_t comma = text.find(',');
        const std::string_view piece = Trim(text.substr(0, comma));
        long long value = 0;
        const bool ok =
            !piece.empty() && (!numeric || (ParseLong(piece, value) == piece.size() &&
                                            value >= -2147483648LL && value <= 2147483647LL));
        if (!ok) {
            if (bad)
                *bad = std::string(piece);
            codes.clear();
            return false;
        }
        codes.emplace_back(numeric ? std::to_string(value) : std::string(piece));
        if (comma == std::string_view::npos)
            return true;
        text.remove_prefix(comma + 1);
    }
}

int CliHostUi::MessageBox(std::string_view text, std::string_view caption, UINT type) {
    std::fprintf(out_, "%.*s%s%.*s\n", static_cast<int>(caption.size()), caption.data(),
                 caption.empty() ? "" : ": ", static_cast<int>(text.size()), text.data());
    // A question (Yes and No, such as "overwrite?"): --force says Yes, a terminal is asked, and
    // otherwise the answer is No, so that nothing is replaced unasked.
    const std::vector<int> buttons = MessageBoxButtons(type);
    const auto offers = [&buttons](int b) {
        return std::find(buttons.begin(), buttons.end(), b) != buttons.end();
    };
    if (offers(IDYES) && offers(IDNO)) {
        if (flags_.force)
            return IDYES;
        if (!isatty(fileno(in_)))
            return IDNO;
        std::fprintf(out_, "[y/N] ");
        std::string answer;
        return ReadLine(answer) && (Trim(answer) == "y" || Trim(answer) == "Y") ? IDYES : IDNO;
    }
    return DefaultMessageBoxAnswer(type);
}

bool CliHostUi::ReadLine(std::string& line) {
    line.clear();
    std::fflush(out_);
    int c;
    while ((c = std::fgetc(in_)) != EOF && c != '\n')
        line += static_cast<char>(c);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return c != EOF || !line.empty();
}

std::optional<std::string> CliHostUi::OpenFileDialog(const FileDialogRequest& request) {
    if (!flags_.alignment.empty())
        return flags_.alignment;
    if (!flags_.ask)
        return std::nullopt;
    std::fprintf(out_, "%s (%s; empty to cancel): ",
                 request.title.empty() ? "Open file" : request.title.c_str(),
                 request.initialFileName.c_str());
    std::string line;
    if (!ReadLine(line) || Trim(line).empty())
        return std::nullopt;
    return std::string(Trim(line));
}

FeatureCodeDialogAnswer CliHostUi::FeatureCodeDialog(const FeatureCodeDialogRequest& request) {
    shown_ = true;
    codesShown_.clear();
    for (const auto* list : {&request.available, &request.centre, &request.left, &request.right})
        for (const std::string& code : *list)
            if (!Holds(codesShown_, code))
                codesShown_.push_back(code);
    FeatureCodeDialogAnswer answer;
    answer.ok = true;
    answer.centre = flags_.centre.value_or(request.centre);
    answer.left = flags_.left.value_or(request.left);
    answer.right = flags_.right.value_or(request.right);
    answer.readTierTable = !flags_.alignment.empty();
    answer.turnTierTable = answer.readTierTable && flags_.turnAlignment;
    if (flags_.ask)
        answer = Prompt(request, std::move(answer));
    cancelled_ = !answer.ok;
    return answer;
}

FeatureCodeDialogAnswer CliHostUi::Prompt(const FeatureCodeDialogRequest& request,
                                          FeatureCodeDialogAnswer answer) {
    // Every code the dialog knows of: those found in the file and those already assigned.
    std::vector<std::string> known;
    using List = const std::vector<std::string>*;
    for (List list :
         std::initializer_list<List>{&request.available, &request.centre, &request.left,
                                     &request.right, &answer.centre, &answer.left, &answer.right})
        for (const std::string& c : *list)
            if (!Holds(known, c))
                known.push_back(c);

    const auto show = [&] {
        std::vector<std::string> free;
        for (const std::string& c : known)
            if (!Holds(answer.centre, c) && !Holds(answer.left, c) && !Holds(answer.right, c))
                free.push_back(c);
        std::fprintf(out_, "\n%s\n",
                     request.label.empty() ? "Feature codes:" : request.label.c_str());
        std::fprintf(out_, "  not assigned: %s\n", Join(free).c_str());
        std::fprintf(out_, "  centre:       %s\n", Join(answer.centre).c_str());
        std::fprintf(out_, "  left rail:    %s\n", Join(answer.left).c_str());
        std::fprintf(out_, "  right rail:   %s\n", Join(answer.right).c_str());
        std::fprintf(out_, "  read the horizontal alignment from a tier table: %s\n",
                     answer.readTierTable ? "yes" : "no");
        std::fprintf(out_, "  turn that alignment round: %s\n",
                     answer.turnTierTable ? "yes" : "no");
        std::fprintf(out_, "c CODES, l CODES, r CODES: set the centre, left or right codes "
                           "(comma-separated; nothing clears)\n"
                           "t: read a tier table yes/no, u: turn it yes/no, ok: accept, "
                           "cancel: abandon the load\n");
    };

    show();
    std::string line;
    while (true) {
        std::fputs("> ", out_);
        if (!ReadLine(line)) {
            std::fputs("\n(end of input: cancel)\n", out_);
            answer.ok = false;
            return answer;
        }
        const std::string_view command = Trim(line);
        if (command == "ok")
            return answer;
        if (command == "cancel") {
            answer.ok = false;
            return answer;
        }
        if (command == "t") {
            answer.readTierTable = !answer.readTierTable;
        } else if (command == "u") {
            answer.turnTierTable = !answer.turnTierTable;
        } else if (!command.empty() &&
                   (command[0] == 'c' || command[0] == 'l' || command[0] == 'r') &&
                   (command.size() == 1 || command[1] == ' ')) {
            std::vector<std::string> codes;
            std::string bad;
            if (!ParseCodeList(command.substr(1), codes, &bad, request.numeric)) {
                std::fprintf(out_, "not a code: \"%s\"\n", bad.c_str());
                continue;
            }
            (command[0] == 'c'   ? answer.centre
             : command[0] == 'l' ? answer.left
                                 : answer.right) = codes;
            for (const std::string& c : codes)
                if (!Holds(known, c))
                    known.push_back(c);
        } else {
            std::fprintf(out_, "unknown answer \"%s\"\n", std::string(command).c_str());
            continue;
        }
        show();
    }
}

} // namespace rigel::cli
