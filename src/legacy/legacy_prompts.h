// What a legacy operation asks or tells the engineer. The link layer below never talks to anyone;
// the window answers with dialogs, qeltoctl with its flags, the tests with a script.
#pragma once

#include <cstdint>
#include <optional>

namespace qelto::legacy {

enum class LegacyIcon { Information, Warning, Error };

// Which unit a message speaks of: a text number of the language catalog, or 0 when the catalog
// has no text for the type and the front end names the unit by its type code.
struct UnitNameText {
    int textId = 0;
    std::uint8_t typeCode = 0;
};

class LegacyPrompts {
  public:
    virtual ~LegacyPrompts() = default;

    // The password the engineer types; the units take a signed 16-bit number. nullopt on cancel.
    virtual std::optional<std::int16_t> askPassword() = 0;
    // A yes/no question by text number; true for yes.
    virtual bool askYesNo(int textId) = 0;
    // A message by text number. When unit is given, the text names that unit (its "%s").
    virtual void message(int textId, LegacyIcon icon, std::optional<UnitNameText> unit = {}) = 0;
};

// Text numbers of the legacy operations' messages.
inline constexpr int kTextWrongPassword = 158;
inline constexpr int kTextReadNoAnswer = 162;
inline constexpr int kTextReadFailed = 163;
inline constexpr int kTextConfirmSend = 255;
inline constexpr int kTextReadDone = 256;
inline constexpr int kTextWriteFailed = 257;
inline constexpr int kTextWriteDone = 258;

}  // namespace qelto::legacy
