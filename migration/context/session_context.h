// The program-wide values that start-up establishes and every module reads.
#pragma once

#include <string>

namespace migration {

struct SessionContext {
  std::string strUserName;  // whose user state is migrated
  std::string strOS;        // "Windows_NT" marks the NT family
  std::string strAppPath;   // the program's directory, without a trailing backslash
  bool bAutoMode = false;     // unattended export run ("auto")
  bool bRestoreMode = false;  // unattended restore run ("restore")
  bool bCancel = false;       // the user asked a running scan or capture to stop
};

}  // namespace migration
