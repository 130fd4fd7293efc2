// Finds the version resource and the exported names inside a program file's PE image (32- or
// 64-bit) without loading it: GetFileVersionInfo of both machines and the simulated one's
// entry-point lookup. Portable; reads through IFile only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace os {

// Windows codes for an image without a version resource (kErrorBadExeFormat, in Platform.h,
// for a file that is no program image).
constexpr std::uint32_t kErrorResourceDataNotFound = 1812;
constexpr std::uint32_t kErrorResourceTypeNotFound = 1813;

// Reads the VS_VERSIONINFO block of the RT_VERSION resource with id 1, choosing its
// language as the system's resource lookup does (neutral, then US English, then the first),
// cut to the block's own length. Every offset in the file is checked before it is used, so a
// damaged image yields false (with the reason in error), never a read outside the file.
bool ReadPeVersionResource(IFile& file, std::vector<std::uint8_t>& block, std::uint32_t& error);

// Whether the file is a PE image the loader would take up.
bool IsPeImage(IFile& file);

// One exported name, and where the loader sends it when it is passed on to another library
// ("LIBRARY.Function"; empty for a function of the image's own).
struct PeExport {
    std::string Name;
    std::string ForwardedTo;
};
// The image's exported names in the order of its name table. False for a file that is no
// image or a damaged table.
bool PeExports(IFile& file, std::vector<PeExport>& exports, std::uint32_t& error);

// Whether the image's export table names function (compared with case). False with
// kErrorBadExeFormat for a file that is no image, kErrorProcNotFound for a missing name.
bool PeExportsFunction(IFile& file, const std::string& name, std::uint32_t& error);

}  // namespace os
