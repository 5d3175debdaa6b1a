// Document files come from customers' disks, mail and USB sticks: any bytes at all must either
// load or fail cleanly. A file that loads must also survive a save and a second load unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "model/qelto_doc.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qelto::model;
    static const NoPumpNameDefaults names;
    CProgData config;
    CQeltoDoc doc(config, names);
    doc.onNewDocument();
    const OpenResult first = doc.loadFromBytes(std::span(data, size), "fuzz");
    if (!first.ok()) {
        return 0;
    }
    const std::vector<std::uint8_t> saved = doc.storeToBytes();
    if (!doc.loadFromBytes(saved, "fuzz").ok() || doc.storeToBytes() != saved) {
        std::abort();
    }
    return 0;
}
