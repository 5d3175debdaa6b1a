#include "document_writer.h"

#include <algorithm>
#include <filesystem>
#include <type_traits>
#include <utility>

#include "support/test_env.h"

namespace qelto::test::doc {
namespace {

using namespace std::string_view_literals;

class Writer {
  public:
    void u8(std::uint8_t v) { bytes_.push_back(v); }
    void u16(std::uint16_t v) {
        u8(static_cast<std::uint8_t>(v & 0xFFU));
        u8(static_cast<std::uint8_t>(v >> 8U));
    }
    void u32(std::uint32_t v) {
        for (unsigned shift = 0; shift < 32; shift += 8) {
            u8(static_cast<std::uint8_t>((v >> shift) & 0xFFU));
        }
    }
    void raw(const std::uint8_t* data, std::size_t size) {
        bytes_.insert(bytes_.end(), data, data + size);
    }
    template <std::size_t N>
    void raw(const std::array<std::uint8_t, N>& a) {
        raw(a.data(), N);
    }
    void minSec(const Triple& t) {
        u8(t[0]);
        u8(t[1]);
    }
    // The listed fields of a record in the order given, each at its own width.
    template <typename Record, typename... Field>
    void fields(const Record& r, Field Record::*... f) {
        (put(r.*f), ...);
    }
    void counted(std::string_view text) {
        const Bytes b = countedString(text);
        raw(b.data(), b.size());
    }
    std::size_t size() const { return bytes_.size(); }
    Bytes take() { return std::move(bytes_); }

