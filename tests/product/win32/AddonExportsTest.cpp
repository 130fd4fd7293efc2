// The sample add-on library takes the place of the system's common dialog library at the
// restart: every function of the system library must still be found through it, passed on
// to the system library under its new name.
#include <gtest/gtest.h>

#include <set>

#include "platform/PeVersion.h"
#include "platform/win32/Win32Platform.h"
#include "runtime/SysUtils.h"

namespace {

std::vector<os::PeExport> ExportsOf(os::IPlatform& p, const std::string& path) {
    auto file = p.OpenFile(path, os::OpenMode::Read, os::Disposition::OpenExisting, os::Share::Read);
    EXPECT_TRUE(file) << path;
    std::vector<os::PeExport> exports;
    std::uint32_t error = 0;
    if (!file) return exports;
    EXPECT_TRUE(os::PeExports(*file, exports, error)) << path << " error " << error;
    return exports;
}

}  // namespace

TEST(AddonLibrary, PassesEveryExportOfTheSystemLibraryOnToItsNewName) {
    os::Win32Platform p;
    std::string system;
    ASSERT_TRUE(p.GetSystemDirectory(system));
    const auto own = ExportsOf(p, system + "\\comdlg32.dll");
    const auto addon = ExportsOf(p, BREV_ADDON_LIBRARY);
    ASSERT_GE(own.size(), 20u) << "the system library's exports";
    std::set<std::string> forwards, names;
    for (const auto& e : addon) {
        names.insert(e.Name);
        if (!e.ForwardedTo.empty()) forwards.insert(e.Name + " -> " + e.ForwardedTo);
    }
    for (const auto& e : own) EXPECT_EQ(forwards.count(e.Name + " -> COMDLGOL." + e.Name), 1u) << e.Name;
    EXPECT_EQ(names.count("ComDlgVerInfo"), 1u) << "the add-on's own mark";
}
