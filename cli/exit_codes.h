// prcfg's exit codes, which scripts and tests rely on.
#pragma once

namespace prcfg {

inline constexpr int kExitDone = 0;
inline constexpr int kExitFailure = 1;     // library not loaded, profile refused, ...
inline constexpr int kExitUsage = 2;       // bad command line
inline constexpr int kExitNotDefined = 3;  // the library lacks the export
inline constexpr int kExitOverrun = 4;     // an export wrote past a caller's buffer

}  // namespace prcfg
