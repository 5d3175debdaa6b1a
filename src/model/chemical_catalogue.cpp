#include "model/chemical_catalogue.h"

#include <fmt/format.h>

#include <algorithm>
#include <cstdlib>

#include "platform/profile_file.h"
#include "platform/text_encoding.h"

namespace qelto::model {
namespace {

constexpr const char* kSystemSection = "System Settings";
constexpr const char* kNamesSection = "Chemical Names";
// Names were read into an 800-byte buffer; longer ones were cut there.
constexpr std::size_t kNameBuffer = 800;

std::string pumpKey(std::size_t pump) {
    return fmt::format("P{:02d}", pump + 1);
}

std::string fromFile(const std::string& value) {
    return platform::externalToLatin1(value);
}

std::string toFile(const std::string& latin1) {
    return platform::latin1ToUtf8(latin1);
}

// The stored count is a number somebody may have typed: never let it ask for millions of keys.
long storedCount(const platform::ProfileText& text) {
    constexpr long kMaxChemicals = 999;
    const std::string value = text.find(kSystemSection, "NoOfChemicals").value_or("0");
    return std::clamp(std::atol(value.c_str()), 0L, kMaxChemicals);
}

std::string chemicalKey(const std::string& prefix, long n) {
    return fmt::format("{}{:02d}", prefix, n);
}

}  // namespace

std::string pumpDefaultsSection(std::uint8_t unitType) {
    return fmt::format("L{:02d}", unitType + 1);
}

ChemicalCatalogue::ChemicalCatalogue(std::filesystem::path file, std::string keyPrefix,
                                     std::string noChemical)
    : file_(std::move(file)),
      keyPrefix_(std::move(keyPrefix)),
      noChemical_(std::move(noChemical)) {}

std::array<std::string, kPumps> ChemicalCatalogue::defaultPumpNames(std::uint8_t unitType) const {
    const platform::ProfileText text = platform::ProfileFile(file_).load();
    const std::string section = pumpDefaultsSection(unitType);
    std::array<std::string, kPumps> names;
    for (std::size_t p = 0; p < kPumps; ++p) {
        std::string value = text.find(section, pumpKey(p)).value_or("");
        if (value.size() >= kNameBuffer) {
            value.resize(kNameBuffer - 1);
        }
        names[p] = fromFile(value);
    }
    return names;
}

void ChemicalCatalogue::LoadPumpDefaults(std::uint8_t unitType) {
    pumpDefaults = defaultPumpNames(unitType);
    LoadChemicalList();
}

void ChemicalCatalogue::LoadChemicalList() {
    const platform::ProfileText text = platform::ProfileFile(file_).load();
    chemicals.clear();
    const long count = storedCount(text);
    for (long n = 1; n <= count; ++n) {
        std::string value = text.find(kNamesSection, chemicalKey(keyPrefix_, n)).value_or("");
        if (value.size() >= kNameBuffer) {
            value.resize(kNameBuffer - 1);
        }
        chemicals.push_back(fromFile(value));
    }
}

bool ChemicalCatalogue::SavePumpDefaults(std::uint8_t unitType, std::string* error) const {
    const platform::ProfileFile file(file_);
    platform::ProfileText text = file.load();
    const std::string section = pumpDefaultsSection(unitType);
    for (std::size_t p = 0; p < kPumps; ++p) {
        text.set(section, pumpKey(p), toFile(pumpSelections[p]));
    }
    return file.store(text, error);
}

bool ChemicalCatalogue::clearPumpDefaults(std::uint8_t unitType, std::string* error) const {
    const platform::ProfileFile file(file_);
    platform::ProfileText text = file.load();
    const std::string section = pumpDefaultsSection(unitType);
    for (std::size_t p = 0; p < kPumps; ++p) {
        text.set(section, pumpKey(p), noChemical_);
    }
    return file.store(text, error);
}

namespace {

// Empties the value of every stored chemical key; the keys stay, as the dialog always left them.
void clearStoredNames(platform::ProfileText& text, const std::string& prefix) {
    const long stored = storedCount(text);
    for (long n = 1; n <= stored; ++n) {
        text.set(kNamesSection, chemicalKey(prefix, n), "");
    }
}

}  // namespace

bool ChemicalCatalogue::ClearChemicalList(std::string* error) const {
    const platform::ProfileFile file(file_);
    platform::ProfileText text = file.load();
    clearStoredNames(text, keyPrefix_);
    return file.store(text, error);
}

bool ChemicalCatalogue::SaveChemicalList(std::string* error) const {
    const platform::ProfileFile file(file_);
    platform::ProfileText text = file.load();
    clearStoredNames(text, keyPrefix_);
    text.set(kSystemSection, "MaxPumps", "10");
    text.set(kSystemSection, "NoOfChemicals", fmt::format("{}", chemicals.size()));
    for (std::size_t n = 0; n < chemicals.size(); ++n) {
        text.set(kNamesSection, chemicalKey(keyPrefix_, static_cast<long>(n) + 1),
                 toFile(chemicals[n]));
    }
    return file.store(text, error);
}

}  // namespace qelto::model
