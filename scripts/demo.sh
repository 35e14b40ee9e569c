#!/usr/bin/env bash
# The main job: installs what is missing, builds, materialises the bundled sample machines, and
# migrates each old machine onto its new one as a technician would, headless: on the old machine
# the zip component registered, the tool's CONFIG.MIG beside it, C:\migrate made, and the export run
# (`migration auto`); the user's migration folder carried over the file server; on the new machine
# the restore run (`migration restore`), whose report says what arrived.
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

# What the last run of the log passed over: the summary counts them, the log says which.
passed_over() {
  local log=$1
  echo "--- what the run passed over, from its log"
  sed 's/\r$//' "$log" | awk '/^passed over: / { lines = lines "  " $0 "\n" }
     /^=== .* ended / { last = lines; lines = "" }
     END { printf "%s", last == "" ? "  (nothing)\n" : last }'
}

# A technician's migration: the export run on the old machine, the user's migration folder carried
# to the new machine over the file server \\fileserver\migrate, the restore run there.
share="$PWD/$build_dir/machines/fileserver-migrate"
status=0
for pair in old-win2000:new-win2000 old-win98:new-win2000-2; do
  old=${pair%%:*}
  new=${pair##*:}

  export WINEPREFIX="$PWD/$build_dir/machines/$old"
  echo "=================== $old: the export"
  show_machine
  user=$("$simwin" user)
  "$bin/parcelon-tool" --register >/dev/null
  mkdir -p "$WINEPREFIX/drive_c/migrate"
  echo
  echo "--- migration auto"
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$bin/migration" auto 2>&1 | sed 's/^/  /' || status=1
  passed_over "$WINEPREFIX/drive_c/migrate/$user/Migration/migrate.log"
  echo
  echo "--- what it left in C:\\migrate\\$user"
  "$simwin" dir "C:\\migrate\\$user" | sed 's/^/  /'
  archive="$WINEPREFIX/drive_c/migrate/$user/migfiles.mig"
  if [ -f "$archive" ]; then
    echo "--- the archive migfiles.mig"
    unzip -l "$archive" | sed 's/^/  /'
  fi
  echo "--- Migration\\Master.mig"
  sed 's/\r$//; s/^/  /' "$WINEPREFIX/drive_c/migrate/$user/Migration/Master.mig"
  echo "--- C:\\migrate\\$user copied to \\\\fileserver\\migrate\\$user"
  rm -rf "${share:?}/$user"
  cp -a "$WINEPREFIX/drive_c/migrate/$user" "$share/$user"

  export WINEPREFIX="$PWD/$build_dir/machines/$new"
  echo
  echo "=================== $new: the restore"
  show_machine
  "$bin/parcelon-tool" --register >/dev/null
  echo "--- \\\\fileserver\\migrate\\$user copied to C:\\migrate\\$user"
  mkdir -p "$WINEPREFIX/drive_c/migrate"
  rm -rf "$WINEPREFIX/drive_c/migrate/$user"
  cp -a "$share/$user" "$WINEPREFIX/drive_c/migrate/$user"
  echo
  echo "--- migration restore (it waits 20 seconds after each printer, as the system asks)"
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$bin/migration" restore 2>/dev/null | sed 's/^/  /' || status=1
  passed_over "$WINEPREFIX/drive_c/migrate/$user/Migration/migrate.log"
  echo
  echo "--- the restore report in C:\\migrate\\$user\\Migration\\migrate.log"
  sed 's/\r$//' "$WINEPREFIX/drive_c/migrate/$user/Migration/migrate.log" |
    sed -n '/^restore report:$/,/^restore report: /p' | sed 's/^/  /'
  echo "--- commands the restore started"
  sed 's/^/  /' "$WINEPREFIX/commands.log" 2>/dev/null || echo "  (none)"
  echo
done
exit $status
