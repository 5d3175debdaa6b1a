#include "legacy/legacy_link.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "legacy/command_frame.h"
#include "link_fixture.h"

namespace qelto::legacy::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// --- opening the port

TEST_F(LegacyLinkTest, APortThatWillNotOpenGives1AndKeepsTheReason) {
    refusal = "cannot open /dev/ttyLEGACY: permission denied";
    EXPECT_FALSE(link.OpenPort("/dev/ttyLEGACY", kLegacyBaud));
    EXPECT_EQ(link.SignOn(), LegacyResult::PortUnavailable);
    EXPECT_EQ(link.SendCmd(kCmdReportSettings), LegacyResult::PortUnavailable);
    EXPECT_EQ(link.SendCommand(kCmdReadConfig, 1234), LegacyResult::PortUnavailable);
    EXPECT_EQ(link.openError(), refusal);
    EXPECT_FALSE(link.isOpen());
}

TEST_F(LegacyLinkTest, OpeningAnOpenPortPurgesItInsteadOfReopening) {
    ASSERT_TRUE(link.OpenPort("/dev/ttyLEGACY", kLegacyBaud));
    const int purgesAfterOpen = unit.purges;
    EXPECT_TRUE(link.OpenPort("/dev/ttyOTHER", 57600));
    EXPECT_EQ(opens.size(), 1U);
    EXPECT_EQ(unit.purges, purgesAfterOpen + 1);
    EXPECT_EQ(link.openPortName(), "/dev/ttyLEGACY");
}

TEST_F(LegacyLinkTest, SignOnOpensTheSettingsPortAt9600Baud) {
    unit.expect(kSignOnFrame).reply({0x00});
    EXPECT_EQ(link.SignOn(), LegacyResult::Failed);
    ASSERT_EQ(opens.size(), 1U);
    EXPECT_EQ(opens[0].name, "/dev/ttyLEGACY");
    EXPECT_EQ(opens[0].baud, 9600U);
}

// --- sign-on

TEST_F(LegacyLinkTest, AnInformedUnitReportsItsTranslatedTypeAndVersion) {
    scriptInformedSignOn(7, {'1', '1', '0'});
    EXPECT_EQ(link.SignOn(), LegacyResult::Ok);
    EXPECT_THAT(unit.written, ElementsAre(0xC8, 0xE8, 0x01, 0xC0, 0x8F, 0xE8));
    EXPECT_THAT(link.deviceInfo(), ElementsAre(4, 11, '1', '1', '0'));
    EXPECT_EQ(link.reportedUnitType(), 11);
    EXPECT_EQ(versionText(link.deviceInfo()), "1.10");
    EXPECT_THAT(pauses, IsEmpty());
}

TEST_F(LegacyLinkTest, AUnitSilentAfterTheAcknowledgeIsALegacyUnitAfterAPause) {
    unit.expect(kSignOnFrame).reply({0xE9}).expect({0xE8}).silence();
    EXPECT_EQ(link.SignOn(), LegacyResult::Ok);
    EXPECT_THAT(link.deviceInfo(), ElementsAre(1, 0xFF, 0, 0, 0));
    EXPECT_THAT(pauses, ElementsAre(1000ms));
    EXPECT_FALSE(link.reportedUnitType().has_value());
}

TEST_F(LegacyLinkTest, AWrongAcknowledgeFailsSignOnAndClearsEarlierInformation) {
    scriptInformedSignOn(2, {'1', '0', '5'});
    ASSERT_EQ(link.SignOn(), LegacyResult::Ok);
    unit.expect(kSignOnFrame).reply({0xE8});
    EXPECT_EQ(link.SignOn(), LegacyResult::Failed);
    EXPECT_THAT(link.deviceInfo(), ElementsAre(0, 0, 0, 0, 0));
    EXPECT_FALSE(deviceInfoValid(link.deviceInfo()));
}

TEST_F(LegacyLinkTest, AVersionCutShortFailsSignOn) {
    unit.expect(kSignOnFrame).reply({0xE9}).expect({0xE8}).reply({3, '1'}).silence();
    EXPECT_EQ(link.SignOn(), LegacyResult::Failed);
    EXPECT_FALSE(deviceInfoValid(link.deviceInfo()));
    EXPECT_THAT(pauses, IsEmpty());
}

TEST_F(LegacyLinkTest, ABrokenPortIsNotMistakenForASilentUnit) {
    unit.expect(kSignOnFrame).reply({0xE9}).expect({0xE8}).brokenRead();
    EXPECT_EQ(link.SignOn(), LegacyResult::Failed);
    EXPECT_FALSE(deviceInfoValid(link.deviceInfo()));
}

