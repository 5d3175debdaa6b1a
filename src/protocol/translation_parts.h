// The translation of each part of the communications record, one direction per function, for the
// three dispatchers of translation.cpp; and the conversions they share.
#pragma once

#include <algorithm>
#include <cstdint>

#include "model/comms_copy.h"
#include "model/prog_data.h"
#include "protocol/comms_data.h"
#include "protocol/translation.h"

namespace qelto::protocol::translate {

// A time as one 16-bit count of seconds; minutes and seconds are bytes, so it always fits.
inline std::uint16_t secondsOf(const model::MinSec& time) {
    return static_cast<std::uint16_t>(time.totalSeconds());
}

// Seconds back to minutes and seconds. A count beyond 255:59 cannot be held; it stays at 255:59
// instead of wrapping round to a short time.
inline model::MinSec minSecOf(std::uint16_t seconds) {
    constexpr std::uint16_t kLongest = 255 * 60 + 59;
    return model::MinSec::fromSeconds(std::min(seconds, kLongest));
}

// A 32-bit setting in a packet byte. The editors only set small values; anything above 255 is
// held at 255, so a nonzero setting never travels as 0.
inline std::uint8_t byteOf(std::uint32_t value) {
    return static_cast<std::uint8_t>(std::min<std::uint32_t>(value, 255));
}

// The unit sends 0 or 1; like SetProgData, anything nonzero counts as enabled.
inline bool pumpIsEnabled(std::uint8_t enabled) {
    return enabled != 0;
}

// Settings parts (translation_settings.cpp).
void globalsFromDocument(const model::CProgData& config, GlobalsPart& globals,
                         const TranslationContext& context);
void globalsToDocument(const GlobalsPart& globals, model::CProgData& config,
                       TranslationContext& context);
void globalsToCopy(const GlobalsPart& globals, model::CommsCopy& copy, model::CProgData& config);

void calibrationFromDocument(const model::CProgData& config, CalibrationPart& calibration);
void calibrationToDocument(const CalibrationPart& calibration, model::CProgData& config);
void calibrationToCopy(const CalibrationPart& calibration, model::CommsCopy& copy);

void autoFsFromDocument(const model::CProgData& config, AutoFs& autoFs);
void autoFsToDocument(const AutoFs& autoFs, model::CProgData& config);

void resetToFromDocument(const model::CProgData& config, ResetToPart& resetTo);
void resetToToDocument(const ResetToPart& resetTo, model::CProgData& config);
void resetToToCopy(const ResetToPart& resetTo, model::CommsCopy& copy);

void identityToDocument(const IdentityPart& identity, model::CProgData& config,
                        TranslationContext& context);
void identityToCopy(const IdentityPart& identity, model::CommsCopy& copy);

// Program data (translation_program.cpp).
void progDataFromDocument(const model::CProgData& config, ProgDataPart& progData);
void progDataToDocument(const ProgDataPart& progData, model::CProgData& config);
void progDataToCopy(const ProgDataPart& progData, model::CommsCopy& copy);

// Texts (translation_texts.cpp).
void namesFromDocument(const model::CProgData& config, ProgNamesPart& progNames);
void namesFromDocument(const model::CProgData& config, PumpNamesPart& pumpNames);
void namesFromDocument(const model::CProgData& config, CustNamePart& custName);
void descriptionFromDocument(const model::CProgData& config,
                             TextSlot<kUnitDescriptionSlot>& description);
void commentsFromDocument(const model::CProgData& config, CommentsPart& comments);
void serialNumbersFromDocument(const model::CProgData& config, SerialNumbersPart& serials);

void progNamesToCopy(const ProgNamesPart& progNames, model::CommsCopy& copy);
void pumpNamesToCopy(const PumpNamesPart& pumpNames, model::CommsCopy& copy);
void custNameToCopy(const CustNamePart& custName, model::CommsCopy& copy);

void progNamesToDocument(const ProgNamesPart& progNames, model::CProgData& config);
void pumpNamesToDocument(const PumpNamesPart& pumpNames, model::CProgData& config);
void custNameToDocument(const CustNamePart& custName, model::CProgData& config);
void descriptionToDocument(const TextSlot<kUnitDescriptionSlot>& description,
                           model::CProgData& config);

}  // namespace qelto::protocol::translate
