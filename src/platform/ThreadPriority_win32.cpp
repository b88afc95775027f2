#include "platform/ThreadPriority.h"

#include <windows.h>

namespace tarwick {

void LowerCurrentThreadPriority() {
    ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
}

} // namespace tarwick
