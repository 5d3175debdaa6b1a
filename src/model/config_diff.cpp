#include "model/config_diff.h"

#include <fmt/format.h>

#include "model/config_fields.h"

namespace qelto::model {

// Two values differ exactly when their readable forms do.
std::vector<ConfigDifference> diffConfigs(const CProgData& a, const CProgData& b) {
    std::vector<ConfigDifference> found;
    forEachSetting([&](const FieldInfo& field, const FieldPosition& at) {
        std::string va = readableValue(field, field.read(a, at));
        std::string vb = readableValue(field, field.read(b, at));
        if (va == vb) {
            return;
        }
        const FieldPlace place = placeOf(field.scope, at);
        found.push_back({.field = std::string(field.name),
                         .program = place.program,
                         .trigger = place.trigger,
                         .pump = place.pump,
                         .pin = place.pin,
                         .offset = place.offset,
                         .isText = field.shown == FieldShown::Text,
                         .a = std::move(va),
                         .b = std::move(vb)});
    });
    return found;
}

std::optional<ConfigDifference> diffUnitFamily(const CQeltoDoc& a, const CQeltoDoc& b) {
    const auto family = [](const CQeltoDoc& doc) {
        return isDishwashView(doc.viewToShow()) ? "dishwash" : "laundry";
    };
    ConfigDifference d;
    d.field = "unitFamily";
    d.a = family(a);
    d.b = family(b);
    if (d.a == d.b) {
        return std::nullopt;
    }
    return d;
}

std::string fieldPath(const ConfigDifference& d) {
    std::string path;
    if (d.program) {
        path += fmt::format("programs[{}].", *d.program);
    }
    if (d.trigger) {
        path += fmt::format("triggers[{}].", *d.trigger);
    }
    if (d.pump) {
        path += fmt::format("pumps[{}].", *d.pump);
    }
    path += d.field;
    if (d.pin) {
        path += fmt::format("[{}]", *d.pin);
    }
    if (d.offset) {
        path += fmt::format("@{}", *d.offset);
    }
    return path;
}

}  // namespace qelto::model
