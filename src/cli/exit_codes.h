// Exit statuses of qeltoctl; scripts rely on them, so they never change meaning.
#pragma once

namespace qelto::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;    // a file, unit or operation failed
inline constexpr int kExitUsage = 2;      // the command line was wrong
inline constexpr int kExitStopped = 130;  // the operator stopped a pump run early (Ctrl-C)

}  // namespace qelto::cli
