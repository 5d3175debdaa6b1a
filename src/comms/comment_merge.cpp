#include "comms/comment_merge.h"

namespace qelto::comms {

MergedComments mergeReadComments(std::string_view documentText, std::string_view unitText) {
    MergedComments merged;
    merged.text = documentText;
    if (!merged.text.empty()) {
        merged.text += '\n';
    }
    merged.text += unitText;
    if (merged.text.size() > kMaxMergedComments) {
        merged.text.resize(kMaxMergedComments);
        merged.truncated = true;
    }
    return merged;
}

}  // namespace qelto::comms
