// The shell link (.lnk) file format, written by the simulated machine's shell and read back
// by tests, so a link the simulation makes carries what the real shell's would.
//
//   header       76 bytes: size 0x4C, CLSID 00021401-0000-0000-C000-000000000046, link
//                flags, target attributes, three file times, target size, icon index,
//                show command, hot key, reserved
//   ID list      only when flag 0x01; skipped when read (the simulation writes none)
//   LinkInfo     flag 0x02: volume (fixed drive) and the target's local path, in the ANSI
//                code page and, for names the code page lacks, also in UTF-16
//   strings      each a 16-bit count and UTF-16 text, in flag order: name 0x04, relative
//                path 0x08, working directory 0x10, arguments 0x20, icon location 0x40
//                (UTF-16 because of flag 0x80)
//   extra data   blocks ended by a 32-bit zero
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace os {

struct ShellLinkData {
    std::string Target;            // the local path of the target
    std::string Arguments;
    std::string WorkingDirectory;
    std::uint16_t HotKey = 0;
    std::uint32_t TargetAttributes = 0;
};

std::vector<std::uint8_t> BuildShellLinkFile(const ShellLinkData& link);
// Empty when the bytes are not a shell link this reader understands.
std::optional<ShellLinkData> ReadShellLinkFile(const std::vector<std::uint8_t>& bytes);

}  // namespace os
