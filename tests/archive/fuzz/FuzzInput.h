// How the archive fuzz target reads its input, shared with the seed maker: two bytes give the
// length of volume 1 (modulo what is there), the rest of the input is volume 1 followed by
// volume 2. Used by ArchiveFuzz.cpp and ArchiveFuzzSeeds.cpp.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct TFuzzVolumes {
    std::string Volume1, Volume2;
};

inline TFuzzVolumes SplitFuzzInput(const std::uint8_t* data, std::size_t size) {
    TFuzzVolumes v;
    if (size < 2) return v;
    const std::size_t rest = size - 2;
    const std::size_t split = (std::size_t(data[0]) | (std::size_t(data[1]) << 8)) % (rest + 1);
    v.Volume1.assign(reinterpret_cast<const char*>(data + 2), split);
    v.Volume2.assign(reinterpret_cast<const char*>(data + 2 + split), rest - split);
    return v;
}

inline std::string JoinFuzzInput(const std::string& volume1, const std::string& volume2) {
    std::string s;
    s += static_cast<char>(volume1.size() & 0xFF);
    s += static_cast<char>((volume1.size() >> 8) & 0xFF);
    return s + volume1 + volume2;
}
