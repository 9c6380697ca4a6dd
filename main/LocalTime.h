#pragma once
// The local time zone's offset from UTC, shared by the master timer's time of day and the strip
// charts' clock labels, which ask for it many times a second.

#include <cstdint>

namespace LocalTime {

// Seconds to add to UTC for local time at a moment given in milliseconds since the epoch.
// Asking the C library for local time reads the time zone's file on every call; an offset only
// ever changes on a whole minute, so one answer serves every moment of its minute.
int UtcOffsetSeconds(int64_t msSinceEpoch);

// Milliseconds since local midnight at that moment.
int64_t MsOfDay(int64_t msSinceEpoch);
// The same with an offset already known, e.g. one that serves a whole span of moments.
int64_t MsOfDay(int64_t msSinceEpoch, int utcOffsetSeconds);

}  // namespace LocalTime
