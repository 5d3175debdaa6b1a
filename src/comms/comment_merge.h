// A program read can keep the engineer's own notes: the document's comments go in front of the
// unit's, and the whole must still fit what a unit can store.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qelto::comms {

inline constexpr std::size_t kMaxMergedComments = 2000;

struct MergedComments {
    std::string text;
    bool truncated = false;  // the engineer is warned that the end was cut off
};

// documentText, a line feed when it is not empty, then unitText; cut to kMaxMergedComments.
MergedComments mergeReadComments(std::string_view documentText, std::string_view unitText);

}  // namespace qelto::comms
