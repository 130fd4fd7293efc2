// Queries over a raw version-information block (VS_VERSIONINFO as program files carry it and
// IPlatform::GetFileVersionInfo returns it): the fixed file information and string values by
// path, answered as the system's VerQueryValue answers them. Used by the version reader, the
// install files and the simulated machine's version installer.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// VS_FIXEDFILEINFO, field by field.
struct TFixedFileInfo {
    std::uint32_t Signature = 0;
    std::uint32_t StrucVersion = 0;
    std::uint32_t FileVersionMS = 0;
    std::uint32_t FileVersionLS = 0;
    std::uint32_t ProductVersionMS = 0;
    std::uint32_t ProductVersionLS = 0;
    std::uint32_t FileFlagsMask = 0;
    std::uint32_t FileFlags = 0;
    std::uint32_t FileOS = 0;
    std::uint32_t FileType = 0;
    std::uint32_t FileSubtype = 0;
    std::uint32_t FileDateMS = 0;
    std::uint32_t FileDateLS = 0;
};

// The root block's value ("\"); false when the block has none.
bool QueryFixedFileInfo(const std::vector<std::uint8_t>& block, TFixedFileInfo& info);

// The text at a path such as "\StringFileInfo\040904E4\CompanyName" (keys compared without
// regard to case), as UTF-8, up to its terminator. False when a key on the path is missing.
bool QueryVersionString(const std::vector<std::uint8_t>& block, std::string_view path, std::string& text);

// The raw value at a path such as "\VarFileInfo\Translation"; false when a key is missing.
bool QueryVersionValue(const std::vector<std::uint8_t>& block, std::string_view path, std::vector<std::uint8_t>& value);

// The first (language, code page) pair of "\VarFileInfo\Translation".
bool QueryFirstTranslation(const std::vector<std::uint8_t>& block, std::uint16_t& language, std::uint16_t& codePage);
