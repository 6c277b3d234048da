// The user's regional formats as the program formats dates and times with them: read at
// start, and read again whenever Windows broadcasts a change of settings.
#pragma once

#include "rtl/clock_format.h"

namespace platform {

const rtl::RegionalSettings& FormatSettings();
void RereadFormatSettings();

// One reading of the local clock.
rtl::LocalTime Now();

}  // namespace platform
