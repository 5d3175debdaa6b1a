// Every field of the configuration record once: the name `show --json` and `diff` print, where
// its values sit (unit-wide, per PIN, per pump, per program, per trigger, per step), how a value
// reads, what an engineer may enter and what a unit can store. The JSON view, the difference
// list, the editors' ranges and the check before a write all read this table, so a new field is
// one line in kConfigFields.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>

#include "model/prog_data.h"

namespace qelto::model {

// Where the values of a field sit; the order is the order a difference list follows.
enum class FieldScope : std::uint8_t {
    Unit,        // one value for the whole unit
    Pin,         // PIN 1..3
    LegacyByte,  // each byte of the legacy image
    Pump,        // pump 1..10
    Program,     // program 1..20
    Trigger,     // each trigger of each program
    Step,        // each pump of each trigger of each program
};

// How one value reads. The JSON view gives numbers as numbers whatever their reading, times as
// [minutes, seconds, third] and the legacy image as one hex string.
enum class FieldShown : std::uint8_t {
    Number,  // decimal
    Pin,     // four digits: "0042"
    OnOff,   // "off", "on"; any other value as its number, so it cannot hide as "on"
    Byte,    // "0x2a"
    Time,    // "1:05"; the third byte of a time is never shown
    Text,    // Latin-1 in the record, UTF-8 once shown
};

// One value's place, counted from 0; only the indices of the field's scope count.
struct FieldPosition {
    std::size_t program = 0;
    std::size_t trigger = 0;
    std::size_t pump = 0;
    std::size_t pin = 0;
    std::size_t offset = 0;  // byte of the legacy image
};

// One value, in the member its reading uses.
struct FieldValue {
    std::uint32_t number = 0;
    MinSec time;
    std::string_view text;  // Latin-1, up to the text's terminator; points into the record
};

using FieldReader = FieldValue (*)(const CProgData&, const FieldPosition&);

struct FieldInfo {
    std::string_view name;  // the record's member name
    FieldScope scope;
    FieldShown shown;
    // What an engineer may enter: a number, a time in seconds (99:59 at most) or, for a text,
    // its length in characters.
    std::uint32_t min;
    std::uint32_t max;
    // The largest value a unit stores where the record's field is wider than the unit's; a
    // document holding more is refused before anything is written.
    std::optional<std::uint32_t> unitMax;
    FieldReader read;
    bool compared;     // false for the flags that say how a file was stored
    bool listedFirst;  // ahead of the other fields of its scope in a difference list
    bool inPumpStep;   // a member of PumpStep: the JSON view nests it in "programs"
};

// What a table row may say beyond its name; the rest follows from the member's type.
struct FieldOptions {
    std::uint32_t min = 0;
    std::optional<std::uint32_t> max = std::nullopt;  // all the member holds, unless said
    std::optional<std::uint32_t> unitMax = std::nullopt;
    std::optional<FieldShown> shown = std::nullopt;  // by the member's type, unless said
    bool listedFirst = false;
    bool compared = true;
};

namespace field_detail {

template <typename T>
struct MemberPointer;
template <typename Owner, typename T>
struct MemberPointer<T Owner::*> {
    using Class = Owner;
};

template <auto Member>
constexpr bool isStepMember =
    std::is_same_v<typename MemberPointer<decltype(Member)>::Class, PumpStep>;

template <FieldScope S, auto Member>
const auto& element(const CProgData& c, const FieldPosition& at) {
    if constexpr (isStepMember<Member>) {
        static_assert(S == FieldScope::Step);
        return c.programs[at.program][at.trigger][at.pump].*Member;
    } else if constexpr (S == FieldScope::Unit) {
        return c.*Member;
    } else if constexpr (S == FieldScope::Pin) {
        return (c.*Member)[at.pin];
    } else if constexpr (S == FieldScope::LegacyByte) {
        return (c.*Member)[at.offset];
    } else if constexpr (S == FieldScope::Pump) {
        return (c.*Member)[at.pump];
    } else if constexpr (S == FieldScope::Program) {
        return (c.*Member)[at.program];
    } else if constexpr (S == FieldScope::Trigger) {
        return (c.*Member)[at.program][at.trigger];
    } else {
        return (c.*Member)[at.program][at.trigger][at.pump];
    }
}

template <FieldScope S, auto Member>
using Element = std::remove_cvref_t<decltype(element<S, Member>(std::declval<const CProgData&>(),
                                                                FieldPosition{}))>;

template <typename T>
constexpr bool isFixedText = false;
template <std::size_t N>
constexpr bool isFixedText<FixedText<N>> = true;

template <typename T>
constexpr bool isText = isFixedText<T> || std::is_same_v<T, std::string>;

template <typename T>
FieldValue valueOf(const T& value) {
    FieldValue v;
    if constexpr (std::is_same_v<T, MinSec>) {
        v.time = value;
    } else if constexpr (isFixedText<T>) {
        v.text = textOf(value);
    } else if constexpr (std::is_same_v<T, std::string>) {
        v.text = value;
    } else {
        static_assert(std::is_unsigned_v<T> && sizeof(T) <= sizeof(std::uint32_t));
        v.number = value;
    }
    return v;
}

template <FieldScope S, auto Member>
FieldValue read(const CProgData& c, const FieldPosition& at) {
    return valueOf(element<S, Member>(c, at));
}

template <typename T>
constexpr FieldShown shownAs() {
    if constexpr (std::is_same_v<T, MinSec>) {
        return FieldShown::Time;
    } else if constexpr (isText<T>) {
        return FieldShown::Text;
    } else {
        return FieldShown::Number;
    }
}

template <typename T>
constexpr std::uint32_t widest() {
    if constexpr (std::is_same_v<T, MinSec>) {
        return kLongestTime.totalSeconds();
    } else if constexpr (isFixedText<T>) {
        return std::tuple_size_v<T> - 1;  // the terminator takes one byte
    } else if constexpr (std::is_same_v<T, std::string>) {
        return std::numeric_limits<std::uint32_t>::max();
    } else {
        return std::numeric_limits<T>::max();
    }
}

}  // namespace field_detail

// One row of the table: the field `Member` of scope `S` (a PumpStep member for a step's run
// time, delay and dose).
template <FieldScope S, auto Member>
constexpr FieldInfo field(std::string_view name, const FieldOptions& options = {}) {
    using E = field_detail::Element<S, Member>;
    return {name,
            S,
            options.shown.value_or(field_detail::shownAs<E>()),
            options.min,
            options.max.value_or(field_detail::widest<E>()),
            options.unitMax,
            &field_detail::read<S, Member>,
            options.compared,
            options.listedFirst,
            field_detail::isStepMember<Member>};
}

namespace field_rows {

using S = FieldScope;
using C = CProgData;

// 0 or 1 in the editors; the record and the units read any nonzero value as 1.
inline constexpr FieldOptions kSwitch{.max = 1};
// Kept in 32 bits by the record, sent to a unit as one byte.
inline constexpr FieldOptions kOneByte{.max = 0xFF};
// Says how a file was stored, not what a unit does.
inline constexpr FieldOptions kFormatFlag{.max = 1, .compared = false};
// Calibrations and doses travel in 16 bits: 65536 ml/min would reach the unit as 0 and turn a
// volume-dosed pump into a time-dosed one.
inline constexpr std::uint32_t kSixteenBits = 0xFFFF;

}  // namespace field_rows

// In the record's declaration order, which is also the order of the JSON view.
inline constexpr std::array kConfigFields = [] {
    using namespace field_rows;
    return std::array{
        field<S::Unit, &C::firstFormatLoad>("firstFormatLoad", kFormatFlag),
        field<S::Unit, &C::spareLaundryByte>("spareLaundryByte"),
        field<S::Unit, &C::pumpNamesValid>("pumpNamesValid", kFormatFlag),
        field<S::Unit, &C::FlushType>("FlushType", kSwitch),
        // Legacy laundry units are edited through this image directly, so its bytes count too.
        field<S::LegacyByte, &C::legacyConfig>("legacyConfig", {.shown = FieldShown::Byte}),
        field<S::Step, &PumpStep::runTime>("runTime"),
        field<S::Step, &PumpStep::delayTime>("delayTime"),
        // The editor takes five characters; a unit stores 16 bits.
        field<S::Step, &PumpStep::dose>("dose", {.max = 50000, .unitMax = kSixteenBits}),
        field<S::Pump, &C::pumpSpeed>("pumpSpeed", {.min = 30, .max = 100, .listedFirst = true}),
        field<S::Pump, &C::pumpCalibration>("pumpCalibration", {.unitMax = kSixteenBits}),
        field<S::Step, &C::pumpEnabled>(
            "pumpEnabled", {.max = 1, .shown = FieldShown::OnOff, .listedFirst = true}),
        field<S::Trigger, &C::pulseCount>("pulseCount"),
        field<S::Unit, &C::resetDelayLastInput>("resetDelayLastInput", kSwitch),
        field<S::Unit, &C::resetDelayOff>("resetDelayOff", kSwitch),
        field<S::Unit, &C::accessCode>("accessCode", {.max = 99}),
        field<S::Unit, &C::resetDelayTime>("resetDelayTime"),
        field<S::Unit, &C::flushValveTime>("flushValveTime"),
        field<S::Unit, &C::auxTime>("auxTime"),
        field<S::Unit, &C::auxByte>("auxByte"),
        field<S::Unit, &C::unitType>("unitType"),
        field<S::Unit, &C::spareText>("spareText"),
        field<S::Unit, &C::SerialNoUnit>("SerialNoUnit", {.max = 9}),
        field<S::Unit, &C::SerialNoCPU>("SerialNoCPU"),
        field<S::Unit, &C::SoftwareVersion>("SoftwareVersion"),
        field<S::Unit, &C::unitDescription>("unitDescription"),
        field<S::Unit, &C::customerName1>("customerName1"),
        field<S::Unit, &C::customerName2>("customerName2"),
        field<S::Pin, &C::pin>("pin", {.max = 9999, .shown = FieldShown::Pin}),
        field<S::Unit, &C::namesPresent>("namesPresent", kFormatFlag),
        field<S::Unit, &C::relayMode>("relayMode", kSwitch),
        field<S::Unit, &C::ViewMode>("ViewMode", kSwitch),
        field<S::Unit, &C::optionFlag1>("optionFlag1", kSwitch),
        field<S::Unit, &C::optionFlag0>("optionFlag0", kSwitch),
        field<S::Unit, &C::tenPumpFormat>("tenPumpFormat", kFormatFlag),
        field<S::Unit, &C::doseFormat>("doseFormat", kFormatFlag),
        field<S::Unit, &C::flushTypeFormat>("flushTypeFormat", kFormatFlag),
        field<S::Unit, &C::extensionFormat>("extensionFormat", kFormatFlag),
        field<S::Unit, &C::pulseFixFormat>("pulseFixFormat", kFormatFlag),
        field<S::Unit, &C::descriptionFormat>("descriptionFormat", kFormatFlag),
        field<S::Unit, &C::resetToFormat>("resetToFormat", kFormatFlag),
        field<S::Program, &C::progName>("progName"),
        field<S::Pump, &C::pumpName>("pumpName"),
        field<S::Pump, &C::pumpSpeedRange>("pumpSpeedRange", {.max = 3, .listedFirst = true}),
        field<S::Unit, &C::SafetyStopMode>("SafetyStopMode", kOneByte),
        field<S::Unit, &C::autofs_mode>("autofs_mode", kOneByte),
        field<S::Unit, &C::autofs_time>("autofs_time"),
        field<S::Unit, &C::autofs_accept_time>("autofs_accept_time"),
        field<S::Unit, &C::resetOption>("resetOption", {.max = 21}),
        field<S::Unit, &C::resetProgChoice>("resetProgChoice", {.max = 20}),
        field<S::Unit, &C::FSVersion>("FSVersion"),
        field<S::Unit, &C::comments>("comments"),
    };
}();

// The row of a field named in the code; a name the table does not have does not compile.
consteval const FieldInfo& configField(std::string_view name) {
    for (const FieldInfo& f : kConfigFields) {
        if (f.name == name) {
            return f;
        }
    }
    throw std::invalid_argument("not a field of the configuration record");
}

// Every compared value of the record, in the order a person reads a configuration: unit-wide
// settings, PINs, the legacy image, pump by pump, then program by program (its name, then per
// trigger the pulse count and the steps pump by pump). At one position the fields come in table
// order, those listed first ahead of the rest.
void forEachSetting(const std::function<void(const FieldInfo&, const FieldPosition&)>& visit);

// A value as a person reads it (see FieldShown); distinct values always read differently.
std::string readableValue(const FieldInfo& field, const FieldValue& value);

// Numbered as people see them (from 1); absent where the field's scope has no such index.
struct FieldPlace {
    std::optional<unsigned> program;
    std::optional<unsigned> trigger;
    std::optional<unsigned> pump;
    std::optional<unsigned> pin;
    std::optional<std::size_t> offset;  // byte of the legacy image, from 0 as its layout counts
};
FieldPlace placeOf(FieldScope scope, const FieldPosition& at);

}  // namespace qelto::model
