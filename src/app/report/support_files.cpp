#include "app/report/support_files.h"

#include <string_view>

#include "platform/atomic_file.h"

namespace qelto::app {
namespace {

// What a browser needs to print the page on A4 without the screen margins.
constexpr std::string_view kPrintStyle =
    "/* Print style of saved Qelto reports: link it from the page with\n"
    "   <link rel=\"stylesheet\" href=\"QeltoPrint.css\" media=\"print\"> */\n"
    "@page { size: A4; margin: 14mm; }\n"
    "body { margin: 0; max-width: none; font-size: 9.5pt; }\n"
    "h2, h3 { break-after: avoid; }\n"
    "table, svg, img { break-inside: avoid; }\n"
    "img.logo { float: right; height: 12mm; }\n";

constexpr std::string_view kLogo =
    "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"160\" height=\"48\" "
    "viewBox=\"0 0 160 48\">\n"
    "<rect x=\"2\" y=\"2\" width=\"44\" height=\"44\" rx=\"10\" fill=\"#1d5f8a\"/>\n"
    "<circle cx=\"24\" cy=\"22\" r=\"11\" fill=\"none\" stroke=\"#fff\" stroke-width=\"5\"/>\n"
    "<path d=\"M29 29 L38 40\" stroke=\"#fff\" stroke-width=\"5\" stroke-linecap=\"round\"/>\n"
    "<text x=\"56\" y=\"33\" font-family=\"DejaVu Sans, Arial, sans-serif\" font-size=\"24\" "
    "font-weight=\"bold\" fill=\"#1d5f8a\">Qelto</text>\n"
    "</svg>\n";

std::string_view builtIn(const std::string& fileName) {
    return std::filesystem::path(fileName).extension() == ".css" ? kPrintStyle : kLogo;
}

}  // namespace

bool placeSupportFile(const std::filesystem::path& dataFolder, const std::string& fileName,
                      const std::filesystem::path& folder, std::string* error) {
    const std::filesystem::path target = folder / fileName;
    // Copied as a save is made (a read-only installed file gives a writable copy, and only a
    // regular file is replaced); without an installed one the built-in file serves.
    std::string installed;
    if (platform::readWholeFile(dataFolder / fileName, installed)) {
        return platform::writeFileAtomically(target, installed, error);
    }
    return platform::writeFileAtomically(target, builtIn(fileName), error);
}

}  // namespace qelto::app
