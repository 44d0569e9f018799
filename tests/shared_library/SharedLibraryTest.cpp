// Loads the built librigel.so with dlopen, as a host does, and checks that every entry point is
// in its dynamic symbol table under its plain C name. This program does not link the core, so
// everything found here comes from the shared library.

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <string>
#include <vector>

namespace {

struct Library {
    void* handle = dlopen(RIGEL_SHARED_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ~Library() {
        if (handle)
            dlclose(handle);
    }
};

const std::vector<std::string> kEntryPoints = {
    "GetCenterCoordinateList",
    "SetCenterCoordinateList",
    "GETKOF",
    "GETHAS",
    "GETPAR",
    "TITAB",
    "VPTAB",
    "rigel_ClearCoordinateLists",
    "rigel_IsCoordinatesLoaded",
    "rigel_ClearFeatureCodesLists",
    "rigel_IsFeatureCodesLoaded",
    "GetQuickSortStatus",
    "IntListeToRegistry",
    "IntListeFromRegistry",
    "GetFileExtFromFileType",
    "SetFileExtFromFileType",
    "SetFileExtFromFileType2",
    "GetFileTypeFromFileExt",
    "GetFileTypeFromFileName",
    "GetFileTypeFromArchive",
    "CheckCenterCoordinateList",
    "rigel_GetVantaTDT",
    "rigel_GetVantaHDT",
    "rigel_GetVantaUDT",
    "rigel_GetLandXMLAlignment",
};

TEST(SharedLibrary, ExportsEveryEntryPointUnderItsPlainName) {
    Library lib;
    ASSERT_NE(lib.handle, nullptr) << dlerror();
    for (const std::string& name : kEntryPoints) {
        void* symbol = dlsym(lib.handle, name.c_str());
        EXPECT_NE(symbol, nullptr) << name << " is not exported under its plain name";
        Dl_info info{};
        if (symbol != nullptr && dladdr(symbol, &info) != 0 && info.dli_sname != nullptr) {
            EXPECT_EQ(std::string(info.dli_sname), name);
        }
    }
}

TEST(SharedLibrary, StateIsBuiltAtLoadAndAnswersThroughTheExports) {
    Library lib;
    ASSERT_NE(lib.handle, nullptr) << dlerror();
    using IsLoaded = bool (*)();
    using GetHas = void (*)(int*, int*, int*);
    using GetKof = void (*)(int*, int*, double*, double*, double*, int*);
    auto isLoaded = reinterpret_cast<IsLoaded>(dlsym(lib.handle, "rigel_IsCoordinatesLoaded"));
    auto getHas = reinterpret_cast<GetHas>(dlsym(lib.handle, "GETHAS"));
    auto getKof = reinterpret_cast<GetKof>(dlsym(lib.handle, "GETKOF"));
    ASSERT_TRUE(isLoaded && getHas && getKof);

    EXPECT_FALSE(isLoaded());
    int mode = 1, count = 0;
    int table[51] = {};
    getHas(&mode, table, &count);
    EXPECT_EQ(count, 17);
    EXPECT_EQ(table[48], 33);
    EXPECT_EQ(table[50], 84);

    int unused = 0, status = -1;
    double x = 7, y = 8, z = 9;
    getKof(&mode, &unused, &x, &y, &z, &status);
    EXPECT_EQ(status, 2); // no centre points in a freshly loaded library
    EXPECT_EQ(x, 7);
}

} // namespace
