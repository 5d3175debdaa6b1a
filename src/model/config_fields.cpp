#include "model/config_fields.h"

#include <fmt/format.h>

#include "platform/text_encoding.h"

namespace qelto::model {
namespace {

consteval bool namesAreDistinct() {
    for (std::size_t i = 0; i < kConfigFields.size(); ++i) {
        for (std::size_t j = i + 1; j < kConfigFields.size(); ++j) {
            if (kConfigFields[i].name == kConfigFields[j].name) {
                return false;
            }
        }
    }
    return true;
}
static_assert(namesAreDistinct(), "every field of the record appears once in kConfigFields");

using Visit = std::function<void(const FieldInfo&, const FieldPosition&)>;

void visitScope(FieldScope scope, const FieldPosition& at, const Visit& visit) {
    for (const bool first : {true, false}) {
        for (const FieldInfo& f : kConfigFields) {
            if (f.scope == scope && f.compared && f.listedFirst == first) {
                visit(f, at);
            }
        }
    }
}

}  // namespace

void forEachSetting(const Visit& visit) {
    visitScope(FieldScope::Unit, {}, visit);
    for (std::size_t i = 0; i < std::tuple_size_v<decltype(CProgData::pin)>; ++i) {
        visitScope(FieldScope::Pin, {.pin = i}, visit);
    }
    for (std::size_t i = 0; i < std::tuple_size_v<LegacyConfig>; ++i) {
        visitScope(FieldScope::LegacyByte, {.offset = i}, visit);
    }
    for (std::size_t k = 0; k < kPumps; ++k) {
        visitScope(FieldScope::Pump, {.pump = k}, visit);
    }
    for (std::size_t p = 0; p < kPrograms; ++p) {
        visitScope(FieldScope::Program, {.program = p}, visit);
        for (std::size_t t = 0; t < kTriggers; ++t) {
            visitScope(FieldScope::Trigger, {.program = p, .trigger = t}, visit);
            for (std::size_t k = 0; k < kPumps; ++k) {
                visitScope(FieldScope::Step, {.program = p, .trigger = t, .pump = k}, visit);
            }
        }
    }
}

std::string readableValue(const FieldInfo& field, const FieldValue& value) {
    switch (field.shown) {
        case FieldShown::Number:
            break;
        case FieldShown::Pin:
            return fmt::format("{:04}", value.number);
        case FieldShown::OnOff:
            if (value.number <= 1) {
                return value.number == 0 ? "off" : "on";
            }
            break;
        case FieldShown::Byte:
            return fmt::format("0x{:02x}", value.number);
        case FieldShown::Time:
            return fmt::format("{}:{:02}", value.time.minutes, value.time.seconds);
        case FieldShown::Text:
            return platform::latin1ToUtf8(value.text);
    }
    return std::to_string(value.number);
}

FieldPlace placeOf(FieldScope scope, const FieldPosition& at) {
    using S = FieldScope;
    const auto person = [](std::size_t index) { return static_cast<unsigned>(index + 1); };
    FieldPlace place;
    if (scope == S::Program || scope == S::Trigger || scope == S::Step) {
        place.program = person(at.program);
    }
    if (scope == S::Trigger || scope == S::Step) {
        place.trigger = person(at.trigger);
    }
    if (scope == S::Pump || scope == S::Step) {
        place.pump = person(at.pump);
    }
    if (scope == S::Pin) {
        place.pin = person(at.pin);
    }
    if (scope == S::LegacyByte) {
        place.offset = at.offset;
    }
    return place;
}

}  // namespace qelto::model
