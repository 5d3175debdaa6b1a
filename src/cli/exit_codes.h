// Exit statuses of qeltoctl; scripts rely on them, so they never change meaning.
#pragma once

namespace qelto::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // a file, unit or operation failed; verify, diff: differs
inline constexpr int kExitUsage = 2;    // the command line was wrong
// verify, diff: nothing could be compared (the unit was not reached or stopped answering, a file
// could not be read), or the comparison could not be written out.
inline constexpr int kExitNotCompared = 3;
// history show, history diff: no entry of the history has that number.
inline constexpr int kExitNoSuchEntry = 4;
// history show --out, history diff: the entry keeps no configuration (a clock or calibration
// operation, or one that failed before the unit's settings were read or written).
inline constexpr int kExitNoSnapshot = 5;
// 128 + N: a signal N stopped the command (129 hang-up, 130 Ctrl-C, 141 closed output, 143
// SIGTERM); a unit it was working on has been locked again, and a pump it ran stopped.
inline constexpr int kExitSignalBase = 128;

}  // namespace qelto::cli
