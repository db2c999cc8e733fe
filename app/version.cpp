#include "app/version.h"

namespace version {

std::string versionText() {
    return std::to_string(kMajor) + "." + std::to_string(kMinor) + "." + std::to_string(kRevision) + " W";
}

std::string versionTag() {
    return std::to_string(kMajor) + std::to_string(kMinor) + std::to_string(kRevision) + "W";
}

} // namespace version
