// What every report page shares: the document head and title, the date, time and customer lines,
// the unit's identity, and the comment with the page's end. The pages only write their bodies.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/prog_data.h"
#include "reports/report_pages.h"

namespace qelto::reports {

// Collects a page line by line.
class PageWriter {
  public:
    explicit PageWriter(const PageContext& context) : context_(context) {}

    void line(std::string_view text) {
        page_ += text;
        page_ += '\n';
    }
    // The catalog's text of string id, as a line of its own.
    void text(int id) { line(str(id)); }
    // The catalog's text of string id; "#id" when the catalog has none, so a gap shows.
    std::string str(int id) const;

    bool usUnits() const { return context_.usUnits; }
    const PageMoment& now() const { return context_.now; }
    std::string take() { return std::move(page_); }

  private:
    const PageContext& context_;
    std::string page_;
};

struct PageHead {
    std::uint8_t settingsFlag = 0;  // 1 settings, 0 usage
    std::uint8_t source = 0;        // 0 the document, 2 a unit
    std::uint8_t family = 0;        // 0 laundry, 1 dishwash
    bool monthFirst = false;        // US date order on the page
    std::string_view customer1;     // Latin-1, as the record holds them
    std::string_view customer2;
};

// The document head, the report title, the page tags, the date, the time and the customer lines.
void writePageHead(PageWriter& page, const PageHead& head);

// A laundry unit's serial number, model and software version; a unit's own also as cell tags.
void writeLaundryIdentity(PageWriter& page, const model::CProgData& unit, bool fromUnit);

// The comment (Latin-1), on the page and as one spreadsheet cell, then the document's end.
void writePageClose(PageWriter& page, std::string_view commentLatin1);

}  // namespace qelto::reports
