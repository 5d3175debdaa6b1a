// The text an older unit prints about its memory after command 0xFE, for the text-dump page.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "legacy/dishwash_stream.h"
#include "legacy/legacy_link.h"

namespace qelto::legacy {

// A unit that never sends the closing NUL would otherwise fill the page for ever.
inline constexpr std::size_t kMaxDumpBytes = 256 * 1024;

// Collects lines until a NUL byte, a byte that does not come (the units simply stop talking at
// the end) or kMaxDumpBytes. Carriage returns are dropped; the last, unterminated line is kept
// even when it is empty. Returns the number of bytes taken.
std::size_t collectDumpLines(const ByteSource& in, std::vector<std::string>& lines);

// The text that follows command 0xFE on the link; it ends however the unit ends it.
void receiveTextDump(LegacyLink& link, std::vector<std::string>& lines);

}  // namespace qelto::legacy
