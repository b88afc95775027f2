#include "platform/ThreadPriority.h"

#include <windows.h>

namespace tarwick {

void lowerCurrentThreadPriority() {
    ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
}

} // namespace tarwick
