// Texts that come from a document or a unit (names, comments, serial numbers) are typed by people
// and travel through files and radios; on a page they must show as typed and never become mark-up,
// and in a cell tag they must never end the attribute or the tag early.
#pragma once

#include <string>
#include <string_view>

namespace qelto::reports {

// & < > and " as entities; everything else as it is. Used for page text and attribute values
// alike, so the same text reads the same in both places.
std::string escapeHtml(std::string_view utf8);

// A record's Latin-1 text, as UTF-8 and escaped.
std::string pageText(std::string_view latin1);

// The comment as the spreadsheet receives it in one cell: a double quote becomes a blank, & a +,
// < and > round brackets, ; a colon (the spreadsheet side splits lines at semicolons), and each
// CR LF a semicolon and two blanks. Input and result are UTF-8; the result is not yet escaped.
std::string prepareCommentForCell(std::string_view utf8);

// The comment on the page: escaped, with each CR LF as a line break.
std::string commentForPage(std::string_view utf8);

}  // namespace qelto::reports
