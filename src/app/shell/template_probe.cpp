#include "app/shell/template_probe.h"

#include <fstream>
#include <system_error>

namespace qelto::app {

bool spreadsheetTemplateAvailable(const std::filesystem::path& dataDir,
                                  const std::string& fileName) {
    if (fileName.empty()) {
        return false;
    }
    const std::filesystem::path file = dataDir / fileName;
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        return false;
    }
    std::ifstream in(file, std::ios::binary);
    return in.good();
}

}  // namespace qelto::app
