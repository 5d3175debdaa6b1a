#include "reports/xlsx_xml.h"

#include <vector>

namespace qelto::reports {
namespace {

constexpr unsigned kParseOptions = pugi::parse_full | pugi::parse_ws_pcdata;

std::string_view afterPrefix(std::string_view name) {
    const std::size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

struct StringWriter final : pugi::xml_writer {
    std::string bytes;
    void write(const void* data, std::size_t size) override {
        bytes.append(static_cast<const char*>(data), size);
    }
};

}  // namespace

bool parseXmlPart(pugi::xml_document& document, const std::string& bytes) {
    return document.load_buffer(bytes.data(), bytes.size(), kParseOptions, pugi::encoding_auto);
}

std::string saveXmlPart(const pugi::xml_document& document) {
    StringWriter writer;
    document.save(writer, "", pugi::format_raw, pugi::encoding_utf8);
    return std::move(writer.bytes);
}

std::string_view localName(const pugi::xml_node& node) {
    return afterPrefix(node.name());
}

std::string_view localName(const pugi::xml_attribute& attribute) {
    return afterPrefix(attribute.name());
}

pugi::xml_node childElement(const pugi::xml_node& parent, std::string_view name) {
    for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_element && localName(child) == name) {
            return child;
        }
    }
    return {};
}

pugi::xml_node insertElement(pugi::xml_node parent, std::string_view name, pugi::xml_node before) {
    const std::string_view parentName = parent.name();
    const std::size_t colon = parentName.find(':');
    std::string qualified;
    if (colon != std::string_view::npos) {
        qualified = std::string(parentName.substr(0, colon + 1));
    }
    qualified += name;
    return before ? parent.insert_child_before(qualified.c_str(), before)
                  : parent.append_child(qualified.c_str());
}

std::string resolvePartTarget(std::string_view sourcePart, std::string_view target) {
    std::vector<std::string_view> segments;
    if (!target.starts_with('/')) {
        const std::size_t slash = sourcePart.rfind('/');
        std::string_view folder =
            slash == std::string_view::npos ? std::string_view{} : sourcePart.substr(0, slash);
        while (!folder.empty()) {
            const std::size_t next = folder.find('/');
            segments.push_back(folder.substr(0, next));
            folder = next == std::string_view::npos ? std::string_view{} : folder.substr(next + 1);
        }
    }
    while (!target.empty()) {
        const std::size_t next = target.find('/');
        const std::string_view segment = target.substr(0, next);
        if (segment == "..") {
            if (segments.empty()) {
                return {};
            }
            segments.pop_back();
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
        target = next == std::string_view::npos ? std::string_view{} : target.substr(next + 1);
    }
    std::string part;
    for (const auto segment : segments) {
        part += part.empty() ? "" : "/";
        part += segment;
    }
    return part;
}

std::string relationshipsPart(std::string_view part) {
    const std::size_t slash = part.rfind('/');
    const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    return std::string(part.substr(0, nameStart)) + "_rels/" + std::string(part.substr(nameStart)) +
           ".rels";
}

}  // namespace qelto::reports
