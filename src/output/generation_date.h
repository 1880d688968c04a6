// The generation date written into the headers of the output files: month-day-year with a
// two-digit month and day and a four-digit year, joined by hyphens ("01-31-2024").
#pragma once

#include <string>

namespace ostrel {

// The date of a moment given in seconds since 1970-01-01 00:00 UTC, taken in UTC:
// 0 -> "01-01-1970", 951782400 -> "02-29-2000". Moments before 1970 count backwards.
std::string generation_date_from_epoch(long long seconds);

// The date for the files being written: from SOURCE_DATE_EPOCH (whole seconds, taken in UTC)
// when that environment variable holds a number, so that repeated runs give identical files;
// otherwise today's local date. A variable that is not a number (empty, "abc", "12x") is ignored.
std::string generation_date();

}  // namespace ostrel
