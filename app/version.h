#pragma once
#include <string>

namespace version {

inline constexpr int kMajor = 1;
inline constexpr int kMinor = 1;
inline constexpr int kRevision = 3;

// "1.1.3 W", shown on the main window.
std::string versionText();
// "113W", the release tag at the end of the APRS data line.
std::string versionTag();

} // namespace version
