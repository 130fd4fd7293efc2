// The PE version reader against the system's own version functions, on the version test's
// program files (32- and 64-bit, several languages): setup reads program images itself on
// both machines, so its bytes must be the very bytes the system hands out.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/PeVersion.h"
#include "platform/win32/Win32Platform.h"

namespace {

std::vector<std::uint8_t> SystemBlock(const std::string& path) {
    const std::wstring wide(path.begin(), path.end());
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(wide.c_str(), &ignored);
    std::vector<std::uint8_t> block(size);
    if (size == 0 || !GetFileVersionInfoW(wide.c_str(), 0, size, block.data())) return {};
    // The system leaves room for its conversions after the block itself.
    block.resize(std::min<std::size_t>(block.size(), block[0] | (block[1] << 8)));
    return block;
}

TEST(SystemVersion, ReaderAndSystem_GiveTheSameBlock) {
    os::Win32Platform win;
    for (const char* name : {"app_en.exe", "lib_he.dll", "drv_de.dll", "font_uni.dll"}) {
        const std::string path = std::string("versions\\") + name;
        std::unique_ptr<os::IFile> file = win.OpenFile(path, os::OpenMode::Read, os::Disposition::OpenExisting, os::Share::Read);
        ASSERT_TRUE(file) << name;
        std::vector<std::uint8_t> own;
        std::uint32_t error = 0;
        ASSERT_TRUE(os::ReadPeVersionResource(*file, own, error)) << name;
        const std::vector<std::uint8_t> system = SystemBlock(path);
        ASSERT_FALSE(system.empty()) << name;
        EXPECT_EQ(own, system) << name;
    }
}

}  // namespace
