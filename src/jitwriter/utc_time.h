// Calendar form of a UTC instant, computed by hand: gmtime is not
// thread-safe and its reentrant forms differ between platforms.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace jitfile {

struct UtcTime {
    int64_t year;
    unsigned month, day, hour, minute, second, microsecond;
};

inline UtcTime utcFromMicros(int64_t micros) {
    const int64_t perDay = 86400LL * 1000000;
    int64_t days = micros / perDay;
    int64_t rest = micros % perDay;
    if (rest < 0) {
        rest += perDay;
        --days;
    }
    // Days since 1970-01-01 to a proleptic Gregorian date, counting in
    // 400-year eras that start on 0000-03-01.
    int64_t z = days + 719468;
    int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    int64_t dayOfEra = z - era * 146097;
    int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    UtcTime t;
    t.day = static_cast<unsigned>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    t.month = static_cast<unsigned>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    t.year = yearOfEra + era * 400 + (t.month <= 2 ? 1 : 0);
    int64_t seconds = rest / 1000000;
    t.microsecond = static_cast<unsigned>(rest % 1000000);
    t.hour = static_cast<unsigned>(seconds / 3600);
    t.minute = static_cast<unsigned>(seconds / 60 % 60);
    t.second = static_cast<unsigned>(seconds % 60);
    return t;
}

// "YYYYMMDDTHHMMSS.uuuuuuZ" when compact (safe in file names), otherwise
// "YYYY-MM-DDTHH:MM:SS.uuuuuuZ".
inline std::string formatUtc(int64_t micros, bool compact) {
    UtcTime t = utcFromMicros(micros);
    char text[64];
    std::snprintf(text, sizeof text, compact ? "%04lld%02u%02uT%02u%02u%02u.%06uZ" : "%04lld-%02u-%02uT%02u:%02u:%02u.%06uZ",
                  static_cast<long long>(t.year), t.month, t.day, t.hour, t.minute, t.second, t.microsecond);
    return text;
}

}  // namespace jitfile
