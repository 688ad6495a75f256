// The registry keys the main window reads and writes, until the settings unit
// offers them.
#pragma once

namespace KeyPaths {

inline constexpr const char* Options = "\\Software\\Tarnwick\\Quillet\\Options";
inline constexpr const char* Files = "\\Software\\Tarnwick\\Quillet\\Files";

} // namespace KeyPaths
