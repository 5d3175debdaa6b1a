// How the report pages print figures: volumes in ml and litres or in fluid ounces and gallons, run
// times, dates. The forms are the ones service engineers compare with their printed reports, so
// each one is kept to the character, field-width blanks included.
#pragma once

#include <cstdint>
#include <string>

namespace qelto::reports {

// A calibrated pump's usage total: ml, or hundredths of a fluid ounce in US units.
std::string formatVolume(std::uint32_t volume, bool usUnits);

// An uncalibrated pump's usage total, kept as hours, minutes and seconds (each part may run past
// 59 after a log search, and is carried over): minutes and seconds followed by minutesText below
// an hour, hours and minutes followed by hoursText from an hour on.
std::string formatRunTime(std::uint32_t hours, std::uint32_t minutes, std::uint32_t seconds,
                          const std::string& minutesText, const std::string& hoursText);

// An estimated run time in seconds: m:ss with minutesText below an hour, h:mm with hoursText
// from an hour on.
std::string formatEstimate(std::uint32_t seconds, const std::string& minutesText,
                           const std::string& hoursText);

// A date as two-digit day and month and a year of yearDigits digits (zero-padded), day first or
// (US units) month first, joined by separator.
std::string formatDate(unsigned day, unsigned month, unsigned year, bool monthFirst, char separator,
                       int yearDigits);

}  // namespace qelto::reports
