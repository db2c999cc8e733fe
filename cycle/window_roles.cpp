// The widest captions, as a tick writes them.
#include "cycle/window_roles.h"

namespace cycle {

std::string widestCaption(Role role) {
    const RoleInfo &info = roleInfo(role);
    return std::string(info.prefix) + (info.widest ? info.widest : "") + info.unit;
}

} // namespace cycle
