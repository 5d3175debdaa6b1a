// The list of chemical names a pump can be named after, and the default pump names of each unit
// model, kept outside any document in the per-user file "qelto.ini":
//
//   [System Settings]  NoOfChemicals=<count>  MaxPumps=10
//   [Chemical Names]   <prefix>01=<name> ... (prefix: one word from the language catalog)
//   [L01] ... [L10]    P01=<name> ... P10=<name>   (section of unit type + 1)
//
// Names are kept as Latin-1 like every text of a configuration; the file holds UTF-8 when Qelto
// wrote it, and a hand-edited Latin-1 file is read as it stands.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "model/prog_data.h"

namespace qelto::model {

class ChemicalCatalogue final : public PumpNameDefaults {
  public:
    ChemicalCatalogue(std::filesystem::path file, std::string keyPrefix, std::string noChemical);

    // Reads the ten default pump names of a unit type and the chemical list. A missing file or
    // section reads as empty names and no chemicals.
    void LoadPumpDefaults(std::uint8_t unitType);

    // Writes pumpSelections as the default pump names of a unit type.
    bool SavePumpDefaults(std::uint8_t unitType, std::string* error = nullptr) const;

    // Sets every default pump name of a unit type to the no-chemical entry.
    bool clearPumpDefaults(std::uint8_t unitType, std::string* error = nullptr) const;

    void LoadChemicalList();

    // Empties the values of the stored chemical keys; the keys themselves stay.
    bool ClearChemicalList(std::string* error = nullptr) const;

    // Clears the stored list, then writes "MaxPumps", "NoOfChemicals" and every name of
    // chemicals, so that names beyond a shortened list are left empty.
    bool SaveChemicalList(std::string* error = nullptr) const;

    std::array<std::string, kPumps> defaultPumpNames(std::uint8_t unitType) const override;

    const std::filesystem::path& file() const { return file_; }
    const std::string& keyPrefix() const { return keyPrefix_; }
    const std::string& noChemical() const { return noChemical_; }

    std::array<std::string, kPumps> pumpDefaults;    // as loaded by LoadPumpDefaults
    std::array<std::string, kPumps> pumpSelections;  // what SavePumpDefaults writes
    std::vector<std::string> chemicals;

  private:
    std::filesystem::path file_;
    std::string keyPrefix_;
    std::string noChemical_;
};

// The section of a unit type: "L01" for type 0 ... "L10" for type 9.
std::string pumpDefaultsSection(std::uint8_t unitType);

}  // namespace qelto::model
