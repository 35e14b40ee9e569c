#!/usr/bin/env bash
# Lists what each given Windows binary imports ("DLL: function") and fails when one of them is a
# function Windows 2000 lacks; notes those that Windows 95/98 lack. The lists hold the functions
# mingw-w64's runtime and our code are known to reach for; extend them as imports appear.
set -euo pipefail
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}

# New in Windows XP or later (the -posix runtime of mingw-w64 wants the first two).
newer_than_2000='GetTickCount64 AddVectoredExceptionHandler RemoveVectoredExceptionHandler
  GetModuleHandleExA GetModuleHandleExW RegDeleteTreeA RegDeleteTreeW RegGetValueA RegGetValueW
  InitializeConditionVariable SleepConditionVariableCS WakeConditionVariable WakeAllConditionVariable
  InitializeSRWLock AcquireSRWLockExclusive ReleaseSRWLockExclusive InitOnceExecuteOnce
  GetFinalPathNameByHandleA GetFinalPathNameByHandleW CreateSymbolicLinkA CreateSymbolicLinkW
  GetFileInformationByHandleEx SetFileInformationByHandle GetLogicalProcessorInformation
  FlsAlloc FlsFree FlsGetValue FlsSetValue GetSystemTimePreciseAsFileTime GetNativeSystemInfo
  CreateHardLinkA CreateHardLinkW'
# Present in Windows 2000 (and NT 4 at most) but not in Windows 95/98, or present there in name
# only (a stub that fails).
missing_on_98='MoveFileExA MoveFileExW GetFileAttributesExW CreateFileW
  SetFileAttributesW GetFullPathNameW FindFirstFileW FindNextFileW DeleteFileW RemoveDirectoryW
  CreateDirectoryW GetCurrentDirectoryW GetModuleFileNameW LoadLibraryW GetEnvironmentVariableW
  GetEnvironmentStringsW FreeEnvironmentStringsW InitializeCriticalSectionAndSpinCount
  TryEnterCriticalSection SignalObjectAndWait CreateWaitableTimerA GetFileSizeEx SetFilePointerEx
  GetLongPathNameA CreateSemaphoreW GetModuleHandleW'
# In the msvcrt.dll of Windows XP; whether the one of Windows 2000 exports them is not known here
# (they came with the C runtime of Visual C++ 7).
unsure_on_2000='_fstat64 _stat64 _wstat64 _ftime64 _time64 _localtime64 _mktime64 _gmtime64'

status=0
for binary in "$@"; do
  echo "== $(basename "$binary")"
  imports=$("$objdump" -p "$binary" |
    awk '/DLL Name:/ {dll = $3} /^\t[0-9a-f]+\t +[0-9]+ +[A-Za-z_]/ {print dll ": " $3}' | sort -u)
  echo "$imports" | awk -F': ' '{list[$1] = list[$1] " " $2} END {for (d in list) print "  " d ":" list[d]}' | sort
  for name in $(echo "$imports" | awk -F': ' '{print $2}'); do
    if grep -qw -- "$name" <<<"$newer_than_2000"; then
      echo "  NOT ON WINDOWS 2000: $name"
      status=1
    elif grep -qw -- "$name" <<<"$unsure_on_2000"; then
      echo "  to check on Windows 2000's msvcrt.dll: $name"
    elif grep -qw -- "$name" <<<"$missing_on_98"; then
      echo "  not on Windows 95/98 (or a stub there): $name"
    fi
  done
done
exit $status
