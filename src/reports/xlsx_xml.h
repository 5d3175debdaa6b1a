// Small helpers for the XML parts of a workbook. Parts may put their elements under a namespace
// prefix ("x:row"), so elements are found by their local name and new ones take their parent's
// prefix.
#pragma once

#include <pugixml.hpp>
#include <string>
#include <string_view>

namespace qelto::reports {

// Parses a part keeping everything a spreadsheet wrote (declaration, comments, blanks in text).
bool parseXmlPart(pugi::xml_document& document, const std::string& bytes);

// The part as UTF-8 bytes, written as compactly as it was read.
std::string saveXmlPart(const pugi::xml_document& document);

std::string_view localName(const pugi::xml_node& node);
std::string_view localName(const pugi::xml_attribute& attribute);

// The first child element with this local name, or an empty node.
pugi::xml_node childElement(const pugi::xml_node& parent, std::string_view name);

// A new element with this local name in the parent's namespace prefix, before `before` (or at the
// end when `before` is empty).
pugi::xml_node insertElement(pugi::xml_node parent, std::string_view name, pugi::xml_node before);

// The part a relationship points at: a target relative to the folder of the part that holds
// the relationship ("worksheets/sheet1.xml" from "xl/workbook.xml"), or from the root when it
// starts with "/". Empty when it climbs out of the archive.
std::string resolvePartTarget(std::string_view sourcePart, std::string_view target);

// The relationships part of a part: "xl/workbook.xml" → "xl/_rels/workbook.xml.rels".
std::string relationshipsPart(std::string_view part);

}  // namespace qelto::reports
