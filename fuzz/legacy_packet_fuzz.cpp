// Bytes from an older unit: the sign-on answer (acknowledge, type, version) and the data
// packets that follow. Whatever the unit sends, the link must stay within its buffers, report a
// sign-on state it can stand behind, and never take more bytes than a packet declares.
#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <string>

#include "legacy/device_info.h"
#include "legacy/legacy_link.h"

namespace {

using qelto::platform::IoStatus;

// A unit that says the fuzz input and then falls silent; it takes whatever is written to it.
class ReplayPort final : public qelto::platform::ByteLink {
  public:
    ReplayPort(const std::uint8_t* data, std::size_t size, std::size_t* consumed)
        : data_(data), size_(size), consumed_(consumed) {}

    IoStatus write(std::span<const std::uint8_t>, std::chrono::milliseconds) override {
        return IoStatus::Ok;
    }
    IoStatus read(std::span<std::uint8_t> out, std::chrono::milliseconds,
                  std::size_t* received) override {
        std::size_t count = 0;
        while (count < out.size() && *consumed_ < size_) {
            out[count++] = data_[(*consumed_)++];
        }
        if (received != nullptr) {
            *received = count;
        }
        return count == out.size() ? IoStatus::Ok : IoStatus::TimedOut;
    }
    void purge() override {}
    void cancel() override {}

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t* consumed_;
};

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void checkSignOn(const qelto::legacy::LegacyLink& link, qelto::legacy::LegacyResult result) {
    using qelto::legacy::LegacyResult;
    const qelto::legacy::DeviceInfo& info = link.deviceInfo();
    check(result == LegacyResult::Ok || result == LegacyResult::Failed);
    if (result == LegacyResult::Failed) {
        check(!qelto::legacy::deviceInfoValid(info));
        return;
    }
    if (info[0] == qelto::legacy::kInfoLegacyWithoutInformation) {
        check(info == qelto::legacy::DeviceInfo{1, 0xFF, 0, 0, 0});
        check(!link.reportedUnitType().has_value());
    } else {
        check(info[0] == qelto::legacy::kInfoReceived);
        check(link.reportedUnitType() == info[1]);
    }
    check(qelto::legacy::versionText(info).size() <= 11);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        data = nullptr;
    }
    // The first byte picks whether the packets follow a sign-on, as they do in the field.
    const bool signOnFirst = size > 0 && (data[0] & 1U) != 0;
    std::size_t consumed = size > 0 ? 1 : 0;
    qelto::legacy::LegacyLink link(
        [&](const std::string&, unsigned, std::string*) {
            return std::make_unique<ReplayPort>(data, size, &consumed);
        },
        std::chrono::milliseconds(0), [](std::chrono::milliseconds) {});
    link.setPortName("fuzz");

    if (signOnFirst) {
        checkSignOn(link, link.SignOn());
    } else if (!link.OpenPort("fuzz", qelto::legacy::kLegacyBaud)) {
        std::abort();
    }

    qelto::legacy::LegacyPacket packet;
    for (;;) {
        const std::size_t before = consumed;
        const bool complete = link.GetPacket(packet);
        check(packet.data.size() <= 255);
        if (!complete) {
            check(consumed == size);
            break;
        }
        check(consumed - before == 4 + packet.data.size());
    }
    return 0;
}
