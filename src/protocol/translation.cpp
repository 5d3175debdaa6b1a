#include "protocol/translation.h"

#include "protocol/translation_parts.h"

namespace qelto::protocol {

using namespace translate;

void GetFromDocumentView(const model::CProgData& config, CommsData& data, int option,
                         const TranslationContext& context) {
    switch (option) {
        case COMMS_GLOBALS:
            globalsFromDocument(config, data.globals, context);
            break;
        case COMMS_CALIBRATION:
            calibrationFromDocument(config, data.calibration);
            break;
        case COMMS_PROGDATA:
            progDataFromDocument(config, data.progData);
            break;
        case COMMS_PROGNAME:
            namesFromDocument(config, data.progNames);
            break;
        case COMMS_CUSTNAME:
            namesFromDocument(config, data.custName);
            break;
        case COMMS_PUMPNAME:
            namesFromDocument(config, data.pumpNames);
            break;
        case COMMS_COMMENTS:
            commentsFromDocument(config, data.comments);
            break;
        case COMMS_SERIALNO:
            serialNumbersFromDocument(config, data.serialNumbers);
            break;
        case COMMS_UNITNAME:
            descriptionFromDocument(config, data.unitDescription);
            break;
        case COMMS_AUTOFS:
            autoFsFromDocument(config, data.autoFs);
            break;
        case COMMS_RESETTO:
            resetToFromDocument(config, data.resetTo);
            break;
        default:
            // The identity and the unit clock only ever come from a unit.
            break;
    }
}

void UpdateDocumentView(const CommsData& data, model::CProgData& config, int option,
                        TranslationContext& context) {
    switch (option) {
        case COMMS_GLOBALS:
            globalsToDocument(data.globals, config, context);
            break;
        case COMMS_CALIBRATION:
            calibrationToDocument(data.calibration, config);
            break;
        case COMMS_PROGDATA:
            progDataToDocument(data.progData, config);
            break;
        case COMMS_PROGNAME:
            progNamesToDocument(data.progNames, config);
            break;
        case COMMS_CUSTNAME:
            custNameToDocument(data.custName, config);
            break;
        case COMMS_PUMPNAME:
            pumpNamesToDocument(data.pumpNames, config);
            break;
        case COMMS_COMMENTS:
            config.comments = commentsText(data.comments);
            break;
        case COMMS_ACK:
            identityToDocument(data.identity, config, context);
            break;
        case COMMS_UNITNAME:
            descriptionToDocument(data.unitDescription, config);
            break;
        case COMMS_AUTOFS:
            autoFsToDocument(data.autoFs, config);
            break;
        case COMMS_RESETTO:
            resetToToDocument(data.resetTo, config);
            break;
        case COMMS_UNITTIME:
            if (context.unitTimeText != nullptr) {
                *context.unitTimeText = slotText(data.unitTime);
            }
            break;
        default:
            // The serial-number texts only travel to a unit; they come back with the identity.
            break;
    }
}

void UpdateCommsData(const CommsData& data, model::CommsCopy& copy, model::CProgData& config,
                     int option) {
    switch (option) {
        case COMMS_GLOBALS:
            globalsToCopy(data.globals, copy, config);
            break;
        case COMMS_CALIBRATION:
            calibrationToCopy(data.calibration, copy);
            break;
        case COMMS_PROGDATA:
            progDataToCopy(data.progData, copy);
            break;
        case COMMS_PROGNAME:
            progNamesToCopy(data.progNames, copy);
            break;
        case COMMS_CUSTNAME:
            custNameToCopy(data.custName, copy);
            break;
        case COMMS_PUMPNAME:
            pumpNamesToCopy(data.pumpNames, copy);
            break;
        case COMMS_COMMENTS:
            copy.comments = commentsText(data.comments);
            break;
        case COMMS_ACK:
            identityToCopy(data.identity, copy);
            break;
        case COMMS_UNITNAME:
            // The copy keeps no description; reports take it from the configuration.
            descriptionToDocument(data.unitDescription, config);
            break;
        case COMMS_RESETTO:
            resetToToCopy(data.resetTo, copy);
            break;
        case COMMS_UNITTIME:
            copy.UnitTimeText = slotText(data.unitTime);
            break;
        default:
            // Automatic flush settings appear in no report.
            break;
    }
}

}  // namespace qelto::protocol