TEST_F(LegacyLinkTest, SignOnPurgesBeforeSending) {
    ASSERT_TRUE(link.OpenPort("/dev/ttyLEGACY", kLegacyBaud));
    const int purgesBefore = unit.purges;
    unit.expect(kSignOnFrame).reply({0x00});
    link.SignOn();
    // One for opening the open port, one for the sign-on itself.
    EXPECT_EQ(unit.purges, purgesBefore + 2);
}

TEST(LegacyLinkByteWait, EveryByteWaitsThreeSecondsUnlessTold) {
    ScriptedUnit unit;
    LegacyLink link([&unit](const std::string&, unsigned,
                            std::string*) { return std::make_unique<ScriptedPort>(unit); },
                    kByteWait, [](std::chrono::milliseconds) {});
    unit.expect(kSignOnFrame).reply({0xE9}).expect({0xE8}).silence();
    ASSERT_EQ(link.SignOn(), LegacyResult::Ok);
    EXPECT_THAT(unit.readWaits, ::testing::Each(std::chrono::milliseconds(3000)));
    EXPECT_THAT(unit.writeWaits, ::testing::Each(std::chrono::milliseconds(3000)));
    EXPECT_TRUE(unit.finished());
}

// --- commands

TEST_F(LegacyLinkTest, SendCmdSignsOnThenSendsTheFrameAndRepeatsTheCode) {
    unit.expect(kSignOnFrame).reply({0xE9}).expect({0xE8}).silence();
    unit.expect(kReportSettingsFrame).reply({0x7B}).expect({0x7A});
    EXPECT_EQ(link.SendCmd(kCmdReportSettings), LegacyResult::Ok);
}

TEST_F(LegacyLinkTest, SendCmdGoesOnAfterAFailedSignOn) {
    unit.expect(kSignOnFrame).reply({0x00});
    unit.expect(kReportSettingsFrame).reply({0x7B}).expect({0x7A});
    EXPECT_EQ(link.SendCmd(kCmdReportSettings), LegacyResult::Ok);
}

TEST_F(LegacyLinkTest, SendCmdFailsOnAWrongOrMissingAcknowledge) {
    scriptInformedSignOn(3, {'1', '1', '0'});
    unit.expect(kReportSettingsFrame).reply({0x7A});
    EXPECT_EQ(link.SendCmd(kCmdReportSettings), LegacyResult::Failed);

    scriptInformedSignOn(3, {'1', '1', '0'});
    unit.expect(kReportSettingsFrame).silence();
    EXPECT_EQ(link.SendCmd(kCmdReportSettings), LegacyResult::Failed);
}

TEST_F(LegacyLinkTest, APasswordOfMinusOneGoesOutAsFFFF) {
    scriptInformedSignOn(3, {'1', '1', '0'});
    unit.expect(kReadConfigFrame).reply({0xD4}).expect({0xD3, 0xFF, 0xFF}).reply({0x01});
    EXPECT_EQ(link.SendCommand(kCmdReadConfig, -1), LegacyResult::Ok);
}

TEST_F(LegacyLinkTest, APasswordOf1234GoesOutAs04D2) {
    scriptInformedSignOn(3, {'1', '1', '0'});
    unit.expect(kReadConfigFrame).reply({0xD4}).expect({0xD3, 0x04, 0xD2}).reply({0xAA});
    EXPECT_EQ(link.SendCommand(kCmdReadConfig, 1234), LegacyResult::Ok);
}

TEST_F(LegacyLinkTest, AZeroAnswerToThePasswordMeansRefused) {
    scriptInformedSignOn(3, {'1', '1', '0'});
    unit.expect(kReadConfigFrame).reply({0xD4}).expect({0xD3, 0x04, 0xD2}).reply({0x00});
    EXPECT_EQ(link.SendCommand(kCmdReadConfig, 1234), LegacyResult::PasswordRefused);
}

TEST_F(LegacyLinkTest, NoAnswerToThePasswordIsAFailureNotARefusal) {
    scriptInformedSignOn(3, {'1', '1', '0'});
    unit.expect(kReadConfigFrame).reply({0xD4}).expect({0xD3, 0x04, 0xD2}).silence();
    EXPECT_EQ(link.SendCommand(kCmdReadConfig, 1234), LegacyResult::Failed);
}

TEST_F(LegacyLinkTest, APasswordCommandWantsTheAcknowledgeOfTheOddCode) {
    scriptInformedSignOn(3, {'1', '1', '0'});
    unit.expect(kReadConfigFrame).reply({0xD3});
    EXPECT_EQ(link.SendCommand(kCmdReadConfig, 1234), LegacyResult::Failed);
}

}  // namespace
}  // namespace qelto::legacy::test
