#include "model/config_diff.h"

#include <fmt/format.h>

#include <array>

#include "platform/text_encoding.h"

namespace qelto::model {
namespace {

enum class Scope { Unit, Pin, LegacyByte, Pump, Program, Trigger, Step };

// A position in the record, counted from 0.
struct Where {
    std::size_t program = 0;
    std::size_t trigger = 0;
    std::size_t pump = 0;
    std::size_t pin = 0;
    std::size_t offset = 0;
};

// Two values differ exactly when their readable forms do, so each field needs only a renderer,
// and every renderer must keep distinct values distinct.
using Render = std::string (*)(const CProgData&, const Where&);

struct Rule {
    const char* name;
    Scope scope;
    bool isText;
    Render render;
};

std::string number(std::uint32_t value) {
    return std::to_string(value);
}

std::string time(const MinSec& t) {
    return fmt::format("{}:{:02}", t.minutes, t.seconds);
}

template <std::size_t N>
std::string text(const FixedText<N>& field) {
    return platform::latin1ToUtf8(textOf(field));
}

std::string text(const std::string& latin1) {
    return platform::latin1ToUtf8(latin1);
}

template <auto Member>
std::string unitNumber(const CProgData& c, const Where&) {
    return number(c.*Member);
}

template <auto Member>
std::string unitTime(const CProgData& c, const Where&) {
    return time(c.*Member);
}

template <auto Member>
std::string unitText(const CProgData& c, const Where&) {
    return text(c.*Member);
}

template <auto Member>
std::string pumpNumber(const CProgData& c, const Where& w) {
    return number((c.*Member)[w.pump]);
}

std::string pinValue(const CProgData& c, const Where& w) {
    return fmt::format("{:04}", c.pin[w.pin]);
}

std::string legacyByte(const CProgData& c, const Where& w) {
    return fmt::format("0x{:02x}", c.legacyConfig[w.offset]);
}

std::string pumpName(const CProgData& c, const Where& w) {
    return text(c.pumpName[w.pump]);
}

std::string progName(const CProgData& c, const Where& w) {
    return text(c.progName[w.program]);
}

std::string pulseCount(const CProgData& c, const Where& w) {
    return number(c.pulseCount[w.program][w.trigger]);
}

std::string pumpEnabled(const CProgData& c, const Where& w) {
    const std::uint8_t flag = c.pumpEnabled[w.program][w.trigger][w.pump];
    // Only 0 and 1 are ever written; anything else shows as itself rather than hiding as "on".
    return flag == 0 ? "off" : flag == 1 ? "on" : number(flag);
}

const PumpStep& step(const CProgData& c, const Where& w) {
    return c.programs[w.program][w.trigger][w.pump];
}

std::string runTime(const CProgData& c, const Where& w) {
    return time(step(c, w).runTime);
}

std::string delayTime(const CProgData& c, const Where& w) {
    return time(step(c, w).delayTime);
}

std::string dose(const CProgData& c, const Where& w) {
    return number(step(c, w).dose);
}

using C = CProgData;

// Within each scope, the record's own order.
constexpr std::array kRules = {
    Rule{"spareLaundryByte", Scope::Unit, false, unitNumber<&C::spareLaundryByte>},
    Rule{"FlushType", Scope::Unit, false, unitNumber<&C::FlushType>},
    Rule{"resetDelayLastInput", Scope::Unit, false, unitNumber<&C::resetDelayLastInput>},
    Rule{"resetDelayOff", Scope::Unit, false, unitNumber<&C::resetDelayOff>},
    Rule{"accessCode", Scope::Unit, false, unitNumber<&C::accessCode>},
    Rule{"resetDelayTime", Scope::Unit, false, unitTime<&C::resetDelayTime>},
    Rule{"flushValveTime", Scope::Unit, false, unitTime<&C::flushValveTime>},
    Rule{"auxTime", Scope::Unit, false, unitTime<&C::auxTime>},
    Rule{"auxByte", Scope::Unit, false, unitNumber<&C::auxByte>},
    Rule{"unitType", Scope::Unit, false, unitNumber<&C::unitType>},
    Rule{"spareText", Scope::Unit, true, unitText<&C::spareText>},
    Rule{"SerialNoUnit", Scope::Unit, true, unitText<&C::SerialNoUnit>},
    Rule{"SerialNoCPU", Scope::Unit, true, unitText<&C::SerialNoCPU>},
    Rule{"SoftwareVersion", Scope::Unit, true, unitText<&C::SoftwareVersion>},
    Rule{"unitDescription", Scope::Unit, true, unitText<&C::unitDescription>},
    Rule{"customerName1", Scope::Unit, true, unitText<&C::customerName1>},
    Rule{"customerName2", Scope::Unit, true, unitText<&C::customerName2>},
    Rule{"relayMode", Scope::Unit, false, unitNumber<&C::relayMode>},
    Rule{"ViewMode", Scope::Unit, false, unitNumber<&C::ViewMode>},
    Rule{"optionFlag1", Scope::Unit, false, unitNumber<&C::optionFlag1>},
    Rule{"optionFlag0", Scope::Unit, false, unitNumber<&C::optionFlag0>},
    Rule{"SafetyStopMode", Scope::Unit, false, unitNumber<&C::SafetyStopMode>},
    Rule{"autofs_mode", Scope::Unit, false, unitNumber<&C::autofs_mode>},
    Rule{"autofs_time", Scope::Unit, false, unitTime<&C::autofs_time>},
    Rule{"autofs_accept_time", Scope::Unit, false, unitNumber<&C::autofs_accept_time>},
    Rule{"resetOption", Scope::Unit, false, unitNumber<&C::resetOption>},
    Rule{"resetProgChoice", Scope::Unit, false, unitNumber<&C::resetProgChoice>},
    Rule{"FSVersion", Scope::Unit, false, unitNumber<&C::FSVersion>},
    Rule{"comments", Scope::Unit, true, unitText<&C::comments>},
    Rule{"pin", Scope::Pin, false, pinValue},
    // Legacy laundry units are edited through this image directly, so its bytes count too.
    Rule{"legacyConfig", Scope::LegacyByte, false, legacyByte},
    Rule{"pumpSpeed", Scope::Pump, false, pumpNumber<&C::pumpSpeed>},
    Rule{"pumpSpeedRange", Scope::Pump, false, pumpNumber<&C::pumpSpeedRange>},
    Rule{"pumpCalibration", Scope::Pump, false, pumpNumber<&C::pumpCalibration>},
    Rule{"pumpName", Scope::Pump, true, pumpName},
    Rule{"progName", Scope::Program, true, progName},
    Rule{"pulseCount", Scope::Trigger, false, pulseCount},
    Rule{"pumpEnabled", Scope::Step, false, pumpEnabled},
    Rule{"runTime", Scope::Step, false, runTime},
    Rule{"delayTime", Scope::Step, false, delayTime},
    Rule{"dose", Scope::Step, false, dose},
};

class Comparison {
  public:
    Comparison(const CProgData& a, const CProgData& b) : a_(a), b_(b) {}

