// The report page writes every value a spreadsheet needs as an invisible cell tag,
// <EXCEL CELL="B80" CONTENT="Whites">, next to the visible text; the export collects them here.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace qelto::reports {

class CReportTagParser {
  public:
    using CellMap = std::map<std::string, std::string>;
    using Cell = CellMap::value_type;

    // Collects the tags named tagName from a page. The names are upper-cased; the page is matched
    // as it stands, so "<excel" in a page is not a tag. A value follows its attribute's "=", in
    // double quotes or up to the next blank, and at most to the tag's ">". A tag missing either
    // attribute is skipped, a tag without its ">" ends the collection, and a later tag for a cell
    // replaces an earlier one. The content's HTML entities &amp; &lt; &gt; &quot; are decoded.
    CReportTagParser(std::string_view page, std::string_view tagName,
                     std::string_view cellAttribute, std::string_view contentAttribute);

    // Cell by cell in the map's order (cell names as text: "A10" before "A2"), not page order;
    // nullptr after the last one.
    const Cell* first();
    const Cell* next();

    const CellMap& cells() const { return cells_; }

  private:
    CellMap cells_;
    CellMap::const_iterator position_;
};

// The four entities the page uses to write a value as an HTML attribute, decoded in one pass (so
// "&amp;lt;" stays "&lt;"); any other "&" is kept as it is.
std::string decodeAttributeText(std::string_view text);

}  // namespace qelto::reports
