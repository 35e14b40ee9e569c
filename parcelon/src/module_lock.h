// How many factories and controls of this library are alive, for DllCanUnloadNow.
#pragma once

namespace parcelon {

class ModuleLock {
 public:
  ModuleLock();
  ~ModuleLock();
  ModuleLock(const ModuleLock&) = delete;
  ModuleLock& operator=(const ModuleLock&) = delete;

  static bool anyAlive();
};

}  // namespace parcelon
