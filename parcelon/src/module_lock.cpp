#include "module_lock.h"

#include <atomic>

namespace parcelon {
namespace {

// NOTE: the one piece of library-wide state: whether the library may be unloaded is a question
// about every object it handed out, whoever holds them.
std::atomic<long>& aliveCount() {
  static std::atomic<long> count{0};
  return count;
}

}  // namespace

ModuleLock::ModuleLock() { ++aliveCount(); }
ModuleLock::~ModuleLock() { --aliveCount(); }
bool ModuleLock::anyAlive() { return aliveCount().load() != 0; }

}  // namespace parcelon