    void visit(Scope scope, const Where& w) {
        for (const Rule& rule : kRules) {
            if (rule.scope != scope) {
                continue;
            }
            std::string va = rule.render(a_, w);
            std::string vb = rule.render(b_, w);
            if (va != vb) {
                out_.push_back(difference(rule, w, std::move(va), std::move(vb)));
            }
        }
    }

    std::vector<ConfigDifference> take() { return std::move(out_); }

  private:
    static ConfigDifference difference(const Rule& rule, const Where& w, std::string va,
                                       std::string vb) {
        ConfigDifference d;
        d.field = rule.name;
        const auto s = rule.scope;
        const auto person = [](std::size_t index) { return static_cast<unsigned>(index + 1); };
        if (s == Scope::Program || s == Scope::Trigger || s == Scope::Step) {
            d.program = person(w.program);
        }
        if (s == Scope::Trigger || s == Scope::Step) {
            d.trigger = person(w.trigger);
        }
        if (s == Scope::Pump || s == Scope::Step) {
            d.pump = person(w.pump);
        }
        if (s == Scope::Pin) {
            d.pin = person(w.pin);
        }
        if (s == Scope::LegacyByte) {
            d.offset = w.offset;
        }
        d.isText = rule.isText;
        d.a = std::move(va);
        d.b = std::move(vb);
        return d;
    }

    const CProgData& a_;
    const CProgData& b_;
    std::vector<ConfigDifference> out_;
};

}  // namespace

std::vector<ConfigDifference> diffConfigs(const CProgData& a, const CProgData& b) {
    Comparison cmp(a, b);
    cmp.visit(Scope::Unit, {});
    for (std::size_t i = 0; i < a.pin.size(); ++i) {
        cmp.visit(Scope::Pin, {.pin = i});
    }
    for (std::size_t i = 0; i < a.legacyConfig.size(); ++i) {
        cmp.visit(Scope::LegacyByte, {.offset = i});
    }
    for (std::size_t k = 0; k < kPumps; ++k) {
        cmp.visit(Scope::Pump, {.pump = k});
    }
    for (std::size_t p = 0; p < kPrograms; ++p) {
        cmp.visit(Scope::Program, {.program = p});
        for (std::size_t t = 0; t < kTriggers; ++t) {
            cmp.visit(Scope::Trigger, {.program = p, .trigger = t});
            for (std::size_t k = 0; k < kPumps; ++k) {
                cmp.visit(Scope::Step, {.program = p, .trigger = t, .pump = k});
            }
        }
    }
    return cmp.take();
}

std::optional<ConfigDifference> diffUnitFamily(const CQeltoDoc& a, const CQeltoDoc& b) {
    const auto family = [](const CQeltoDoc& doc) {
        return isDishwashView(doc.viewToShow()) ? "dishwash" : "laundry";
    };
    ConfigDifference d;
    d.field = "unitFamily";
    d.a = family(a);
    d.b = family(b);
    if (d.a == d.b) {
        return std::nullopt;
    }
    return d;
}

std::string fieldPath(const ConfigDifference& d) {
    std::string path;
    if (d.program) {
        path += fmt::format("programs[{}].", *d.program);
    }
    if (d.trigger) {
        path += fmt::format("triggers[{}].", *d.trigger);
    }
    if (d.pump) {
        path += fmt::format("pumps[{}].", *d.pump);
    }
    path += d.field;
    if (d.pin) {
        path += fmt::format("[{}]", *d.pin);
    }
    if (d.offset) {
        path += fmt::format("@{}", *d.offset);
    }
    return path;
}

}  // namespace qelto::model
