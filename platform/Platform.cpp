// The process-wide platform pointer and the FileTime helper shared by both implementations.
// Everything here is independent of the host: no time zone, no locale.
#include "platform/Platform.h"

#include <atomic>
#include <stdexcept>

namespace os {

namespace {

std::atomic<IPlatform*> gCurrent{nullptr};

// Days from 1970-01-01 to a proleptic Gregorian date (Howard Hinnant's civil algorithm).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

constexpr std::int64_t kDaysFrom1601To1970 = 134774;
constexpr std::int64_t kTicksPerSecond = 10'000'000;

}  // namespace

IPlatform& Current() {
    IPlatform* platform = gCurrent.load();
    if (!platform) throw std::logic_error("No platform installed");
    return *platform;
}

void SetCurrent(IPlatform* platform) { gCurrent.store(platform); }

IPlatform* ScopedPlatform::TryCurrent() { return gCurrent.load(); }

FileTime MakeFileTime(int year, int month, int day, int hour, int minute, int second) {
    const std::int64_t days = DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) + kDaysFrom1601To1970;
    const std::int64_t seconds = days * 86400 + std::int64_t(hour) * 3600 + std::int64_t(minute) * 60 + second;
    return static_cast<FileTime>(seconds * kTicksPerSecond);
}

}  // namespace os
