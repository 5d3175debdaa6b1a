// The numbers of the catalog texts the batch dialogs and commands show.
#pragma once

namespace qelto::app::text {
inline constexpr int kLogInCaption = 4300;
inline constexpr int kLogInUserName = 4301;
inline constexpr int kSetupCaption = 4302;
inline constexpr int kSetupSalesOrder = 4303;
inline constexpr int kSetupBatchSize = 4304;
inline constexpr int kSetupBatchCounter = 4305;
inline constexpr int kSetupLogDirectory = 4306;
inline constexpr int kSetupLoggedIn = 4307;
inline constexpr int kSetupNewBatch = 4308;
inline constexpr int kSetupJobFile = 4309;
inline constexpr int kPasswordCaption = 4310;
inline constexpr int kPasswordLabel = 4311;
inline constexpr int kBatchWriteNext = 4312;
inline constexpr int kBatchNotSetUp = 4313;
inline constexpr int kBatchComplete = 4314;
inline constexpr int kBatchWriting = 4315;
inline constexpr int kBatchUnitWritten = 4316;
inline constexpr int kBatchNowComplete = 4317;
inline constexpr int kBatchUnitNotCounted = 4318;
inline constexpr int kBatchNothingWritten = 4319;
inline constexpr int kBatchNotRecorded = 4320;
inline constexpr int kBatchJobFileUnusable = 4321;
inline constexpr int kBatchNoUnitCommands = 4322;
inline constexpr int kBatchCounterResetArmed = 4323;
inline constexpr int kBatchJobNameUnusable = 4327;
inline constexpr int kBatchUnitCountedBefore = 4328;
}  // namespace qelto::app::text
