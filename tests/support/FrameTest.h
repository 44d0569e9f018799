#pragma once
// The loading and saving tests' fixture: a registered application with a profile in a scratch
// folder, a scripted HostUi, collected diagnostics, and the library state reset around each test.

#include "support/TestSupport.h"

#include "formats/TrackProject.h"
#include "frame/FeatureCodes.h"
#include "frame/FileTypes.h"
#include "frame/RigelExports.h"
#include "platform/base/Diagnostics.h"
#include "platform/host/CWinApp.h"
#include "platform/host/ScriptedHostUi.h"

namespace rigel::test {

inline std::vector<std::string> Descriptions(const CvSporopPointList& list) {
    std::vector<std::string> texts;
    for (int i = 0; i < list.Antall(); ++i)
        texts.push_back(list.Punkt(i)->description.str());
    return texts;
}

class FrameTest : public ::testing::Test {
protected:
    FrameTest() : ui_(ui) {
        app.SetProfilePath(dir.Path("profile.ini"));
        AfxSetApp(&app);
        rigel_ClearCoordinateLists();
        rigel_ClearFeatureCodesLists();
    }
    ~FrameTest() override {
        AfxSetApp(nullptr);
        rigel_ClearCoordinateLists();
        rigel_ClearFeatureCodesLists();
    }

    void SetProfileCodes(const char* entry, const char* value) {
        ASSERT_TRUE(app.WriteProfileString(kFeatureCodeSection, entry, value));
    }
    std::string ProfileCodes(const char* entry) const {
        return app.GetProfileString(kFeatureCodeSection, entry, "<missing>").str();
    }

    // Loads path through Serialize as the host does.
    void Load(const std::string& path, int type, bool askCodes, TrackProject* project = nullptr,
              bool railExports = false) {
        CFile file(path.c_str(), CFile::modeRead);
        CArchive archive(&file, CArchive::load);
        Serialize(&archive, project, type, 0, askCodes ? 1 : 0, railExports ? 1 : 0);
    }

    static FeatureCodeDialogAnswer Ok(std::vector<std::string> centre,
                                      std::vector<std::string> left,
                                      std::vector<std::string> right) {
        return {true, std::move(left), std::move(centre), std::move(right), false, false};
    }

    TempFolder dir;
    CWinApp app;
    ScriptedHostUi ui;
    std::vector<Diagnostic> diagnostics;

private:
    ScopedHostUi ui_;
    ScopedDiagnosticSink sink_{[this](const Diagnostic& d) { diagnostics.push_back(d); }};
};

} // namespace rigel::test