  private:
    void put(std::uint8_t v) { u8(v); }
    void put(std::uint32_t v) { u32(v); }
    void put(const Triple& t) { minSec(t); }
    Bytes bytes_;
};

int pumpsInFile(int format) {
    return format >= 4 ? 10 : 6;
}

std::size_t idx(int i) {
    return static_cast<std::size_t>(i);
}

void writeExtensionBlock(Writer& w, const Document& doc, int format) {
    const Config& c = doc.config;
    const std::size_t start = w.size();
    w.fields(c, &Config::relayMode, &Config::ViewMode, &Config::optionFlag1, &Config::optionFlag0);
    if (format >= 8) {
        w.raw(c.unitDescription);
    }
    w.fields(c, &Config::SafetyStopMode, &Config::autofs_mode, &Config::autofs_time,
             &Config::autofs_accept_time);
    if (format >= 9) {
        w.fields(c, &Config::resetOption, &Config::resetProgChoice, &Config::FSVersion);
    }
    while (w.size() - start < 100) {
        w.u8(doc.extensionFiller);
    }
}

std::uint16_t legacyU16(const std::array<std::uint8_t, 89>& image, std::size_t offset) {
    return static_cast<std::uint16_t>(image[offset] | (image[offset + 1] << 8U));
}

void setLegacyU16(std::array<std::uint8_t, 89>& image, std::size_t offset, std::uint16_t v) {
    image[offset] = static_cast<std::uint8_t>(v & 0xFFU);
    image[offset + 1] = static_cast<std::uint8_t>(v >> 8U);
}

std::uint8_t oldTypeToNewType(std::uint8_t code) {
    if (code >= 6 && code <= 11) {
        return static_cast<std::uint8_t>(code + 4);
    }
    if (code >= 29) {
        return 255;
    }
    return code;
}

template <std::size_t N>
std::string textUpToNul(const FixedText<N>& field) {
    std::string s;
    for (const std::uint8_t b : field) {
        if (b == 0) {
            break;
        }
        s.push_back(static_cast<char>(b));
    }
    return latin1ToUtf8(s);
}

// Every number, array and counted string of a record as `show --json` gives it; fixed-width
// texts go through textUpToNul instead.
nlohmann::json shown(const std::string& latin1) {
    return latin1ToUtf8(latin1);
}

nlohmann::json shown(const Step& s);

template <typename T>
requires std::is_integral_v<T> nlohmann::json shown(T value) {
    return value;
}

template <typename T, std::size_t N>
nlohmann::json shown(const std::array<T, N>& values) {
    nlohmann::json out = nlohmann::json::array();
    for (const auto& v : values) {
        out.push_back(shown(v));
    }
    return out;
}

nlohmann::json shown(const Step& s) {
    return {{"runTime", shown(s.runTime)}, {"delayTime", shown(s.delayTime)}, {"dose", s.dose}};
}

std::string hex(const std::array<std::uint8_t, 89>& bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string s;
    for (const std::uint8_t b : bytes) {
        s.push_back(kDigits[b >> 4U]);
        s.push_back(kDigits[b & 0xFU]);
    }
    return s;
}

std::uint8_t flag(bool set) {
    return set ? 1 : 0;
}

}  // namespace

std::string formatTag(int format) {
    if (format < 1 || format > 9) {
        throw std::invalid_argument("no such document format");
    }
    return format == 1 ? std::string("QDoc") : "QDo" + std::to_string(format);
}

Bytes countedString(std::string_view text) {
    Writer w;
    const std::size_t n = text.size();
    if (n < 0xFF) {
        w.u8(static_cast<std::uint8_t>(n));
    } else if (n < 0xFFFE) {
        w.u8(0xFF);
        w.u16(static_cast<std::uint16_t>(n));
    } else {
        w.u8(0xFF);
        w.u16(0xFFFF);
        w.u32(static_cast<std::uint32_t>(n));
    }
    w.raw(reinterpret_cast<const std::uint8_t*>(text.data()), n);
    return w.take();
}

Bytes progDataBlock(const Document& doc, int format) {
    const Config& c = doc.config;
    const int n = pumpsInFile(format);
    Writer w;

    if (format == 1) {
        // Format 1 files predate the byte at offset 64 of the legacy image.
        w.raw(c.legacyConfig.data(), legacy::kFileSkipsInFormat1);
        w.raw(c.legacyConfig.data() + legacy::kFileSkipsInFormat1 + 1, 72 - 65);
    } else if (format <= 3) {
        w.raw(c.legacyConfig.data(), 72);
    } else {
        w.raw(c.legacyConfig);
    }
    w.u8(c.unitType);
    w.raw(c.customerName1);
    w.raw(c.customerName2);
    for (int k = 0; k < n; ++k) {
        w.u8(c.pumpSpeed[idx(k)]);
    }
    w.raw(c.spareText);
    w.u8(c.resetDelayOff);
    if (format >= 2) {
        w.u8(c.resetDelayLastInput);
    }
    w.fields(c, &Config::accessCode, &Config::resetDelayTime, &Config::flushValveTime,
             &Config::auxTime, &Config::auxByte);
    for (const std::uint16_t p : c.pin) {
        w.u16(p);
    }
    for (int p = 0; p < kPrograms; ++p) {
        for (int t = 0; t < n; ++t) {
            for (int k = 0; k < n; ++k) {
                const Step& s = c.programs[idx(p)][idx(t)][idx(k)];
                w.minSec(s.runTime);
                w.minSec(s.delayTime);
                w.u8(c.pumpEnabled[idx(p)][idx(t)][idx(k)]);
            }
            w.u8(c.pulseCount[idx(p)][idx(t)]);
        }
    }
    if (format >= 3) {
        w.counted(c.comments);
        w.u8(c.spareLaundryByte);
        for (const auto& name : c.progName) {
            w.counted(name);
        }
    }
    if (format >= 4) {
        for (const auto& name : c.pumpName) {
            w.counted(name);
        }
        for (const std::uint32_t r : c.pumpSpeedRange) {
            w.u32(r);
        }
        w.u32(c.pumpNamesValid);
        for (const std::uint32_t cal : c.pumpCalibration) {
            w.u32(cal);
        }
        for (int p = 0; p < kPrograms; ++p) {
            for (int t = 0; t < kTriggers; ++t) {
                for (int k = 0; k < n; ++k) {
                    w.u32(c.programs[idx(p)][idx(t)][idx(k)].dose);
                }
            }
        }
    }
    if (format >= 5) {
        w.u32(c.FlushType);
    }
    if (format >= 6) {
        writeExtensionBlock(w, doc, format);
    }
    if (format >= 4) {
        w.u32(doc.endMarker);
    }
    return w.take();
}

Bytes dishwashBlock(const Document& doc, int format) {
    if (format < 2) {
        return {};
    }
    const Dishwash& d = doc.dishwash;
    Writer w;
    w.fields(d, &Dishwash::DW_UnitType, &Dishwash::DW_UnitMode);
    w.u8(doc.firstICmodeCopy.value_or(d.DW_ICmode));
    w.fields(d, &Dishwash::DW_IOCheckbox, &Dishwash::DW_NumPumps, &Dishwash::DW_Byte69);
    w.raw(d.DW_SerialNo);
    for (const std::uint16_t p : d.DW_Pin) {
        w.u16(p);
    }
    w.fields(d, &Dishwash::DW_ICmode, &Dishwash::DW_ICRunTime, &Dishwash::DW_ICDelayTime,
             &Dishwash::DW_ICPulseCount, &Dishwash::DW_ProbeMode, &Dishwash::DW_ProbeConcentration,
             &Dishwash::DW_ProbeInitialDelay, &Dishwash::DW_ProbeAlarmDelay,
             &Dishwash::DW_ProbeAlarmOff);
    w.raw(d.DW_PumpSpeed);
    for (const Triple& t : d.DW_PumpRunTime) {
        w.minSec(t);
    }
    for (const Triple& t : d.DW_PumpOffTime) {
        w.minSec(t);
    }
    w.raw(d.DW_PumpPulse);
    w.raw(d.DW_IOPercent);
    // Output times keep the hour-like number in the third byte, so it goes first.
    for (const Triple& t : d.DW_IOTime) {
        w.u8(t[2]);
        w.u8(t[0]);
    }
    for (const Triple& t : d.DW_IODuration) {
        w.u8(t[2]);
        w.u8(t[0]);
    }
    if (format >= 3) {
        w.counted(d.DW_Text);
        w.fields(d, &Dishwash::DW_Flag4, &Dishwash::DW_Flag88);
        w.u32(doc.viewNumber);
    }
    return w.take();
}

Bytes writeDocumentWithTag(const Document& doc, int format, std::string_view tag) {
    Bytes out = countedString(tag);
    const Bytes prog = progDataBlock(doc, format);
    const Bytes dish = dishwashBlock(doc, format);
    out.insert(out.end(), prog.begin(), prog.end());
    out.insert(out.end(), dish.begin(), dish.end());
    return out;
}

Bytes writeDocument(const Document& doc, int format) {
    return writeDocumentWithTag(doc, format, formatTag(format));
}

Document resetDocument(const PumpNames& defaultPumpNames) {
    Document doc;
    Config& c = doc.config;
    auto& lc = c.legacyConfig;
    lc[legacy::kUnitType] = 3;
    lc[legacy::kPumpSpeed] = 80;
    lc[legacy::kAccessCode] = 1;
    lc[legacy::kPulseCount] = 1;
    lc[legacy::kResetDelay] = 0;
    lc[legacy::kResetDelay + 1] = 20;
    lc[legacy::kRunTime] = 0;
    lc[legacy::kRunTime + 1] = 45;
    setLegacyU16(lc, legacy::kPin1, 6179);
    setLegacyU16(lc, legacy::kPin1 + 2, 7159);
    setLegacyU16(lc, legacy::kPin1 + 4, 7318);
    const auto serial = fixedText<10>("000000000");
    std::copy(serial.begin(), serial.end(), lc.begin() + legacy::kSerial);
    const auto version = fixedText<6>("V-.--");
    std::copy(version.begin(), version.end(), lc.begin() + legacy::kVersion);

    c.pumpSpeed.fill(80);
    for (auto& program : c.pulseCount) {
        program.fill(1);
    }
    c.accessCode = 1;
    c.resetDelayTime = {0, 20, 0};
    c.unitType = 3;
    c.SerialNoUnit = fixedText<20>("000000000");
    c.SoftwareVersion = fixedText<6>("V-.--");
    c.pin = {6179, 7159, 7318};
    for (auto& program : c.programs) {
        for (auto& trigger : program) {
            for (auto& step : trigger) {
                step.runTime = {0, 45, 0};
            }
        }
    }
    c.pumpName = defaultPumpNames;
    c.pumpSpeedRange.fill(3);
    c.pumpNamesValid = 1;
    c.ViewMode = 1;
    c.optionFlag1 = 1;
    c.optionFlag0 = 1;
    c.autofs_time = {0, 30, 0};
    c.autofs_accept_time = 1;
    c.resetOption = 2;
    c.resetProgChoice = 1;

    Dishwash& d = doc.dishwash;
    d.DW_SerialNo = fixedText<9>("00000000");
    d.DW_Pin = {6179, 7159, 7318};
    d.DW_ICmode = 1;
    d.DW_ICRunTime = {0, 30, 0};
    d.DW_ICPulseCount = 1;
    d.DW_ProbeMode = 1;
    d.DW_ProbeInitialDelay = {3, 0, 0};
    d.DW_ProbeConcentration = 170;
    d.DW_ProbeAlarmDelay = {5, 0, 0};
    d.DW_PumpSpeed = {100, 75, 100};  // mode 0 slows pump 1
    d.DW_PumpRunTime.fill({0, 4, 0});
    d.DW_PumpOffTime.fill({0, 4, 0});
    d.DW_PumpPulse.fill(1);
    d.DW_IOPercent.fill(100);
    return doc;
}

Document expectedAfterLoad(const Document& written, int format, const PumpNames& defaultPumpNames) {
    Document doc = resetDocument(defaultPumpNames);
    const Config& in = written.config;
    Config& c = doc.config;
    const int n = pumpsInFile(format);
    // The listed fields taken from the file as written.
    const auto take = [&c, &in](auto... field) { ((c.*field = in.*field), ...); };

    const std::size_t legacyBytes = format >= 4 ? 89 : 72;
    std::copy_n(in.legacyConfig.begin(), legacyBytes, c.legacyConfig.begin());
    if (format == 1) {
        c.legacyConfig[legacy::kFileSkipsInFormat1] = 0;
    }
    if (format < 7 && c.legacyConfig[legacy::kPulseCount] == 0) {
        c.legacyConfig[legacy::kPulseCount] = 1;
    }
    for (std::size_t offset = legacy::kPin1; offset < legacy::kPin1 + 6; offset += 2) {
        if (legacyU16(c.legacyConfig, offset) > 9999) {
            setLegacyU16(c.legacyConfig, offset, 9999);
        }
    }
    for (std::size_t i = legacy::kSerial; i < legacy::kSerial + 10; ++i) {
        c.legacyConfig[i] = std::clamp<std::uint8_t>(c.legacyConfig[i], '0', '9');
    }

    c.unitType = format <= 3 ? oldTypeToNewType(in.unitType) : in.unitType;
    take(&Config::customerName1, &Config::customerName2, &Config::spareText, &Config::resetDelayOff,
         &Config::accessCode, &Config::auxByte, &Config::pin);
    std::copy_n(in.pumpSpeed.begin(), n, c.pumpSpeed.begin());
    if (format >= 2) {
        take(&Config::resetDelayLastInput);
    }
    for (auto [to, from] :
         {std::pair{&c.resetDelayTime, &in.resetDelayTime},
          std::pair{&c.flushValveTime, &in.flushValveTime}, std::pair{&c.auxTime, &in.auxTime}}) {
        (*to)[0] = (*from)[0];
        (*to)[1] = (*from)[1];
    }

    for (std::size_t p = 0; p < kPrograms; ++p) {
        for (std::size_t t = 0; t < idx(n); ++t) {
            bool anyEnabled = false;
            for (std::size_t k = 0; k < idx(n); ++k) {
                Step& s = c.programs[p][t][k];
                const Step& from = in.programs[p][t][k];
                s.runTime = {from.runTime[0], from.runTime[1], 0};
                s.delayTime = {from.delayTime[0], from.delayTime[1], 0};
                c.pumpEnabled[p][t][k] = in.pumpEnabled[p][t][k];
                anyEnabled = anyEnabled || in.pumpEnabled[p][t][k] != 0;
            }
            c.pulseCount[p][t] = in.pulseCount[p][t];
            if (c.pulseCount[p][t] == 0 && !anyEnabled) {
                c.pulseCount[p][t] = c.legacyConfig[legacy::kPulseCount];
            }
        }
    }

    if (format >= 3) {
        take(&Config::comments, &Config::spareLaundryByte, &Config::progName);
    }
    if (format >= 4) {
        take(&Config::pumpName, &Config::pumpSpeedRange, &Config::pumpCalibration);
        c.pumpNamesValid = 1;  // whatever the file says
        for (std::size_t p = 0; p < kPrograms; ++p) {
            for (std::size_t t = 0; t < kTriggers; ++t) {
                for (std::size_t k = 0; k < kPumps; ++k) {
                    c.programs[p][t][k].dose = in.programs[p][t][k].dose;
                }
            }
        }
    }
    if (format >= 5) {
        take(&Config::FlushType);
    }
    if (format >= 6) {
        take(&Config::relayMode, &Config::ViewMode, &Config::optionFlag1, &Config::optionFlag0,
             &Config::SafetyStopMode, &Config::autofs_mode, &Config::autofs_accept_time);
        c.autofs_time = {in.autofs_time[0], in.autofs_time[1], 0};
    }
    if (format >= 8) {
        take(&Config::unitDescription);
    }
    if (format >= 9) {
        take(&Config::resetOption, &Config::resetProgChoice, &Config::FSVersion);
        if (c.resetOption > 21 || c.resetProgChoice > 20) {
            c.resetOption = 2;
            c.resetProgChoice = 1;
        }
    }

    if (format >= 2) {
        // Every dishwash item but the two proportional ones, times without their third byte (an
        // output's time without its second).
        Dishwash& d = doc.dishwash;
        const Dishwash reset = d;
        d = written.dishwash;
        d.DW_PropTo = reset.DW_PropTo;
        d.DW_PropRunning = reset.DW_PropRunning;
        for (Triple* t :
             {&d.DW_ICRunTime, &d.DW_ICDelayTime, &d.DW_ProbeInitialDelay, &d.DW_ProbeAlarmDelay,
              &d.DW_PumpRunTime[0], &d.DW_PumpRunTime[1], &d.DW_PumpRunTime[2],
              &d.DW_PumpOffTime[0], &d.DW_PumpOffTime[1], &d.DW_PumpOffTime[2]}) {
            (*t)[2] = 0;
        }
        for (std::size_t i = 0; i < 4; ++i) {
            d.DW_IOTime[i][1] = 0;
            d.DW_IODuration[i][1] = 0;
        }
        if (format < 3) {
            d.DW_Text = reset.DW_Text;
            d.DW_Flag4 = reset.DW_Flag4;
            d.DW_Flag88 = reset.DW_Flag88;
        }
    }
    return doc;
}

// The names are the record's own, so a macro spells each one once.
#define FIELD(name) \
    { #name, shown(record.name) }
#define TEXT(name) \
    { #name, textUpToNul(record.name) }

nlohmann::json configJson(const Config& record, int format) {
    // Grouped by the length of their names only so that they line up in columns.
    const nlohmann::json shortNames = {
        FIELD(pin),        FIELD(auxTime),   FIELD(auxByte),   FIELD(ViewMode),  FIELD(comments),
        FIELD(unitType),   FIELD(programs),  FIELD(progName),  TEXT(spareText),  FIELD(pumpName),
        FIELD(FSVersion),  FIELD(relayMode), FIELD(FlushType), FIELD(pumpSpeed), FIELD(accessCode),
        FIELD(pulseCount), TEXT(SerialNoCPU)};
    const nlohmann::json middle = {
        FIELD(pumpEnabled),    FIELD(autofs_time),    FIELD(autofs_mode),    FIELD(resetOption),
        FIELD(optionFlag0),    TEXT(SerialNoUnit),    FIELD(optionFlag1),    TEXT(customerName2),
        TEXT(customerName1),   FIELD(resetDelayOff),  TEXT(unitDescription), FIELD(pumpSpeedRange),
        FIELD(flushValveTime), FIELD(resetDelayTime), FIELD(SafetyStopMode), TEXT(SoftwareVersion),
        FIELD(pumpNamesValid)};
    const nlohmann::json longNames = {FIELD(pumpCalibration), FIELD(resetProgChoice),
                                      FIELD(spareLaundryByte), FIELD(autofs_accept_time),
                                      FIELD(resetDelayLastInput)};
    nlohmann::json config = shortNames;
    config.update(middle);
    config.update(longNames);
    config["legacyConfig"] = hex(record.legacyConfig);
    // Which parts of the record the file's format carried.
    config["firstFormatLoad"] = flag(format == 1);
    const std::pair<const char*, int> parts[] = {{"namesPresent", 3},      {"tenPumpFormat", 4},
                                                 {"doseFormat", 4},        {"flushTypeFormat", 5},
                                                 {"extensionFormat", 6},   {"pulseFixFormat", 7},
                                                 {"descriptionFormat", 8}, {"resetToFormat", 9}};
    for (const auto& [name, from] : parts) {
        config[name] = flag(format >= from);
    }
    return config;
}

nlohmann::json dishwashJson(const Dishwash& record, int format) {
    const nlohmann::json shortNames = {FIELD(DW_Pin),    FIELD(DW_Text),   FIELD(DW_Flag4),
                                       FIELD(DW_IOTime), FIELD(DW_Flag88), FIELD(DW_ICmode),
                                       FIELD(DW_PropTo), FIELD(DW_Byte69), TEXT(DW_SerialNo)};
    const nlohmann::json middle = {
        FIELD(DW_NumPumps),    FIELD(DW_UnitMode),   FIELD(DW_UnitType),    FIELD(DW_IOPercent),
        FIELD(DW_ProbeMode),   FIELD(DW_PumpPulse),  FIELD(DW_PumpSpeed),   FIELD(DW_ICRunTime),
        FIELD(DW_IOCheckbox),  FIELD(DW_IODuration), FIELD(DW_PumpOffTime), FIELD(DW_PropRunning),
        FIELD(DW_PumpRunTime), FIELD(DW_ICDelayTime)};
    const nlohmann::json longNames = {FIELD(DW_ICPulseCount), FIELD(DW_ProbeAlarmOff),
                                      FIELD(DW_ProbeAlarmDelay), FIELD(DW_ProbeInitialDelay),
                                      FIELD(DW_ProbeConcentration)};
    nlohmann::json dishwash = shortNames;
    dishwash.update(middle);
    dishwash.update(longNames);
    dishwash["DW_NamesFormat"] = flag(format >= 3);
    return dishwash;
}

#undef FIELD
#undef TEXT

nlohmann::json showJson(const Document& loaded, int format) {
    return {{"format", formatTag(format)},
            {"config", configJson(loaded.config, format)},
            {"dishwash", dishwashJson(loaded.dishwash, format)}};
}

nlohmann::json expectedShow(const Document& written, int format,
                            const PumpNames& defaultPumpNames) {
    return showJson(expectedAfterLoad(written, format, defaultPumpNames), format);
}

Document distinctDocument() {
    Document doc;
    Config& c = doc.config;

    for (std::size_t i = 0; i < c.legacyConfig.size(); ++i) {
        c.legacyConfig[i] = static_cast<std::uint8_t>(0x21 + i * 7);
    }
    c.legacyConfig[legacy::kPulseCount] = 2;
    setLegacyU16(c.legacyConfig, legacy::kPin1, 1234);
    setLegacyU16(c.legacyConfig, legacy::kPin1 + 2, 2345);
    setLegacyU16(c.legacyConfig, legacy::kPin1 + 4, 3456);
    const auto serial = fixedText<10>("9876543210");
    std::copy(serial.begin(), serial.end(), c.legacyConfig.begin() + legacy::kSerial);

    for (std::size_t p = 0; p < kPrograms; ++p) {
        for (std::size_t t = 0; t < kTriggers; ++t) {
            for (std::size_t k = 0; k < kPumps; ++k) {
                Step& s = c.programs[p][t][k];
                // Coprime strides, so a step read from the wrong place shows a different value.
                s.runTime = {static_cast<std::uint8_t>((p * 31 + t * 7 + k * 3 + 1) % 100),
                             static_cast<std::uint8_t>((p * 13 + t * 11 + k * 5 + 2) % 60), 0};
                s.delayTime = {static_cast<std::uint8_t>((p * 17 + t * 5 + k * 9 + 3) % 100),
                               static_cast<std::uint8_t>((p * 3 + t * 13 + k * 7 + 4) % 60), 0};
                s.dose = static_cast<std::uint32_t>(0x01000000U + p * 10000 + t * 100 + k + 1);
                c.pumpEnabled[p][t][k] = static_cast<std::uint8_t>((p + t + k) % 3 == 0 ? 1 : 0);
            }
            c.pulseCount[p][t] = static_cast<std::uint8_t>(p * 10 + t + 2);
        }
    }
    for (std::size_t k = 0; k < kPumps; ++k) {
        c.pumpSpeed[k] = static_cast<std::uint8_t>(31 + k * 7);
        c.pumpCalibration[k] = static_cast<std::uint32_t>(0x00010000U * k + 1000 + k * 111);
        c.pumpSpeedRange[k] = static_cast<std::uint32_t>(k % 3);
        c.pumpName[k] = "Chem\xE9 " + std::to_string(k + 1);
    }
    for (std::size_t p = 0; p < kPrograms; ++p) {
        c.progName[p] = "Wash \xFC" + std::to_string(p + 1);
    }
    c.spareLaundryByte = 0x6C;
    c.pumpNamesValid = 1;
    c.FlushType = 5;
    c.resetDelayLastInput = 4;
    c.resetDelayOff = 3;
    c.accessCode = 42;
    c.resetDelayTime = {2, 15, 0};
    c.flushValveTime = {1, 5, 0};
    c.auxTime = {3, 33, 0};
    c.auxByte = 0x5A;
    c.unitType = 7;  // an old-numbering code, so formats 1 to 3 show it translated
    c.spareText = fixedText<9>("SPARE-TX");
    c.unitDescription = fixedText<17>("Kitchen line 4");
    // Bytes after the terminator travel with the field but are not part of the text.
    c.customerName1 = fixedText<17>("H\xF4tel S\xFC\x64\0junk"sv);
    c.customerName2 = fixedText<17>("W\xE4scherei Nord");
    c.pin = {1111, 2222, 4321};
    c.relayMode = 0x00010001;
    c.ViewMode = 0;
    c.optionFlag1 = 0;
    c.optionFlag0 = 2;
    c.SafetyStopMode = 2;
    c.autofs_mode = 1;
    c.autofs_time = {1, 45, 0};
    c.autofs_accept_time = 9;
    c.resetOption = 7;
    c.resetProgChoice = 12;
    c.FSVersion = 3;
    c.comments = "\xA9 Service notes\r\nsecond line";

    Dishwash& d = doc.dishwash;
    d.DW_Flag4 = 0x44;
    d.DW_Text = "Sp\xFClmaschine";
    d.DW_UnitType = 8;  // old files keep the dishwash type as stored
    d.DW_SerialNo = fixedText<9>("12345678");
    d.DW_Pin = {1212, 3434, 5656};
    d.DW_UnitMode = 3;
    d.DW_NumPumps = 3;
    d.DW_IOCheckbox = 1;
    d.DW_ICmode = 4;
    d.DW_ICRunTime = {1, 10, 0};
    d.DW_ICDelayTime = {2, 20, 0};
    d.DW_ICPulseCount = 5;
    d.DW_ProbeMode = 2;
    d.DW_ProbeInitialDelay = {4, 40, 0};
    d.DW_ProbeConcentration = 150;
    d.DW_ProbeAlarmDelay = {6, 6, 0};
    d.DW_ProbeAlarmOff = 1;
    d.DW_PumpSpeed = {55, 66, 77};
    d.DW_PumpRunTime = {{{0, 11, 0}, {0, 12, 0}, {0, 13, 0}}};
    d.DW_PumpOffTime = {{{1, 21, 0}, {1, 22, 0}, {1, 23, 0}}};
    d.DW_PumpPulse = {2, 3, 4};
    d.DW_Byte69 = 0x45;
    d.DW_IOPercent = {10, 20, 30, 40};
    for (std::size_t i = 0; i < 4; ++i) {
        d.DW_IOTime[i] = {static_cast<std::uint8_t>(30 + i), 0, static_cast<std::uint8_t>(10 + i)};
        d.DW_IODuration[i] = {static_cast<std::uint8_t>(50 + i), 0,
                              static_cast<std::uint8_t>(20 + i)};
    }
    d.DW_Flag88 = 0x88;
    doc.viewNumber = 2;
    // Junk in the unused tail of the extension block: a loader that reads items a format
    // lacks picks these up.
    doc.extensionFiller = 0xA5;
    return doc;
}

std::string latin1ToUtf8(std::string_view latin1) {
    std::string out;
    for (const char ch : latin1) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80) {
            out.push_back(ch);
        } else {
            out.push_back(static_cast<char>(0xC0U | (b >> 6U)));
            out.push_back(static_cast<char>(0x80U | (b & 0x3FU)));
        }
    }
    return out;
}

std::string saveDocument(const Document& doc, const std::string& name, int format) {
    const auto path = testDir() / name;
    writeFile(path, writeDocument(doc, format));
    return path.string();
}

void writeCatalogue(std::initializer_list<std::pair<std::string, PumpNames>> sections) {
    std::string text = "[System Settings]\nNoOfChemicals=0\n";
    for (const auto& [section, names] : sections) {
        text += "[" + section + "]\n";
        for (std::size_t p = 0; p < names.size(); ++p) {
            text += (p < 9 ? "P0" : "P") + std::to_string(p + 1) + "=" + names[p] + "\n";
        }
    }
    std::filesystem::create_directories(configHome() / "Halvercott");
    writeFile(configHome() / "Halvercott" / "qelto.ini", text);
}

}  // namespace qelto::test::doc
