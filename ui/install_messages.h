#pragma once
// The install run's messages and question as the message dialogs show them.

#include "install/install_progress.h"

namespace pellion {

// One for the process; stateless.
InstallMessages& DialogMessages();

}  // namespace pellion
