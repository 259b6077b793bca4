#pragma once

namespace veltrane::cli {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;
// A test failed the check of its own work: the figures cannot be trusted.
inline constexpr int kExitUntrusted = 3;
// A run or loop stopped by a signal ends with 128 plus its number (130 for
// Ctrl+C, 143 for SIGTERM): platform::StopSignalScope::exitStatus.

}  // namespace veltrane::cli
