// The fiber-local storage slot behind PerThread on Windows.
#include "PerThread.h"

#if defined(_WIN32)

#include <windows.h>

// Whether the process is exiting, as opposed to this module being unloaded.
extern "C" __declspec(dllimport) BOOLEAN NTAPI RtlDllShutdownInProgress(void);

namespace quarn::platform {

ThreadSlot::ThreadSlot(Cleanup cleanup) noexcept : index(FlsAlloc(cleanup)) {}

ThreadSlot::~ThreadSlot() {
  if (index != FLS_OUT_OF_INDEXES && !RtlDllShutdownInProgress()) FlsFree(index);
}

void* ThreadSlot::Get() const noexcept {
  return index != FLS_OUT_OF_INDEXES ? FlsGetValue(index) : nullptr;
}

bool ThreadSlot::Set(void* value) noexcept {
  return index != FLS_OUT_OF_INDEXES && FlsSetValue(index, value) != 0;
}

}  // namespace quarn::platform

#endif
