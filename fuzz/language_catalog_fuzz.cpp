// Catalogs are edited by translators' tools and by hand; any bytes must parse without harm.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/language_catalog.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input =
        size == 0 ? std::string_view{}
                  : std::string_view(reinterpret_cast<const char*>(data), size);
    const auto catalog = qelto::platform::LanguageCatalog::parse(input);
    // Every entry needs at least msgctxt "N", msgid "" and msgstr "" (28 bytes).
    if (catalog.size() > size / 28 + 1) {
        std::abort();
    }
    for (const int id : {0, 1, 217, 377, 2570}) {
        const auto text = catalog.text(id);
        if (!catalog.find(id) && text != "#" + std::to_string(id)) {
            std::abort();
        }
    }
    return 0;
}
