// Runs a piece of work on a thread of its own whose stack is only `bytes` long, as the host's
// UI thread may be (1 MiB on Windows). A stack overflow in the work crashes the test binary.
#pragma once

#include <cstddef>
#include <functional>

#if defined(_WIN32)
#include <windows.h>
#else
#include <pthread.h>
#endif

namespace ostrel::test {

namespace detail {
#if defined(_WIN32)
inline DWORD WINAPI runWork(LPVOID work) {
  (*static_cast<const std::function<void()>*>(work))();
  return 0;
}
#else
inline void* runWork(void* work) {
  (*static_cast<const std::function<void()>*>(work))();
  return nullptr;
}
#endif
}  // namespace detail

// False when the thread could not be started; the work has then not run.
inline bool runOnStack(std::size_t bytes, const std::function<void()>& work) {
  void* argument = const_cast<std::function<void()>*>(&work);
#if defined(_WIN32)
  HANDLE thread = CreateThread(nullptr, bytes, &detail::runWork, argument,
                               STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  if (thread == nullptr) return false;
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  return true;
#else
  pthread_attr_t attributes;
  if (pthread_attr_init(&attributes) != 0) return false;
  const bool sized = pthread_attr_setstacksize(&attributes, bytes) == 0;
  pthread_t thread;
  const bool started =
      sized && pthread_create(&thread, &attributes, &detail::runWork, argument) == 0;
  pthread_attr_destroy(&attributes);
  if (!started) return false;
  return pthread_join(thread, nullptr) == 0;
#endif
}

}  // namespace ostrel::test
