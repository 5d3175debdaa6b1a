#include "sim/request_log.h"

namespace qelto::sim {

RequestLog::~RequestLog() {
    if (file_ != nullptr) {
        std::fclose(file_);
    }
}

bool RequestLog::open(const std::filesystem::path& path) {
    file_ = std::fopen(path.c_str(), "w");
    return file_ != nullptr;
}

void RequestLog::write(const nlohmann::json& entry) {
    if (file_ == nullptr) {
        return;
    }
    const std::string line = entry.dump() + "\n";
    std::fwrite(line.data(), 1, line.size(), file_);
    std::fflush(file_);
}

}  // namespace qelto::sim
