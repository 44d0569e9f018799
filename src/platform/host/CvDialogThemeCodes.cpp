#include "platform/host/CvDialogThemeCodes.h"

#include "platform/base/TextFormat.h"
#include "platform/base/TextScan.h"
#include "platform/base/Trace.h"

#include <climits>

namespace {

std::vector<std::string> Texts(const DT_IntListe* list) {
    std::vector<std::string> texts;
    if (list != nullptr)
        for (int i = 0; i < list->Antall(); ++i)
            texts.push_back(rigel::Format("%d", list->Verdi(i)));
    return texts;
}

std::vector<std::string> Texts(const StrengListe* list) {
    std::vector<std::string> texts;
    if (list != nullptr)
        for (int i = 0; i < list->Antall(); ++i)
            texts.push_back(list->Tekst(i)->str());
    return texts;
}

// A code the user typed: a decimal integer, blanks around it allowed.
bool ParseCode(const std::string& text, int& code) {
    long long value = 0;
    const std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string::npos)
        return false;
    const std::size_t used = rigel::ParseLong(std::string_view(text).substr(start), value);
    if (used == 0 || value < INT_MIN || value > INT_MAX)
        return false;
    if (text.find_first_not_of(" \t", start + used) != std::string::npos)
        return false;
    code = static_cast<int>(value);
    return true;
}

void TakeBack(DT_IntListe* list, const std::vector<std::string>& answer) {
    if (list == nullptr)
        return;
    list->SlettAlleIListen(1);
    for (const std::string& text : answer) {
        int code = 0;
        if (ParseCode(text, code))
            list->LeggTilVerdi(code);
        else
            rigel::Trace("[CvDialogThemeCodes::DoModal] \"%s\" is not a numeric code; dropped\n",
                         text);
    }
}

void TakeBack(StrengListe* list, const std::vector<std::string>& answer) {
    if (list == nullptr)
        return;
    list->SlettAlleIListen(1);
    for (const std::string& text : answer)
        list->LeggTilStreng(text);
}

} // namespace

CvDialogThemeCodes::CvDialogThemeCodes(void* /*parent*/) {}

void CvDialogThemeCodes::InitLists(DT_IntListe* available, DT_IntListe* left, DT_IntListe* centre,
                                   DT_IntListe* right) {
    intLists_[0] = available;
    intLists_[1] = left;
    intLists_[2] = centre;
    intLists_[3] = right;
    for (StrengListe*& list : textLists_)
        list = nullptr;
    text_ = false;
}

void CvDialogThemeCodes::InitLists(StrengListe* available, StrengListe* left, StrengListe* centre,
                                   StrengListe* right) {
    textLists_[0] = available;
    textLists_[1] = left;
    textLists_[2] = centre;
    textLists_[3] = right;
    for (DT_IntListe*& list : intLists_)
        list = nullptr;
    text_ = true;
}

int CvDialogThemeCodes::DoModal() {
    const bool numeric = !text_;
    rigel::FeatureCodeDialogRequest request;
    request.label = m_strFileLabel.str();
    request.railExportsEnabled = m_nRailExports;
    request.numeric = numeric;
    if (numeric) {
        request.available = Texts(intLists_[0]);
        request.left = Texts(intLists_[1]);
        request.centre = Texts(intLists_[2]);
        request.right = Texts(intLists_[3]);
    } else {
        request.available = Texts(textLists_[0]);
        request.left = Texts(textLists_[1]);
        request.centre = Texts(textLists_[2]);
        request.right = Texts(textLists_[3]);
    }

    const rigel::FeatureCodeDialogAnswer answer = rigel::GetHostUi()->FeatureCodeDialog(request);
    if (!answer.ok)
        return IDCANCEL;
    if (numeric) {
        TakeBack(intLists_[1], answer.left);
        TakeBack(intLists_[2], answer.centre);
        TakeBack(intLists_[3], answer.right);
    } else {
        TakeBack(textLists_[1], answer.left);
        TakeBack(textLists_[2], answer.centre);
        TakeBack(textLists_[3], answer.right);
    }
    m_bReadTierTable = answer.readTierTable ? TRUE : FALSE;
    m_bTurnTierTable = answer.turnTierTable ? TRUE : FALSE;
    return IDOK;
}
