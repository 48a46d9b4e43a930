#include "platform/platform_call.h"

#include <cstddef>
#include <memory>
#include <new>

#include "platform/binding_instance.h"

namespace ostrel::platform {
namespace {

void logFailure(s_sc& sc, const char* text) noexcept {
  if (sc.p_AddMessageToLog != nullptr) sc.AddMessageToLog(text, 1);
}

BindingInstance* storedInstance(s_sc& sc) noexcept {
  if (sc.GetPersistentPointer == nullptr) return nullptr;
  return static_cast<BindingInstance*>(sc.GetPersistentPointer(kInstancePointerKey));
}

void storeInstance(s_sc& sc, BindingInstance* instance) noexcept {
  if (sc.SetPersistentPointer != nullptr) {
    sc.SetPersistentPointer(kInstancePointerKey, instance);
  } else if (sc.GetPersistentPointer != nullptr) {
    sc.GetPersistentPointer(kInstancePointerKey) = instance;
  }
}

// The defaults call's instance lives on the stack: the platform asks for the defaults once, so
// that call must not depend on a heap allocation (a study without its inputs is unusable).
static_assert(sizeof(BindingInstance) <= std::size_t{64} * 1024,
              "the defaults call's instance is on the stack");

void runCall(s_sc& sc) {
  // A last call is the last whatever else it claims: the instance's records and drawings go,
  // and its state is freed, even when the defaults flag is set too.
  if (sc.SetDefaults != 0 && sc.LastCallToFunction == 0) {
    BindingInstance once;
    once.run(sc);
    return;
  }
  BindingInstance* instance = storedInstance(sc);
  std::unique_ptr<BindingInstance> owned;
  if (instance == nullptr) {
    owned.reset(new (std::nothrow) BindingInstance);
    if (owned == nullptr) {
      logFailure(sc, "Ostrel: out of memory; the update was skipped.");
      return;
    }
    instance = owned.get();
    // Without a persistent pointer store the instance lives for this call only.
    if (sc.LastCallToFunction == 0 && sc.GetPersistentPointer != nullptr) {
      storeInstance(sc, owned.release());
    }
  }
  instance->run(sc);
  if (sc.LastCallToFunction != 0 && owned == nullptr) {
    storeInstance(sc, nullptr);
    delete instance;
  }
}

}  // namespace

int platformInterfaceVersion() noexcept { return SC_DLL_VERSION; }

void runPlatformCall(s_sc& sc) noexcept {
  try {
    runCall(sc);
  } catch (...) {
    logFailure(sc, "Ostrel: internal error; the update was skipped.");
  }
}

}  // namespace ostrel::platform
