#pragma once

// What quorvane-cli returns to the shell. Scripts tell a refused file (fix the
// data) from a wrong call (fix the script) by these.
namespace quorvane::cli {

inline constexpr int kExitSuccess = 0;
// A check, a save step, the extraction or a merge refused, a warning was not
// answered, or an image does not hold the key data.
inline constexpr int kExitRefused = 1;
// Bad usage, or an input that cannot be read at all.
inline constexpr int kExitUsage = 2;

} // namespace quorvane::cli
