// The exports that work on the library state, through their C entry points.

#include "frame/FeatureCodeProfile.h"
#include "frame/LibraryState.h"
#include "frame/RigelExports.h"
#include "support/TestSupport.h"

namespace {

class StateExports : public ::testing::Test {
protected:
    void SetUp() override {
        rigel_ClearCoordinateLists();
        rigel_ClearFeatureCodesLists();
    }
    void TearDown() override { SetUp(); }

    static void SetCentre(int n) {
        CvSporopPointList list;
        for (int i = 0; i < n; ++i)
            list.LeggTil(new CvSporopPoint(100.0 + i, 200.0 + i, 10.0 + i, "c", ""));
        ASSERT_EQ(SetCenterCoordinateList(&list), 1);
    }
};

struct Kof {
    double x = -1, y = -1, z = -1;
    int status = -1;
    int Call(int mode) {
        int unused = 0;
        GETKOF(&mode, &unused, &x, &y, &z, &status);
        return status;
    }
};

} // namespace

TEST_F(StateExports, GetkofWalksTheCentrePoints) {
    SetCentre(3);
    Kof k;
    EXPECT_EQ(k.Call(1), 0);
    EXPECT_EQ(k.x, 100.0);
    EXPECT_EQ(k.Call(2), 0);
    EXPECT_EQ(k.z, 11.0);
    EXPECT_EQ(k.Call(2), 0);
    EXPECT_EQ(k.y, 202.0);
    EXPECT_EQ(k.Call(2), 1) << "past the last point";
    EXPECT_EQ(k.x, 102.0) << "x, y, z untouched at the end";
    EXPECT_EQ(k.Call(1), 0) << "mode 1 starts again";
    EXPECT_EQ(k.x, 100.0);

    // Mode 2 without mode 1 continues from the last position.
    k.Call(1);
    SetCentre(3);
    EXPECT_EQ(k.Call(2), 0);
    EXPECT_EQ(k.x, 101.0);

    // Unknown modes and null pointers touch nothing.
    k.status = 42;
    EXPECT_EQ(k.Call(3), 42);
    int mode = 1;
    GETKOF(&mode, nullptr, &k.x, &k.y, &k.z, &k.status);
    EXPECT_EQ(k.status, 42);

    rigel_ClearCoordinateLists();
    EXPECT_EQ(k.Call(1), 2);
    EXPECT_EQ(k.Call(2), 2);

    // GETHAS hands out its fixed table of 17 rows of three.
    int table[51] = {}, count = 0;
    GETHAS(&mode, table, &count);
    EXPECT_EQ(count, 17);
    EXPECT_EQ(std::vector<int>(table + 45, table + 51), (std::vector<int>{32, 49, 83, 33, 50, 84}));
}

TEST_F(StateExports, CentreListInAndOut) {
    CvSporopPointList target;
    target.LeggTil(new CvSporopPoint(1, 1, 1, "old", ""));
    EXPECT_EQ(GetCenterCoordinateList(&target), 0);
    EXPECT_EQ(target.Antall(), 0) << "the target's earlier points are deleted";
    EXPECT_FALSE(rigel_IsCoordinatesLoaded());

    SetCentre(2);
    EXPECT_TRUE(rigel_IsCoordinatesLoaded());
    rigel::State().CenterPoints.unitWord = 2;
    EXPECT_EQ(GetCenterCoordinateList(&target), 1);
    ASSERT_EQ(target.Antall(), 2);
    EXPECT_EQ(target.Punkt(1)->x(), 101.0);
    EXPECT_EQ(target.unitWord, 2) << "the unit travels with the points";
    rigel::State().CenterPoints.unitWord = 1;

    CvSporopPointList empty;
    EXPECT_EQ(SetCenterCoordinateList(&empty), 1);
    EXPECT_FALSE(rigel_IsCoordinatesLoaded());

    rigel::State().LeftRailPoints.LeggTil(new CvSporopPoint());
    rigel::State().RightRailPoints.LeggTil(new CvSporopPoint());
    EXPECT_TRUE(rigel_ClearCoordinateLists());
    EXPECT_EQ(rigel::State().LeftRailPoints.Antall() + rigel::State().RightRailPoints.Antall(), 0);
}

TEST_F(StateExports, FeatureCodesLoadedLooksAtTheCentreCodesOnly) {
    rigel::State().LeftRailCodes.LeggTilVerdi(5);
    rigel::State().RightRailCodes.LeggTilVerdi(6);
    EXPECT_FALSE(rigel_IsFeatureCodesLoaded());
    rigel::State().CenterCodes.LeggTilVerdi(4);
    EXPECT_TRUE(rigel_IsFeatureCodesLoaded());
    EXPECT_TRUE(rigel_ClearFeatureCodesLists());
    EXPECT_EQ(rigel::State().LeftRailCodes.Antall(), 0);
    EXPECT_FALSE(rigel_IsFeatureCodesLoaded());
}

TEST(FeatureCodeProfile, CodeListsThroughTheProfileAndBack) {
    const rigel::test::TempFolder dir;
    const std::string path = dir.Path("profile.ini");
    CString section("Settings"), entry("Available Center Track Feature Codes");

    DT_IntListe codes;
    for (int c : {7101, 12, -3})
        codes.LeggTilVerdi(c);
    AfxSetApp(nullptr);
    EXPECT_EQ(IntListeToRegistry(&codes, &section, &entry), 0) << "no application object";
    DT_IntListe read;
    read.LeggTilVerdi(1);
    EXPECT_EQ(IntListeFromRegistry(&read, &section, &entry), 0);
    EXPECT_EQ(read.Antall(), 0) << "left empty without an application object";

    CWinApp host("host");
    host.SetProfilePath(path);
    AfxSetApp(&host);
    EXPECT_EQ(IntListeToRegistry(&codes, &section, &entry), 1);
    EXPECT_EQ(host.GetProfileString("Settings", entry, "?"), "7101\n12\n-3\n");
    ASSERT_EQ(IntListeFromRegistry(&read, &section, &entry), 1);
    EXPECT_EQ(rigel::test::Codes(read), (std::vector<int>{7101, 12, -3}));

    // Empty pieces are skipped and each piece is read as atoi reads it.
    host.WriteProfileString("Settings", "Odd", "\n5\n\n 6x\nabc\n");
    CString odd("Odd");
    IntListeFromRegistry(&read, &section, &odd);
    EXPECT_EQ(rigel::test::Codes(read), (std::vector<int>{5, 6, 0}));

    DT_IntListe none;
    IntListeToRegistry(&none, &section, &entry);
    EXPECT_EQ(host.GetProfileString("Settings", entry, "?"), "") << "an empty list is \"\"";

    StrengListe texts;
    texts.LeggTilStreng("CL");
    texts.LeggTilStreng("R\xA7");
    const char* strEntry = "Available Center Track Feature Codes (str)";
    EXPECT_EQ(rigel::StrengListeToRegistry(texts, "Settings", strEntry), 1);
    StrengListe back;
    EXPECT_EQ(rigel::StrengListeFromRegistry(back, "Settings", strEntry), 1);
    ASSERT_EQ(back.Antall(), 2);
    EXPECT_EQ(back.Tekst(1)->str(), "R\xA7");

    AfxSetApp(nullptr);
}
