// A build without a display server to ask: no lock-key indicators.
#include "shell/LockKeys.h"

namespace veltrane::shell {

LockKeyReader displayLockKeys() {
    return {};
}

}  // namespace veltrane::shell
