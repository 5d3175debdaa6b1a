#include "model/document_format.h"

#include <array>

namespace qelto::model {
namespace {

// clang-format off
constexpr std::array<DocumentFormat, 9> kFormats{{
    //tag    no  old    first  dish   names  ten    flush  ext    pulse  desc   reset
    {"QDoc", 1, true,  true,  false, false, false, false, false, false, false, false},
    {"QDo2", 2, true,  false, true,  false, false, false, false, false, false, false},
    {"QDo3", 3, true,  false, true,  true,  false, false, false, false, false, false},
    {"QDo4", 4, true,  false, true,  true,  true,  false, false, false, false, false},
    {"QDo5", 5, false, false, true,  true,  true,  true,  false, false, false, false},
    {"QDo6", 6, false, false, true,  true,  true,  true,  true,  false, false, false},
    {"QDo7", 7, false, false, true,  true,  true,  true,  true,  true,  false, false},
    {"QDo8", 8, false, false, true,  true,  true,  true,  true,  true,  true,  false},
    {"QDo9", 9, false, false, true,  true,  true,  true,  true,  true,  true,  true},
}};
// clang-format on

}  // namespace

const DocumentFormat* findDocumentFormat(std::string_view tag) {
    for (const auto& format : kFormats) {
        if (tag == format.tag) {
            return &format;
        }
    }
    return nullptr;
}

const DocumentFormat& currentDocumentFormat() {
    return kFormats.back();
}

}  // namespace qelto::model
