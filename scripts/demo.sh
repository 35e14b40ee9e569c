#!/usr/bin/env bash
# The main job: installs what is missing, builds, materialises the bundled sample machines and
# prints what the platform layer sees of each: drives, user, environment, registry, files.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
build_dir=${BUILD_DIR:-build}
cmake --build "$build_dir" --target machines >/dev/null
simwin="$PWD/$build_dir/bin/simwin"

# One registry value from `reg query` ("    NAME    TYPE    DATA"), or a note when it is missing.
show_value() {
  local key=$1 name=$2 line rest type data
  if line=$("$simwin" reg query "$key" /v "$name" 2>/dev/null | grep -m1 '    REG_'); then
    rest=${line#    "$name"    }
    type=${rest%%    *}
    data=${rest#"$type"}
    echo "  $key\\$name = ${data#    } ($type)"
  else
    echo "  $key\\$name: (none)"
  fi
}

for name in old-win2000 old-win98 new-win2000; do
  export WINEPREFIX="$PWD/$build_dir/machines/$name"
  echo "=================== $name ($WINEPREFIX)"
  echo "Drives:"
  "$simwin" drives | sed 's/^./  &/'
  echo "User: $("$simwin" user 2>/dev/null || echo '(none)')"
  for variable in OS windir USERPROFILE; do
    echo "$variable: $("$simwin" env "$variable" 2>/dev/null || echo '(not set)')"
  done
  echo "Registry:"
  show_value 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Winlogon' DefaultUserName
  show_value 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' Personal
  show_value 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders' Personal
  show_value 'HKCU\Control Panel\Desktop' Wallpaper
  profile=$("$simwin" env USERPROFILE 2>/dev/null || true)
  documents="${profile:-C:}\\My Documents"
  echo "Files:"
  "$simwin" dir "$documents" | sed 's/^./  &/'
done
