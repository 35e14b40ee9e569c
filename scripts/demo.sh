#!/usr/bin/env bash
# The main job: installs what is missing, builds, materialises the bundled sample machines, and on
# each old machine runs the program's unattended export run (`migration auto`), headless, as a
# technician would: the zip component registered, the tool's CONFIG.MIG beside it, the migration
# folder C:\migrate made. Then it shows what the run left on the machine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
build_dir=${BUILD_DIR:-build}
cmake --build "$build_dir" --target machines >/dev/null
bin="$PWD/$build_dir/bin"
simwin="$bin/simwin"

# The tool's own folder, as on the share it is run from: its CONFIG.MIG and printer lists, and the
# script.mig it writes.
program_dir="$PWD/$build_dir/program"
rm -rf "$program_dir"
mkdir -p "$program_dir"
cp samples/program/CONFIG.MIG samples/program/printlist.txt samples/program/printers.log "$program_dir/"
export TRANSVALE_PROGRAM_DIR="$program_dir"

show_machine() {
  echo "Drives:"
  "$simwin" drives | sed 's/^/  /'
  echo "User: $("$simwin" user 2>/dev/null || echo '(none)')"
  for variable in OS windir USERPROFILE; do
    echo "$variable: $("$simwin" env "$variable" 2>/dev/null || echo '(not set)')"
  done
}

for name in old-win2000 old-win98; do
  export WINEPREFIX="$PWD/$build_dir/machines/$name"
  echo "=================== $name"
  show_machine
  user=$("$simwin" user)
  "$bin/parcelon-tool" --register >/dev/null
  mkdir -p "$WINEPREFIX/drive_c/migrate"

  echo
  echo "--- migration auto (messages the run showed, if any)"
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$bin/migration" auto 2>&1 | sed 's/^/  /'

  echo
  echo "--- what it left in C:\\migrate\\$user"
  "$simwin" dir "C:\\migrate\\$user" | sed 's/^/  /'
  archive="$WINEPREFIX/drive_c/migrate/$user/migfiles.mig"
  if [ -f "$archive" ]; then
    echo "--- the archive migfiles.mig"
    unzip -l "$archive" | sed 's/^/  /'
  fi
  pointer="$WINEPREFIX/drive_c/migrate/$user/Migration/oldfile.cfg"
  if [ -f "$pointer" ]; then
    echo "--- the pointer file Migration\\oldfile.cfg"
    sed 's/\r$//; s/^/  /' "$pointer"
  fi
  echo "--- commands the run started"
  sed 's/^/  /' "$WINEPREFIX/commands.log" 2>/dev/null || echo "  (none)"
  echo
done
