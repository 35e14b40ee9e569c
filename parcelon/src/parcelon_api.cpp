// The library's exported C interface over the control.
#include <algorithm>
#include <cstring>
#include <new>
#include <span>

#include "control_dispatcher.h"
#include "hosted_control.h"
#include "machine_access.h"
#include "method_table.h"
#include "module_lock.h"
#include "parcelon/parcelon.h"
#include "platform/library_loader.h"
#include "server_registration.h"

struct ParcelonClassFactory {
  parcelon::ModuleLock lock;
};

struct ParcelonControl {
  ParcelonControl(platform::Machine& machine, std::unique_ptr<platform::Machine> owned,
                  const ParcelonHost& host)
      : hosted(machine, std::move(owned), host) {}
  parcelon::ModuleLock lock;
  parcelon::HostedControl hosted;
  bool releasePending = false;  // released from a Status sink while a method ran
};

namespace {

bool sameGuid(const ParcelonGuid& a, const ParcelonGuid& b) {
  return a.data1 == b.data1 && a.data2 == b.data2 && a.data3 == b.data3 &&
         std::memcmp(a.data4, b.data4, sizeof a.data4) == 0;
}

// Only the fields the caller's version of the structure has are taken.
ParcelonHost copyHost(const ParcelonHost* host) {
  ParcelonHost copy{};
  copy.size = sizeof copy;
  if (host != nullptr) {
    std::memcpy(&copy, host, std::min<std::size_t>(host->size, sizeof copy));
    copy.size = sizeof copy;
  }
  return copy;
}

char* copyText(const std::string& text) {
  auto* copy = new (std::nothrow) char[text.size() + 1];
  if (copy != nullptr) std::memcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

// No C++ exception may cross the C interface: a failed allocation deep inside becomes a code.
template <typename Call>
ParcelonHresult guarded(Call call) {
  try {
    return call();
  } catch (const std::bad_alloc&) {
    return PARCELON_E_OUTOFMEMORY;
  } catch (...) {
    return PARCELON_E_FAIL;
  }
}

ParcelonHresult registerOn(const ParcelonHost* host) {
  auto access = parcelon::machineFor(host);
  if (!access) return PARCELON_SELFREG_E_TYPELIB;
  platform::LibraryLoader* loader = access->machine->libraryLoader();
  if (loader == nullptr) return PARCELON_SELFREG_E_TYPELIB;
  auto path = loader->modulePath(reinterpret_cast<const void*>(&DllRegisterServer));
  if (!path) return PARCELON_SELFREG_E_TYPELIB;
  return parcelon::registerServer(access->machine->registry(), *path);
}

ParcelonHresult unregisterOn(const ParcelonHost* host) {
  auto access = parcelon::machineFor(host);
  if (!access) return PARCELON_SELFREG_E_TYPELIB;
  return parcelon::unregisterServer(access->machine->registry());
}

}  // namespace

extern "C" {

void ParcelonVariantClear(ParcelonVariant* variant) {
  if (variant != nullptr) parcelon::clearVariant(*variant);
}

void ParcelonExceptionClear(ParcelonException* exception) {
  if (exception == nullptr) return;
  delete[] exception->description;
  *exception = ParcelonException{};
}

ParcelonHresult DllGetClassObject(const ParcelonGuid* classId, ParcelonClassFactory** factory) {
  if (factory == nullptr) return PARCELON_E_INVALIDARG;
  *factory = nullptr;
  const ParcelonGuid ours = PARCELON_CLSID;
  if (classId == nullptr || !sameGuid(*classId, ours)) return PARCELON_CLASS_E_CLASSNOTAVAILABLE;
  *factory = new (std::nothrow) ParcelonClassFactory();
  return *factory != nullptr ? PARCELON_S_OK : PARCELON_E_OUTOFMEMORY;
}

ParcelonHresult DllCanUnloadNow(void) {
  return parcelon::ModuleLock::anyAlive() ? PARCELON_S_FALSE : PARCELON_S_OK;
}

ParcelonHresult DllRegisterServer(void) {
  return guarded([] { return registerOn(nullptr); });
}
ParcelonHresult DllUnregisterServer(void) {
  return guarded([] { return unregisterOn(nullptr); });
}
ParcelonHresult ParcelonRegisterServerOn(const ParcelonHost* host) {
  return guarded([host] { return registerOn(host); });
}
ParcelonHresult ParcelonUnregisterServerOn(const ParcelonHost* host) {
  return guarded([host] { return unregisterOn(host); });
}

ParcelonHresult ParcelonFactoryCreateInstance(ParcelonClassFactory* factory,
                                              const ParcelonHost* host, ParcelonControl** control) {
  if (factory == nullptr || control == nullptr) return PARCELON_E_INVALIDARG;
  *control = nullptr;
  return guarded([&] {
    const ParcelonHost hostCopy = copyHost(host);
    auto access = parcelon::machineFor(&hostCopy);
    if (!access) return PARCELON_E_FAIL;
    *control = new ParcelonControl(*access->machine, std::move(access->owned), hostCopy);
    return PARCELON_S_OK;
  });
}

void ParcelonFactoryRelease(ParcelonClassFactory* factory) { delete factory; }

void ParcelonControlRelease(ParcelonControl* control) {
  if (control != nullptr && control->hosted.running()) {
    control->releasePending = true;
    return;
  }
  delete control;
}

ParcelonHresult ParcelonControlGetIdOfName(ParcelonControl* control, const char* name,
                                           int32_t* dispatchId) {
  if (control == nullptr || dispatchId == nullptr) return PARCELON_E_INVALIDARG;
  const ParcelonMethodInfo* method = parcelon::findMethod(name);
  if (method == nullptr) return PARCELON_DISP_E_UNKNOWNNAME;
  *dispatchId = method->dispatchId;
  return PARCELON_S_OK;
}

ParcelonHresult ParcelonControlGetMethodInfo(ParcelonControl* control, int32_t dispatchId,
                                             ParcelonMethodInfo* info) {
  if (control == nullptr || info == nullptr) return PARCELON_E_INVALIDARG;
  const ParcelonMethodInfo* method = parcelon::findMethod(dispatchId);
  if (method == nullptr) return PARCELON_DISP_E_MEMBERNOTFOUND;
  *info = *method;
  return PARCELON_S_OK;
}

ParcelonHresult ParcelonControlInvoke(ParcelonControl* control, int32_t dispatchId,
                                      const ParcelonVariant* arguments, uint32_t argumentCount,
                                      ParcelonVariant* result, ParcelonException* exception) {
  if (result != nullptr) *result = ParcelonVariant{};
  if (exception != nullptr) *exception = ParcelonException{};
  if (control == nullptr || (arguments == nullptr && argumentCount != 0)) {
    return PARCELON_E_INVALIDARG;
  }
  const ParcelonHresult status = guarded([&] {
    auto outcome = control->hosted.invoke(
        dispatchId, std::span<const ParcelonVariant>(arguments, argumentCount));
    if (outcome.raised && exception != nullptr) {
      exception->code = outcome.raised->code;
      exception->description = copyText(outcome.raised->text);
    }
    if (outcome.status == PARCELON_S_OK && result != nullptr) {
      parcelon::toVariant(outcome.result, *result);
    }
    return outcome.status;
  });
  if (control->releasePending && !control->hosted.running()) delete control;
  return status;
}

ParcelonHresult ParcelonControlAdvise(ParcelonControl* control, ParcelonStatusSink sink,
                                      void* context) {
  if (control == nullptr) return PARCELON_E_INVALIDARG;
  return control->hosted.advise(sink, context) ? PARCELON_S_OK : PARCELON_RPC_E_CALL_REJECTED;
}

}  // extern "C"
