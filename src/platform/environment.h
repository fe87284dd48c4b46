#pragma once

namespace pendra::platform {

// Tells running programs that the system environment changed. Programs here read the
// search path when they start, so there is nobody to tell; the call marks where the
// change takes effect.
inline void announceEnvironmentChange() {}

}  // namespace pendra::platform
