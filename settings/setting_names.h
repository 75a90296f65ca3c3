#pragma once

#include <string_view>

namespace horatta {

// Where the clock keeps its settings: a key below the machine's software key on Windows, a
// folder and file of the same names in the user's configuration folder on Linux.
inline constexpr std::string_view settingsVendor = "qom";
inline constexpr std::string_view settingsProduct = "time";
inline constexpr std::string_view settingsPath = "Software\\qom\\time";
static_assert(settingsPath.substr(9, 3) == settingsVendor && settingsPath.substr(13) == settingsProduct);

// The stored values. Names are compared without regard to case: the shutdown apply writes
// two of them in capitals, and they are the same values as the lower-case ones.
namespace setting {
inline constexpr std::string_view windowTop = "ta";
inline constexpr std::string_view windowLeft = "tb";
inline constexpr std::string_view shutdownTime = "time";
inline constexpr std::string_view shutdownTimeApplied = "TIME";
inline constexpr std::string_view colorIndex = "time2";
inline constexpr std::string_view colorIndexApplied = "TIME2";
inline constexpr std::string_view skinIndex = "time3";
inline constexpr std::string_view faceShowedTime = "t";
inline constexpr std::string_view scrollMode = "t9";
inline constexpr std::string_view memo = "text";
}  // namespace setting

}  // namespace horatta
