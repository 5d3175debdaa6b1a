// The engineer of a qeltoctl legacy command: the password comes from the command line, the
// confirmation is the command itself, and messages go to standard error in the catalog's words.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "legacy/legacy_prompts.h"

namespace qelto::cli {

// The catalog's text of a number, or nullopt when the catalog has none.
using CatalogFind = std::function<std::optional<std::string>(int)>;

class LegacyTerminal final : public legacy::LegacyPrompts {
  public:
    LegacyTerminal(std::int16_t password, CatalogFind find, std::FILE* out = stderr);

    std::optional<std::int16_t> askPassword() override { return password_; }
    bool askYesNo(int textId) override;
    void message(int textId, legacy::LegacyIcon icon,
                 std::optional<legacy::UnitNameText> unit) override;

    // A read that saves a document holds its "done" message back until the save succeeded.
    void holdSuccessMessages() { holdSuccess_ = true; }
    void releaseHeldMessages();

  private:
    std::string text(int id) const;
    std::string unitName(const legacy::UnitNameText& unit) const;

    std::int16_t password_;
    CatalogFind find_;
    std::FILE* out_;
    bool holdSuccess_ = false;
    std::vector<std::string> held_;
};

}  // namespace qelto::cli
