#include "main/LocalTime.h"

#include <QDateTime>
#include <array>
#include <limits>

namespace LocalTime {

namespace {

constexpr int64_t kMsPerMinute = 60000;
constexpr int64_t kMsPerDay = 86400000;

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

}  // namespace

int UtcOffsetSeconds(int64_t msSinceEpoch) {
    // A chart asks for both ends of its span on every paint: a few minutes are kept, so neither
    // end pushes the other out. Only the user-interface thread asks.
    struct Entry {
        int64_t minute = std::numeric_limits<int64_t>::min();
        int offset = 0;
    };
    static std::array<Entry, 4> entries;
    static size_t next = 0;
    const int64_t minute = FloorDiv(msSinceEpoch, kMsPerMinute);
    for (const Entry& entry : entries)
        if (entry.minute == minute) return entry.offset;
    Entry& entry = entries[next];
    next = (next + 1) % entries.size();
    entry.minute = minute;
    entry.offset = QDateTime::fromMSecsSinceEpoch(minute * kMsPerMinute).offsetFromUtc();
    return entry.offset;
}

int64_t MsOfDay(int64_t msSinceEpoch) {
    return MsOfDay(msSinceEpoch, UtcOffsetSeconds(msSinceEpoch));
}

int64_t MsOfDay(int64_t msSinceEpoch, int utcOffsetSeconds) {
    const int64_t local = msSinceEpoch + int64_t{utcOffsetSeconds} * 1000;
    return local - FloorDiv(local, kMsPerDay) * kMsPerDay;
}

}  // namespace LocalTime
