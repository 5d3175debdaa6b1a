#include "reports/xlsx_workbook.h"

#include <array>
#include <cctype>

#include "reports/xlsx_xml.h"

namespace qelto::reports {
namespace {

bool typeIs(const pugi::xml_node& relationship, std::string_view kind) {
    const std::string_view type = relationship.attribute("Type").value();
    return type.size() > kind.size() && type.ends_with(kind) &&
           type[type.size() - kind.size() - 1] == '/';
}

std::string_view relationshipIdOf(const pugi::xml_node& sheet) {
    // r:id, whatever prefix the workbook gave the relationships namespace.
    for (const pugi::xml_attribute attribute : sheet.attributes()) {
        const std::string_view name = attribute.name();
        if (name != localName(attribute) && localName(attribute) == "id") {
            return attribute.value();
        }
    }
    return {};
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::string workbookPartFrom(const pugi::xml_document& packageRelationships) {
    const pugi::xml_node relationships = childElement(packageRelationships, "Relationships");
    for (const pugi::xml_node relationship : relationships.children()) {
        if (localName(relationship) == "Relationship" && typeIs(relationship, "officeDocument")) {
            return resolvePartTarget("", relationship.attribute("Target").value());
        }
    }
    return {};
}

std::vector<WorkbookSheet> listSheets(const pugi::xml_document& workbook,
                                      const pugi::xml_document& workbookRelationships,
                                      std::string_view workbookPart) {
    const pugi::xml_node relationships = childElement(workbookRelationships, "Relationships");
    const pugi::xml_node sheetList = childElement(childElement(workbook, "workbook"), "sheets");
    std::vector<WorkbookSheet> sheets;
    for (const pugi::xml_node sheet : sheetList.children()) {
        if (localName(sheet) != "sheet") {
            continue;
        }
        WorkbookSheet entry{sheet.attribute("name").value(), {}};
        const std::string_view id = relationshipIdOf(sheet);
        for (const pugi::xml_node relationship : relationships.children()) {
            if (!id.empty() && relationship.attribute("Id").value() == id &&
                typeIs(relationship, "worksheet") &&
                std::string_view(relationship.attribute("TargetMode").value()) != "External") {
                entry.part =
                    resolvePartTarget(workbookPart, relationship.attribute("Target").value());
                break;
            }
        }
        sheets.push_back(std::move(entry));
    }
    return sheets;
}

const WorkbookSheet* findSheet(const std::vector<WorkbookSheet>& sheets, std::string_view name) {
    for (const auto& sheet : sheets) {
        if (sameName(sheet.name, name)) {
            return &sheet;
        }
    }
    return nullptr;
}

void requestFullCalcOnLoad(pugi::xml_document& workbook) {
    pugi::xml_node root = childElement(workbook, "workbook");
    pugi::xml_node calcPr = childElement(root, "calcPr");
    if (!calcPr) {
        // The schema fixes the order of the workbook's children: calcPr follows these.
        static constexpr std::array<std::string_view, 9> kBefore{
            "fileVersion",        "fileSharing",        "workbookPr",
            "workbookProtection", "bookViews",          "sheets",
            "functionGroups",     "externalReferences", "definedNames"};
        pugi::xml_node after;
        for (pugi::xml_node child = root.first_child(); child; child = child.next_sibling()) {
            for (const auto name : kBefore) {
                after = localName(child) == name ? child : after;
            }
        }
        pugi::xml_node before = after ? after.next_sibling() : root.first_child();
        while (before && before.type() != pugi::node_element) {
            before = before.next_sibling();
        }
        calcPr = insertElement(root, "calcPr", before);
    }
    if (!calcPr.attribute("fullCalcOnLoad")) {
        calcPr.append_attribute("fullCalcOnLoad");
    }
    calcPr.attribute("fullCalcOnLoad").set_value("1");
}

std::string dropCalcChainRelationship(pugi::xml_document& workbookRelationships,
                                      std::string_view workbookPart) {
    pugi::xml_node relationships = childElement(workbookRelationships, "Relationships");
    for (pugi::xml_node relationship : relationships.children()) {
        if (localName(relationship) == "Relationship" && typeIs(relationship, "calcChain")) {
            std::string part =
                resolvePartTarget(workbookPart, relationship.attribute("Target").value());
            relationships.remove_child(relationship);
            return part;
        }
    }
    return {};
}

void dropContentTypeOverride(pugi::xml_document& contentTypes, std::string_view part) {
    pugi::xml_node types = childElement(contentTypes, "Types");
    const std::string name = "/" + std::string(part);
    for (pugi::xml_node entry : types.children()) {
        if (localName(entry) == "Override" && sameName(entry.attribute("PartName").value(), name)) {
            types.remove_child(entry);
            return;
        }
    }
}

}  // namespace qelto::reports
