#include "protocol/verify_checks.h"

namespace qelto::protocol::verify_detail {

namespace {

// Names count as the engineer typed them: exactly, case and all, and only up to their first zero
// so that whatever follows it in a slot does not matter.
template <std::size_t N, std::size_t Count>
void compareNames(const char* field, bool byProgram, const std::array<TextSlot<N>, Count>& editor,
                  const std::array<TextSlot<N>, Count>& unit, DifferenceSink& sink) {
    for (std::size_t i = 0; i < Count; ++i) {
        const int index = static_cast<int>(i);
        const Difference where = byProgram ? at(field, index) : at(field, -1, -1, index);
        if (!check(sink, where, slotText(unit[i]), slotText(editor[i]), quotedText)) {
            return;
        }
    }
}

}  // namespace

void compareProgNames(const ProgNamesPart& editor, const ProgNamesPart& unit,
                      DifferenceSink& sink) {
    compareNames("program name", true, editor.names, unit.names, sink);
}

void comparePumpNames(const PumpNamesPart& editor, const PumpNamesPart& unit,
                      DifferenceSink& sink) {
    compareNames("pump name", false, editor.names, unit.names, sink);
}

void compareUnitDescription(const TextSlot<kUnitDescriptionSlot>& editor,
                            const TextSlot<kUnitDescriptionSlot>& unit, DifferenceSink& sink) {
    check(sink, at("unit description"), slotText(unit), slotText(editor), quotedText);
}

}  // namespace qelto::protocol::verify_detail
