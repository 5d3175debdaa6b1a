#include "logs/unit_history.h"

#include <array>
#include <utility>

namespace qelto::logs {
namespace {

constexpr std::array<std::pair<HistoryResult, std::string_view>, 4> kResultNames{{
    {HistoryResult::Done, "done"},
    {HistoryResult::Failed, "failed"},
    {HistoryResult::Cancelled, "cancelled"},
    {HistoryResult::Differs, "differs"},
}};

}  // namespace

std::string_view historyResultName(HistoryResult result) {
    for (const auto& [value, name] : kResultNames) {
        if (value == result) {
            return name;
        }
    }
    return "failed";
}

std::optional<HistoryResult> historyResultFromName(std::string_view name) {
    for (const auto& [value, word] : kResultNames) {
        if (word == name) {
            return value;
        }
    }
    return std::nullopt;
}

}  // namespace qelto::logs
