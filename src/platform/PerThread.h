// PerThread.h - one object per thread, destroyed when its thread ends.
//
// PerThread<T>() returns the calling thread's T, default-constructed on first
// use. The object is destroyed when its thread ends, although the library's
// entry point switches the module's thread notifications off, and on Windows
// also when the library is unloaded while its thread still runs, so that no
// clean-up is left to run in unloaded code.
//
// A use after that destruction (from a static destructor, or from a client's
// thread_local destructor that runs after it) gets a fresh T, never the
// destroyed one; that T is left to the end of the thread, or of the process,
// without a destructor: at most one per thread.
//
// Windows: the object comes from the library's allocation path and a
// fiber-local storage slot (ThreadSlot) holds it. The system runs the slot's
// clean-up when a thread ends, without any notification to the module, and
// freeing the slot at unload runs it for every thread's object at once.
// Elsewhere it is a thread_local, which the C++ runtime destroys at thread exit
// and for which it keeps the library loaded until then.
#ifndef QUARNBASE_SRC_PLATFORM_PERTHREAD_H
#define QUARNBASE_SRC_PLATFORM_PERTHREAD_H

#include <new>

#if defined(_WIN32)
#include "Allocation.h"
#endif

namespace quarn::platform {

#if defined(_WIN32)

/// A fiber-local storage slot: one pointer per thread, and a clean-up that
/// the system calls with a thread's non-null value when that thread ends.
class ThreadSlot {
 public:
  /// The clean-up's calling convention is the system's (PFLS_CALLBACK_FUNCTION).
  using Cleanup = void(__stdcall*)(void* value);

  explicit ThreadSlot(Cleanup cleanup) noexcept;
  /// Frees the slot, which cleans up every thread's value (not at process
  /// exit: the other threads have been stopped wherever they were).
  ~ThreadSlot();
  ThreadSlot(const ThreadSlot&) = delete;
  ThreadSlot& operator=(const ThreadSlot&) = delete;

  /// The calling thread's value; null until Set.
  void* Get() const noexcept;
  /// Stores the calling thread's value. Returns false when the system has no
  /// slot or no memory for it.
  bool Set(void* value) noexcept;

 private:
  unsigned long index;
};

template <class T>
struct PerThreadStorage {
  // At thread end the slot is emptied, so that a later use on this thread
  // makes a fresh T instead of reaching the released one (whether the system
  // empties the slot before, after or never). When the unload frees the slot,
  // this runs on the unloading thread for every thread's T and empties only
  // that thread's own.
  static void __stdcall Destroy(void* object) {
    static_cast<T*>(object)->~T();
    quarn::platform::ReleaseBytes(object);
    ThreadSlot& slot = Slot();
    if (slot.Get() == object) slot.Set(nullptr);
  }
  // Made at first use, freed when the library unloads.
  static ThreadSlot& Slot() {
    static ThreadSlot slot(&Destroy);
    return slot;
  }
};

/// The calling thread's T. Throws std::bad_alloc when it cannot be made.
template <class T>
T& PerThread() {
  ThreadSlot& slot = PerThreadStorage<T>::Slot();
  if (void* object = slot.Get()) return *static_cast<T*>(object);
  T* object = ::new (quarn::platform::AllocateBytes(sizeof(T))) T();
  if (!slot.Set(object)) {
    PerThreadStorage<T>::Destroy(object);
    throw std::bad_alloc();
  }
  return *object;
}

#else

/// The calling thread's T.
template <class T>
T& PerThread() {
  // The T lives in raw thread-local bytes, which have no destructor and so
  // stay usable after every thread_local destructor of the thread (and, on
  // the main thread, through the static destructors). A thread_local End
  // destroys it with the thread's other thread_locals; a use after that makes
  // a T again, which nothing destroys.
  enum State : unsigned char { kUnmade, kLive, kEnded };
  alignas(T) thread_local unsigned char storage[sizeof(T)];
  thread_local State state = kUnmade;
  struct End {
    ~End() {
      std::launder(reinterpret_cast<T*>(storage))->~T();
      state = kEnded;
    }
  };
  if (state != kLive) {
    ::new (static_cast<void*>(storage)) T();
    if (state == kUnmade) {
      thread_local End end;  // registers the destruction at the first use only
      static_cast<void>(end);
    }
    state = kLive;
  }
  return *std::launder(reinterpret_cast<T*>(storage));
}

#endif

}  // namespace quarn::platform

#endif  // QUARNBASE_SRC_PLATFORM_PERTHREAD_H
