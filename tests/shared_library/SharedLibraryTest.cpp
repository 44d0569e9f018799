// A small host of the built library, as a design application uses it: it loads librigel.so (with
// dlopen) or rigel.dll (with LoadLibraryA) at run time, finds every entry point by its plain name,
// and loads a survey through Serialize. The objects it passes in (the file, the archive, the
// profile, the code list) are the library's own classes, which it links; the entry points it only
// finds by name.

#include "frame/FeatureCodes.h"
#include "frame/FileTypes.h"
#include "platform/base/DT_IntListe.h"
#include "platform/host/CArchive.h"
#include "platform/host/CFile.h"
#include "platform/host/CString.h"
#include "platform/host/CWinApp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#ifdef _WIN32
#include "platform/base/win32/Windows.h"
#else
#include <dlfcn.h>
#endif

namespace {

class Library {
public:
#ifdef _WIN32
    Library() : handle_(LoadLibraryA(RIGEL_SHARED_LIBRARY)) {}
    ~Library() {
        if (handle_)
            FreeLibrary(handle_);
    }
    void* Find(const char* name) const {
        return reinterpret_cast<void*>(GetProcAddress(handle_, name));
    }

private:
    HMODULE handle_;
#else
    Library() : handle_(dlopen(RIGEL_SHARED_LIBRARY, RTLD_NOW | RTLD_LOCAL)) {}
    ~Library() {
        if (handle_)
            dlclose(handle_);
    }
    // The symbol only when the library has it under exactly this name.
    void* Find(const char* name) const {
        void* symbol = dlsym(handle_, name);
        Dl_info info{};
        if (symbol &&
            (dladdr(symbol, &info) == 0 || !info.dli_sname || name != std::string(info.dli_sname)))
            return nullptr;
        return symbol;
    }

private:
    void* handle_;
#endif
public:
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
    bool Loaded() const {
        return handle_ != nullptr;
    }
    template <typename F> F* Get(const char* name) const {
        return reinterpret_cast<F*>(Find(name));
    }
};

const std::array<const char*, 28> kEntryPoints = {
    "Serialize",
    "MeridanSave",
    "rigel_LoadFile",
    "GetCenterCoordinateList",
    "SetCenterCoordinateList",
    "CheckCenterCoordinateList",
    "GetQuickSortStatus",
    "rigel_ClearCoordinateLists",
    "rigel_IsCoordinatesLoaded",
    "rigel_ClearFeatureCodesLists",
    "rigel_IsFeatureCodesLoaded",
    "IntListeToRegistry",
    "IntListeFromRegistry",
    "GetFileExtFromFileType",
    "SetFileExtFromFileType",
    "SetFileExtFromFileType2",
    "GetFileTypeFromFileExt",
    "GetFileTypeFromFileName",
    "GetFileTypeFromArchive",
    "rigel_GetVantaTDT",
    "rigel_GetVantaHDT",
    "rigel_GetVantaUDT",
    "rigel_GetLandXMLAlignment",
    "GETKOF",
    "GETHAS",
    "GETPAR",
    "TITAB",
    "VPTAB",
};

TEST(SharedLibrary, ExportsEveryEntryPointUnderItsPlainName) {
    Library lib;
    ASSERT_TRUE(lib.Loaded()) << RIGEL_SHARED_LIBRARY;
    for (const char* name : kEntryPoints)
        EXPECT_NE(lib.Find(name), nullptr) << name << " is not exported under its plain name";
}

using GetKofFn = void(int*, int*, double*, double*, double*, int*);
using SerializeFn = void(CArchive*, void*, int, unsigned char, unsigned char, unsigned char);
using ToRegistryFn = int(DT_IntListe*, CString*, CString*);

// The coordinates of a KOF file's points with one code, read here column by column.
std::vector<std::array<double, 3>> PointsWithCode(const std::string& path, int code) {
    std::vector<std::array<double, 3>> points;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string kind, name;
        int c = 0;
        std::array<double, 3> p{};
        if (fields >> kind >> name >> c >> p[0] >> p[1] >> p[2] && kind == "05" && c == code)
            points.push_back(p);
    }
    return points;
}

// A host's whole round: codes into its profile, the survey through Serialize, the centre points
// back through GETKOF.
TEST(SharedLibrary, HostLoadsAKofSurveyAndReadsTheCentrePointsBack) {
    Library lib;
    ASSERT_TRUE(lib.Loaded());
    auto* serialize = lib.Get<SerializeFn>("Serialize");
    auto* toRegistry = lib.Get<ToRegistryFn>("IntListeToRegistry");
    auto* getKof = lib.Get<GetKofFn>("GETKOF");
    ASSERT_TRUE(serialize && toRegistry && getKof);

    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "rigel-host-program";
    std::filesystem::create_directories(folder);
    CWinApp app("host");
    app.SetProfilePath((folder / "profile.ini").string());
    AfxSetApp(&app);
    DT_IntListe centre;
    centre.LeggTilVerdi(10);
    CString section(rigel::kFeatureCodeSection), entry(rigel::kNumericCodeEntries.centre);
    ASSERT_EQ(toRegistry(&centre, &section, &entry), 1);

    const std::string survey = std::string(RIGEL_TEST_DATA) + "/kof/kof_feature_codes.kof";
    {
        CFile file(survey.c_str(), CFile::modeRead);
        CArchive archive(&file, CArchive::load);
        serialize(&archive, nullptr, rigel::kKOF, 0, 0, 0);
    }
    AfxSetApp(nullptr);
    std::filesystem::remove_all(folder);

    std::vector<std::array<double, 3>> read;
    int mode = 1, unused = 0, status = 0;
    for (;;) {
        std::array<double, 3> p{};
        getKof(&mode, &unused, &p[0], &p[1], &p[2], &status);
        if (status != 0)
            break;
        read.push_back(p);
        mode = 2;
    }
    EXPECT_EQ(status, 1);
    std::vector<std::array<double, 3>> expected = PointsWithCode(survey, 10);
    ASSERT_EQ(expected.size(), 6u);
    std::sort(read.begin(), read.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(read, expected);
}

#ifdef _WIN32
// The DLL's version resource names the version it was built as (the LandXML export writes it).
TEST(SharedLibrary, CarriesItsVersionResource) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(RIGEL_SHARED_LIBRARY, &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> data(size);
    ASSERT_TRUE(GetFileVersionInfoA(RIGEL_SHARED_LIBRARY, 0, size, data.data()));
    char* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\StringFileInfo\\040904E4\\ProductVersion",
                               reinterpret_cast<void**>(&value), &length));
    EXPECT_STREQ(value, RIGEL_PROJECT_VERSION);
}
#endif

} // namespace
