// Reading optional, range-checked fields of a --state file: a missing key leaves the value as it
// was, a key of the wrong type or out of range throws StateError naming it.
#pragma once

#include <array>
#include <limits>
#include <nlohmann/json.hpp>
#include <string>

#include "platform/text_encoding.h"
#include "sim/sim_state.h"

namespace qelto::sim::json_fields {

using nlohmann::json;

template <typename T>
T toNumber(const json& value, const std::string& name) {
    if (!value.is_number_integer()) {
        throw StateError(name + " must be a whole number");
    }
    const auto n = value.get<std::int64_t>();
    if (n < static_cast<std::int64_t>(std::numeric_limits<T>::min()) ||
        n > static_cast<std::int64_t>(std::numeric_limits<T>::max())) {
        throw StateError(name + " is out of range");
    }
    return static_cast<T>(n);
}

template <typename T>
void number(const json& object, const char* key, T& out) {
    if (object.contains(key)) {
        out = toNumber<T>(object.at(key), key);
    }
}

inline std::string toText(const json& value, const std::string& name, std::size_t maxLength) {
    if (!value.is_string()) {
        throw StateError(name + " must be a text");
    }
    std::string latin1 = platform::externalToLatin1(value.get<std::string>());
    if (latin1.size() > maxLength) {
        latin1.resize(maxLength);
    }
    return latin1;
}

inline void text(const json& object, const char* key, std::string& out, std::size_t maxLength) {
    if (object.contains(key)) {
        out = toText(object.at(key), key, maxLength);
    }
}

inline const json* array(const json& object, const char* key, std::size_t maxSize) {
    if (!object.contains(key)) {
        return nullptr;
    }
    const json& value = object.at(key);
    if (!value.is_array() || value.size() > maxSize) {
        throw StateError(std::string(key) + " must be a list of at most " +
                         std::to_string(maxSize) + " entries");
    }
    return &value;
}

template <typename T, std::size_t N>
void numbers(const json& object, const char* key, std::array<T, N>& out) {
    if (const json* list = array(object, key, N)) {
        for (std::size_t i = 0; i < list->size(); ++i) {
            out[i] = toNumber<T>(list->at(i), key);
        }
    }
}

template <std::size_t N>
void texts(const json& object, const char* key, std::array<std::string, N>& out,
           std::size_t maxLength) {
    if (const json* list = array(object, key, N)) {
        for (std::size_t i = 0; i < list->size(); ++i) {
            out[i] = toText(list->at(i), key, maxLength);
        }
    }
}

inline const json& object(const json& parent, const char* key) {
    static const json empty = json::object();
    if (!parent.contains(key)) {
        return empty;
    }
    if (!parent.at(key).is_object()) {
        throw StateError(std::string(key) + " must be an object");
    }
    return parent.at(key);
}

template <std::size_t N>
json utf8Texts(const std::array<std::string, N>& latin1) {
    json list = json::array();
    for (const auto& s : latin1) {
        list.push_back(platform::latin1ToUtf8(s));
    }
    return list;
}

}  // namespace qelto::sim::json_fields
