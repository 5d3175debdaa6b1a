#include "protocol/verify.h"

#include "protocol/verify_checks.h"

namespace qelto::protocol {

namespace {

using verify_detail::DifferenceSink;

// Customer names, comments, identity, serial numbers and the clock are never compared: the unit
// may rightly hold other values there than the document does.
void compareOption(const CommsData& editor, const CommsData& unit, int option,
                   const DocumentCalibration& documentCalibration, DifferenceSink& sink) {
    switch (static_cast<VerifyPart>(option)) {
        case VerifyPart::Globals:
            verify_detail::compareGlobals(editor.globals, unit.globals, sink);
            break;
        case VerifyPart::Calibration:
            verify_detail::compareCalibration(editor.calibration, unit.calibration, sink);
            break;
        case VerifyPart::ProgData:
            verify_detail::compareProgData(editor.progData, unit.progData, documentCalibration,
                                           sink);
            break;
        case VerifyPart::ProgName:
            verify_detail::compareProgNames(editor.progNames, unit.progNames, sink);
            break;
        case VerifyPart::PumpName:
            verify_detail::comparePumpNames(editor.pumpNames, unit.pumpNames, sink);
            break;
        case VerifyPart::UnitName:
            verify_detail::compareUnitDescription(editor.unitDescription, unit.unitDescription,
                                                  sink);
            break;
        case VerifyPart::AutoFs:
            verify_detail::compareAutoFs(editor.autoFs, unit.autoFs, sink);
            break;
        case VerifyPart::ResetTo:
            verify_detail::compareResetTo(editor.resetTo, unit.resetTo, sink);
            break;
        default:
            break;
    }
}

}  // namespace

bool CP(const CommsData& editor, const CommsData& unit, int option,
        const DocumentCalibration& documentCalibration) {
    DifferenceSink sink(nullptr);
    compareOption(editor, unit, option, documentCalibration, sink);
    return !sink.found();
}

bool compareParts(const CommsData& editor, const CommsData& unit, int option,
                  const DocumentCalibration& documentCalibration, std::vector<Difference>& out) {
    DifferenceSink sink(&out);
    compareOption(editor, unit, option, documentCalibration, sink);
    return !sink.found();
}

}  // namespace qelto::protocol
