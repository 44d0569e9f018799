#include "platform/host/HostUi.h"
#include "platform/host/CWinApp.h"
#include "platform/host/ScriptedHostUi.h"

#include "support/TestSupport.h"

namespace rigel {
namespace {

TEST(HeadlessHostUi, AnswersTheDefaultButtonAndTraces) {
    HeadlessHostUi ui;
    const struct {
        UINT type;
        int answer;
    } cases[] = {
        {MB_OK | MB_DEFBUTTON2, IDOK}, // no second button: the first
        {MB_OKCANCEL | MB_ICONQUESTION, IDOK},
        {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
        {MB_YESNO | MB_DEFBUTTON2 | MB_ICONWARNING, IDNO},
        {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
        {MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, IDRETRY},
        {MB_CANCELTRYCONTINUE | MB_DEFBUTTON3, IDCONTINUE},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ui.MessageBox("text", "caption", c.type), c.answer) << std::hex << c.type;

    test::TraceCapture trace;
    ui.MessageBox("Sorting finished: 12 points", "Rigel", MB_OK);
    EXPECT_THAT(trace.Text(), HasSubstr("Sorting finished: 12 points"));
    EXPECT_EQ(ui.OpenFileDialog(FileDialogRequest{}), std::nullopt);
}

TEST(HostUi, InstalledUiAndAfxMessageBox) {
    HostUi* headless = GetHostUi();
    ASSERT_NE(headless, nullptr);
    ScriptedHostUi scripted;
    {
        ScopedHostUi scope(scripted);
        CWinApp app("Meridan");
        AfxSetApp(&app);
        scripted.QueueMessageBoxAnswer(IDNO);
        EXPECT_EQ(AfxMessageBox("Overwrite?", MB_YESNO | MB_ICONQUESTION), IDNO);
        AfxSetApp(nullptr);
        ASSERT_EQ(scripted.MessageBoxes().size(), 1u);
        EXPECT_EQ(scripted.MessageBoxes()[0].text, "Overwrite?");
        EXPECT_EQ(scripted.MessageBoxes()[0].caption, "Meridan");
        EXPECT_EQ(scripted.MessageBoxes()[0].type, MB_YESNO | MB_ICONQUESTION);
    }
    EXPECT_EQ(GetHostUi(), headless);
    EXPECT_EQ(SetHostUi(nullptr), headless); // null means the headless default
    EXPECT_EQ(GetHostUi(), headless);
}

TEST(ScriptedHostUi, RecordsRequestsAndFailsLoudly) {
    ScriptedHostUi ui;
    FileDialogRequest request{true, "KOF-files", "*.KOF", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                              "",   ""};
    ui.QueueFileDialogAnswer("/data/a.kof");
    ui.QueueFileDialogAnswer(std::nullopt);
    EXPECT_EQ(ui.OpenFileDialog(request), "/data/a.kof");
    EXPECT_EQ(ui.OpenFileDialog(request), std::nullopt);
    ASSERT_EQ(ui.FileDialogs().size(), 2u);
    EXPECT_EQ(ui.FileDialogs()[1].initialFileName, "*.KOF");
    EXPECT_EQ(ui.FileDialogs()[1].flags, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
    EXPECT_NO_THROW(ui.Verify());

    EXPECT_THROW(ui.OpenFileDialog(request), std::logic_error);
    EXPECT_THROW(ui.MessageBox("Unexpected", "", MB_OK), std::logic_error);
    ui.QueueMessageBoxAnswer(IDYES);
    EXPECT_THROW(ui.MessageBox("Only OK here", "", MB_OK), std::logic_error);
    ASSERT_EQ(ui.Unanswered().size(), 3u);
    EXPECT_THAT(ui.Unanswered()[1], HasSubstr("Unexpected"));
    EXPECT_THROW(ui.Verify(), std::logic_error);

    ScriptedHostUi unused;
    unused.QueueMessageBoxAnswer(IDOK);
    EXPECT_THROW(unused.Verify(), std::logic_error);
}

TEST(HostUi, SplitDialogFilter) {
    using Pairs = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(SplitDialogFilter("TenTable Files (*.tit)|*.tit|All Files (*.*)|*.*||"),
              (Pairs{{"TenTable Files (*.tit)", "*.tit"}, {"All Files (*.*)", "*.*"}}));
    EXPECT_EQ(SplitDialogFilter(""), Pairs{});
    EXPECT_EQ(SplitDialogFilter("Only|*.x"), (Pairs{{"Only", "*.x"}}));
}

} // namespace
} // namespace rigel
