// The legacy link against a scripted unit, for what the simulated older unit (tests/integration)
// never does: wrong acknowledges, a version cut short, a broken port, a missing verdict.
#include "legacy/legacy_link.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "legacy/command_frame.h"
#include "link_fixture.h"

namespace qelto::legacy::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST_F(LegacyLinkTest, APortThatWillNotOpenFailsEveryCommandAndKeepsTheReason) {
    refusal = "cannot open /dev/ttyLEGACY: permission denied";
    EXPECT_FALSE(link.OpenPort("/dev/ttyLEGACY", kLegacyBaud));
    EXPECT_EQ(link.SignOn(), LegacyResult::PortUnavailable);
    EXPECT_EQ(link.SendCmd(kCmdReportSettings), LegacyResult::PortUnavailable);
    EXPECT_EQ(link.SendCommand(kCmdReadConfig, 1234), LegacyResult::PortUnavailable);
    EXPECT_EQ(link.openError(), refusal);
    EXPECT_FALSE(link.isOpen());
}

TEST_F(LegacyLinkTest, AnInformedUnitReportsItsTranslatedTypeAndVersion) {
    scriptInformedSignOn(7, {'1', '1', '0'});
    EXPECT_EQ(link.SignOn(), LegacyResult::Ok);
    EXPECT_THAT(unit.written, ElementsAre(0xC8, 0xE8, 0x01, 0xC0, 0x8F, 0xE8));
    EXPECT_THAT(link.deviceInfo(), ElementsAre(4, 11, '1', '1', '0'));
    EXPECT_EQ(link.reportedUnitType(), 11);
    EXPECT_THAT(pauses, IsEmpty());
}

// A wrong acknowledge, a version cut short and a broken port (not a silent older unit) each fail
// the sign-on at once and clear what an earlier one found.
TEST_F(LegacyLinkTest, AFailedSignOnClearsEarlierInformation) {
    for (int fault = 0; fault < 3; ++fault) {
        SCOPED_TRACE(fault);
        scriptInformedSignOn(2, {'1', '0', '5'});
        ASSERT_EQ(link.SignOn(), LegacyResult::Ok);
        unit.expect(kSignOnFrame).reply({static_cast<std::uint8_t>(fault == 0 ? 0xE8 : 0xE9)});
        if (fault == 1) {
            unit.expect({0xE8}).reply({3, '1'}).silence();
        } else if (fault == 2) {
            unit.expect({0xE8}).brokenRead();
        }
        EXPECT_EQ(link.SignOn(), LegacyResult::Failed);
        EXPECT_FALSE(deviceInfoValid(link.deviceInfo()));
        EXPECT_THAT(pauses, IsEmpty());
    }
}

// A command goes on after a failed sign-on, wants the code plus one back and repeats the code.
TEST_F(LegacyLinkTest, SendCmdWantsItsAcknowledgeWhateverTheSignOnSaid) {
    unit.expect(kSignOnFrame).reply({0x00});
    unit.expect(kReportSettingsFrame).reply({0x7B}).expect({0x7A});
    EXPECT_EQ(link.SendCmd(kCmdReportSettings), LegacyResult::Ok);
    scriptInformedSignOn(3, {'1', '1', '0'});
    unit.expect(kReportSettingsFrame).reply({0x7A});
    EXPECT_EQ(link.SendCmd(kCmdReportSettings), LegacyResult::Failed);
    scriptInformedSignOn(3, {'1', '1', '0'});
    unit.expect(kReportSettingsFrame).silence();
    EXPECT_EQ(link.SendCmd(kCmdReportSettings), LegacyResult::Failed);
}

// A password command wants the acknowledge of its odd code; no verdict is a failure, not a
// refusal (a verdict of 0, the refusal, is qeltoctl legacy read's against the simulated unit).
TEST_F(LegacyLinkTest, APasswordCommandFailsOnTheEvenAcknowledgeOrWithoutAVerdict) {
    scriptInformedSignOn(3, {'1', '1', '0'});
    unit.expect(kReadConfigFrame).reply({0xD3});
    EXPECT_EQ(link.SendCommand(kCmdReadConfig, 1234), LegacyResult::Failed);
    scriptInformedSignOn(3, {'1', '1', '0'});
    unit.expect(kReadConfigFrame).reply({0xD4}).expect({0xD3, 0x04, 0xD2}).silence();
    EXPECT_EQ(link.SendCommand(kCmdReadConfig, 1234), LegacyResult::Failed);
}

}  // namespace
}  // namespace qelto::legacy::test
