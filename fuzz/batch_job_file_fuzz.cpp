// A job file from anywhere (opened in a spreadsheet and saved again, edited by hand, cut short by
// a full disk): looking up a unit in it must hold up, and the line the batch writes last for a
// unit must always be found again as a unit of the batch, whatever came before it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "comms/batch_log.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::uint32_t serial = 0;
    for (std::size_t i = 0; i < size && i < 4; ++i) {
        serial = serial << 8 | data[i];
    }
    (void)qelto::comms::batchCountedUnit(text, serial, size > 4 ? data[4] : 0);

    qelto::comms::BatchUnitLine line;
    line.serial = serial;
    line.model = std::string(text.substr(0, 8));
    line.result = "ok";
    line.user = std::string(text.substr(size / 2));
    // A file that ends inside a quoted field swallows the next line; one that ends in a complete
    // line (its quotes paired) never does.
    std::string file(text);
    if (file.empty() || file.back() != '\n' || std::count(file.begin(), file.end(), '"') % 2 != 0) {
        return 0;
    }
    file += qelto::comms::batchLogLine(line);
    if (!qelto::comms::batchCountedUnit(file, serial, 1)) {
        std::abort();
    }
    return 0;
}
