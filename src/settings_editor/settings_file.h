#pragma once

#include "settings_editor/Context.h"

namespace pendra::settings_editor {

// The start form's load step: creates the working folder's Pendra.ini empty when there is
// none and leaves an existing one untouched. Failures are shown; the program goes on.
void createMissingSettingsFile(const Context& context);

}  // namespace pendra::settings_editor
