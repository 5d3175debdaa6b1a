#include "scripted_unit.h"

namespace qelto::legacy::test {

using platform::IoStatus;

ScriptedUnit& ScriptedUnit::expect(const Bytes& bytes) {
    if (!bytes.empty()) {
        steps_.push_back({Kind::Expect, {bytes.begin(), bytes.end()}});
    }
    return *this;
}

ScriptedUnit& ScriptedUnit::reply(const Bytes& bytes) {
    if (!bytes.empty()) {
        steps_.push_back({Kind::Reply, {bytes.begin(), bytes.end()}});
    }
    return *this;
}

ScriptedUnit& ScriptedUnit::silence() {
    steps_.push_back({Kind::Silence, {}});
    return *this;
}

ScriptedUnit& ScriptedUnit::brokenRead() {
    steps_.push_back({Kind::BrokenRead, {}});
    return *this;
}

ScriptedUnit& ScriptedUnit::stuckWrite() {
    steps_.push_back({Kind::StuckWrite, {}});
    return *this;
}

IoStatus ScriptedUnit::write(std::span<const std::uint8_t> bytes) {
    for (const std::uint8_t byte : bytes) {
        if (steps_.empty()) {
            ADD_FAILURE() << "wrote 0x" << std::hex << int{byte} << " after the script ended";
            return IoStatus::Failed;
        }
        Step& step = steps_.front();
        if (step.kind == Kind::StuckWrite) {
            steps_.pop_front();
            return IoStatus::TimedOut;
        }
        if (step.kind != Kind::Expect) {
            ADD_FAILURE() << "wrote 0x" << std::hex << int{byte}
                          << " while the unit's answer was still unread";
            return IoStatus::Failed;
        }
        if (step.bytes.front() != byte) {
            ADD_FAILURE() << "wrote 0x" << std::hex << int{byte} << " where the unit expected 0x"
                          << int{step.bytes.front()} << " (after " << std::dec << written.size()
                          << " bytes)";
            return IoStatus::Failed;
        }
        written.push_back(byte);
        step.bytes.pop_front();
        if (step.bytes.empty()) {
            steps_.pop_front();
        }
    }
    return IoStatus::Ok;
}

IoStatus ScriptedUnit::read(std::span<std::uint8_t> out, std::size_t* received) {
    std::size_t count = 0;
    IoStatus status = IoStatus::Ok;
    while (count < out.size()) {
        if (steps_.empty()) {
            ADD_FAILURE() << "read after the script ended";
            status = IoStatus::TimedOut;
            break;
        }
        Step& step = steps_.front();
        if (step.kind == Kind::Silence || step.kind == Kind::BrokenRead) {
            status = step.kind == Kind::Silence ? IoStatus::TimedOut : IoStatus::Failed;
            steps_.pop_front();
            break;
        }
        if (step.kind != Kind::Reply) {
            ADD_FAILURE() << "read while the unit still waited for bytes from the program";
            status = IoStatus::TimedOut;
            break;
        }
        out[count++] = step.bytes.front();
        step.bytes.pop_front();
        if (step.bytes.empty()) {
            steps_.pop_front();
        }
    }
    if (received != nullptr) {
        *received = count;
    }
    return status;
}

}  // namespace qelto::legacy::test
