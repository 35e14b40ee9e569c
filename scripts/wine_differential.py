#!/usr/bin/env python3
"""The native program and the Windows program, run on one and the same Wine prefix, do the same.

A Wine prefix is made with wineboot and the old sample machine put into it (its drive C: files and
its registry keys). One copy of it runs the native `migration auto`, another runs `migration.exe
auto` under Wine; both must leave the same master command file, the same exports byte for byte and
archives with the same entries and contents. Then the new sample machine gets the same treatment
with `restore`, both fed the same migration folder: the registry values and files each run changed
must be the same.

Usage: wine_differential.py NATIVE_BIN WINDOWS_BIN WORK_DIR
NATIVE_BIN holds migration, parcelon-tool, simwin and libparcelon.so; WINDOWS_BIN holds
migration.exe, parcelon-tool.exe and parcelon.dll, built for the Wine it runs under: WINE names
the loader (/usr/lib/wine/wine64 by default) and WINEARCH the prefix's kind (win64 by default).
WORK_DIR is emptied first; after differences it keeps the prefixes for a look, otherwise it goes.
"""

import hashlib
import os
import pwd
import re
import shutil
import subprocess
import sys
import zipfile
from pathlib import Path

SOURCE = Path(__file__).resolve().parent.parent
SAMPLES = SOURCE / "samples"
PROGRAM_FILES = ["CONFIG.MIG", "printlist.txt", "printers.log"]
# Under Wine the logged-on user is always the host's user that runs it.
WINE_USER = pwd.getpwuid(os.getuid()).pw_name

# Keys of the sample's registry that would make the prefix disagree with the Wine running it: Wine
# writes the logon's environment itself, builds the process environment from its own, and keeps
# its drive settings. The printers are left out too: Wine's spooler lists the printers of the host
# (CUPS) and cannot hold the sample's, so printers are the native suites' work.
SKIPPED_KEYS = (
    "volatile environment",
    "software\\\\wine",
    "system\\\\currentcontrolset\\\\control\\\\session manager\\\\environment",
    "system\\\\currentcontrolset\\\\control\\\\print",
    "printers",
)
# Wine's Windows folder is C:\windows whatever the registry says: the sample's C:\WINNT moves there.
SAMPLE_WINDOWS = "WINNT"
# Keys Wine itself changes whenever a program runs (no part of what a run did), and the
# component's registration, which names the component's own file: libparcelon.so or parcelon.dll.
WINE_HOUSEKEEPING = (
    "volatile environment",
    "software\\\\wine",
    "software\\\\microsoft\\\\windows\\\\currentversion\\\\explorer\\\\shell folders",
    "system\\\\currentcontrolset\\\\control\\\\class\\\\",
    "software\\\\classes\\\\clsid\\\\{830c6aa6-5274-11d4-bd8d-912bc639a87b}",
    "software\\\\classes\\\\typelib\\\\{830c6aa3-5274-11d4-bd8d-912bc639a87b}",
)
# Folders of drive C: that hold Wine itself, and files whose contents tell the time of the run.
WINE_FOLDERS = ("windows/system32", "windows/syswow64", "windows/temp", "windows/logs")
TIMED_FILES = ("migrate.log",)


def run(command, env=None, check=True):
    result = subprocess.run(command, env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                            text=True, errors="replace")
    if check and result.returncode != 0:
        sys.exit(f"wine-differential: {' '.join(map(str, command))} failed "
                 f"({result.returncode}):\n{result.stdout}")
    return result


def wine_env(prefix):
    env = dict(os.environ, WINEPREFIX=str(prefix), WINEDEBUG="-all")
    env.setdefault("WINEARCH", "win64")
    for name in ("DISPLAY", "WAYLAND_DISPLAY"):
        env.pop(name, None)
    return env


def stop_wine(prefix):
    run(["wineserver", "-k"], env=wine_env(prefix), check=False)
    run(["wineserver", "-w"], env=wine_env(prefix), check=False)


# --- Wine's registry files, section by section -------------------------------------------------

class Hive:
    """A Wine registry file as its header and its key sections, each kept as its lines."""

    def __init__(self, path):
        self.path = path
        lines = path.read_bytes().decode("latin-1").split("\n")
        first = next((i for i, line in enumerate(lines) if line.startswith("[")), len(lines))
        self.header = lines[:first]
        self.sections = {}  # lower-case key name -> lines, the key line first
        for line in lines[first:]:
            if line.startswith("["):
                current = self.sections.setdefault(key_name(line), [line])
            elif line:
                current.append(line)

    def save(self):
        text = "\n".join(self.header).rstrip("\n") + "\n"
        for lines in self.sections.values():
            text += "\n" + "\n".join(lines) + "\n"
        self.path.write_bytes(text.encode("latin-1"))

    def values(self):
        """Every value as {key: {name: data}}, with hex data continued over lines joined."""
        return {key: dict(value_entries(lines[1:])) for key, lines in self.sections.items()}


def key_name(line):
    return line[1:line.rfind("]")].lower()


def value_entries(lines):
    """(name, data) of each value, its hex data continued over lines joined."""
    entries = []
    for name, value in value_lines(lines):
        data = value[0][value_name_end(value[0]) + 1:]
        for continued in value[1:]:
            data = data.rstrip("\\") + continued.strip()
        entries.append((name, data))
    return entries


def value_name_end(line):
    """Where the value's '=' stands: after '@' or after the closing quote of its name."""
    if line.startswith("@"):
        return 1
    i = 1
    while i < len(line) and line[i] != "\"":
        i += 2 if line[i] == "\\" else 1
    return i + 1


def merge_hive(source, target):
    """The keys of `source` into `target`; a value both hold takes the source's data. Values are
    written sorted by name, as Wine writes them."""
    into = Hive(target)
    for key, lines in Hive(source).sections.items():
        if key.startswith(SKIPPED_KEYS):
            continue
        lines = [moved_windows_folder(line) for line in lines]
        kept = into.sections.get(key, lines)
        values = dict(value_lines(kept[1:]))
        values.update(value_lines(lines[1:]))
        options = [line for line in kept[1:] if line.startswith("#")]
        into.sections[key] = [kept[0]] + options + \
            [line for name in sorted(values, key=wine_value_order) for line in values[name]]
    into.save()


def wine_value_order(name):
    """Wine's order of values: the default value ("@") first, then by name regardless of case."""
    return "" if name == "@" else name.upper()


def value_lines(lines):
    """(name, lines) of each value, its continuation lines with it."""
    values = []
    for line in lines:
        if line.startswith(("\"", "@")):
            values.append((line[:value_name_end(line)].lower(), [line]))
        elif line.startswith((" ", "\t")) and values:
            values[-1][1].append(line)
    return values


def moved_windows_folder(line):
    """The line with C:\\WINNT (written C:\\\\WINNT in the file) turned into C:\\windows."""
    return re.sub(r"(?i)c:\\\\" + SAMPLE_WINDOWS + r"\b", r"C:\\\\windows", line)


# --- the machines ------------------------------------------------------------------------------

def make_prefix(sample, work, native_bin):
    """A Wine prefix with the sample machine's drive C: and registry in it."""
    prefix = work / f"{sample}-base"
    prefix.mkdir(parents=True)
    run([wine_loader(), "wineboot", "-i"], env=wine_env(prefix))
    stop_wine(prefix)
    machine = work / f"{sample}-sample"
    run([native_bin / "simwin", "materialise", SAMPLES / sample, machine])
    for item in (machine / "drive_c").iterdir():
        into = "windows" if item.name.upper() == SAMPLE_WINDOWS else item.name
        if item.is_dir():
            shutil.copytree(item, prefix / "drive_c" / into, symlinks=True, dirs_exist_ok=True)
        else:
            shutil.copy2(item, prefix / "drive_c" / into)
    for hive in ("system.reg", "user.reg"):
        merge_hive(machine / hive, prefix / hive)
    return prefix


def wine_loader():
    return os.environ.get("WINE", "/usr/lib/wine/wine64")


def copy_prefix(base, name):
    """A copy of `base`; Wine's own large folders are hard links, as no run writes in them."""
    copy = base.parent / name
    linked = [base / "drive_c" / folder for folder in WINE_FOLDERS[:2]]

    def ignore(folder, names):
        return [n for n in names if Path(folder) / n in linked]

    shutil.copytree(base, copy, symlinks=True, ignore=ignore)
    for folder in linked:
        if folder.exists():
            run(["cp", "-al", folder, copy / folder.relative_to(base)])
    return copy


def program_folder(work, name, files=()):
    folder = work / name
    folder.mkdir()
    for file in PROGRAM_FILES:
        shutil.copy(SAMPLES / "program" / file, folder)
    for file in files:
        shutil.copy(file, folder)
    return folder


def run_native(prefix, native_bin, program, command):
    env = wine_env(prefix)
    env["TRANSVALE_PROGRAM_DIR"] = str(program)
    env.pop("QT_QPA_PLATFORM", None)
    run([native_bin / "parcelon-tool", "--register"], env=env)
    return run([native_bin / "migration", command], env=env, check=False)


def run_windows(prefix, program, command):
    env = wine_env(prefix)
    env.pop("TRANSVALE_PROGRAM_DIR", None)  # the program's folder is the one it starts from
    run([wine_loader(), program / "parcelon-tool.exe", "--register"], env=env)
    result = run([wine_loader(), program / "migration.exe", command], env=env, check=False)
    stop_wine(prefix)
    return result


def windows_program(work, name, windows_bin):
    files = [windows_bin / f for f in ("migration.exe", "parcelon-tool.exe", "parcelon.dll")]
    return program_folder(work, name, files)


# --- comparing what the runs left --------------------------------------------------------------

def files_of(folder):
    """Every file below `folder` (Wine's own folders left out) as {relative path: digest}."""
    files = {}
    for path in sorted(folder.rglob("*")):
        relative = path.relative_to(folder).as_posix()
        if relative.lower().startswith(WINE_FOLDERS) or path.is_symlink() or not path.is_file():
            continue
        files[relative] = hashlib.sha1(path.read_bytes()).hexdigest()
    return files


def compare_folders(what, a, b, skip=()):
    files_a, files_b = files_of(a), files_of(b)
    differences = []
    for name in sorted(set(files_a) | set(files_b)):
        if Path(name).name in skip:
            continue
        if name not in files_b:
            differences.append(f"{what}: only the native run has {name}")
        elif name not in files_a:
            differences.append(f"{what}: only the Windows run has {name}")
        elif files_a[name] != files_b[name]:
            differences.append(f"{what}: {name} differs")
    return differences


def archive_contents(path):
    with zipfile.ZipFile(path) as archive:
        return {info.filename: (info.date_time, info.external_attr & 0xFF,
                                hashlib.sha1(archive.read(info)).hexdigest())
                for info in archive.infolist()}


def compare_archives(a, b):
    """Archives compare by their entries (name, time, attributes, contents), not their bytes."""
    contents_a, contents_b = archive_contents(a), archive_contents(b)
    differences = [f"archive: entry {name} differs between the runs"
                   for name in sorted(set(contents_a) | set(contents_b))
                   if contents_a.get(name) != contents_b.get(name)]
    return differences, len(contents_a)


def changed_values(base, after):
    """What a run changed in the registry: {(hive, key, name): data, or None when removed}."""
    changes = {}
    for hive in ("system.reg", "user.reg"):
        before, now = Hive(base / hive).values(), Hive(after / hive).values()
        for key in set(before) | set(now):
            if key.startswith(WINE_HOUSEKEEPING):
                continue
            old, new = before.get(key, {}), now.get(key, {})
            for name in set(old) | set(new):
                if old.get(name) != new.get(name):
                    changes[(hive, key, name)] = new.get(name)
    return changes


def compare_registry_changes(base, native, windows):
    a, b = changed_values(base, native), changed_values(base, windows)
    differences = []
    for change in sorted(set(a) | set(b)):
        if a.get(change, "unchanged") != b.get(change, "unchanged"):
            hive, key, name = change
            differences.append(f"registry: {hive} [{key}] {name}: native "
                               f"{a.get(change, 'unchanged')!r}, Windows "
                               f"{b.get(change, 'unchanged')!r}")
    return differences, len(a)


# --- the two differentials ---------------------------------------------------------------------

def migration_folder(prefix):
    return prefix / "drive_c" / "migrate" / WINE_USER


def run_both(work, base, name, command, native_bin, windows_bin):
    """`command` run natively on one copy of `base` and under Wine on another: the two copies
    and the two outcomes."""
    native, windows = copy_prefix(base, f"{name}-native"), copy_prefix(base, f"{name}-windows")
    outcome_native = run_native(native, native_bin, program_folder(work, f"program-{name}-native"),
                                command)
    program = windows_program(work, f"program-{name}-windows", windows_bin)
    outcome_windows = run_windows(windows, program, command)
    report(command, outcome_native, outcome_windows)
    return native, windows, outcome_differences(outcome_native, outcome_windows)


def export_differential(work, native_bin, windows_bin):
    base = make_prefix("old-win2000", work, native_bin)
    (base / "drive_c" / "migrate").mkdir(exist_ok=True)
    native, windows, differences = run_both(work, base, "old", "auto", native_bin, windows_bin)
    a, b = migration_folder(native), migration_folder(windows)
    differences += compare_folders("export", a, b, skip=TIMED_FILES + ("migfiles.mig",))
    archive_differences, entries = compare_archives(a / "migfiles.mig", b / "migfiles.mig")
    exports = sorted((a / "Migration" / "Drivers").glob("*.mig"))
    print(f"export: {len(files_of(a))} files in the migration folder, {len(exports)} exports, "
          f"{entries} archive entries")
    return differences + archive_differences


def restore_differential(work, native_bin, windows_bin, exported):
    base = make_prefix("new-win2000", work, native_bin)
    shutil.copytree(exported, migration_folder(base), symlinks=True)
    native, windows, differences = run_both(work, base, "new", "restore", native_bin, windows_bin)
    differences += compare_folders("restore", native / "drive_c", windows / "drive_c",
                                   skip=TIMED_FILES)
    registry_differences, changes = compare_registry_changes(base, native, windows)
    print(f"restore: {changes} registry values changed, {len(files_of(native / 'drive_c'))} "
          f"files on drive C:")
    return differences + registry_differences


def report(what, native, windows):
    for name, outcome in (("native", native), ("Windows", windows)):
        print(f"--- {what}, the {name} program (exit {outcome.returncode})")
        print("".join(f"  {line}\n" for line in outcome.stdout.splitlines()), end="")


def outcome_differences(native, windows):
    """The exit status and the summary the run printed (Wine's own messages left out)."""
    differences = []
    if native.returncode != windows.returncode:
        differences.append(f"exit status: native {native.returncode}, Windows {windows.returncode}")
    if summary_of(native.stdout) != summary_of(windows.stdout):
        differences.append(f"summary: native {summary_of(native.stdout)!r}, "
                           f"Windows {summary_of(windows.stdout)!r}")
    return differences


def summary_of(output):
    """The summary: its first line ("Unattended export: ...", "Restore: ...") and the indented
    lines that follow it."""
    lines = output.splitlines()
    first = next((i for i, line in enumerate(lines)
                  if line.startswith(("Unattended export:", "Restore:"))), len(lines))
    summary = lines[first:first + 1]
    for line in lines[first + 1:]:
        if not line.startswith("  "):
            break
        summary.append(line)
    return summary


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    native_bin, windows_bin, work = (Path(a).resolve() for a in sys.argv[1:])
    shutil.rmtree(work, ignore_errors=True)
    work.mkdir(parents=True)
    differences = export_differential(work, native_bin, windows_bin)
    differences += restore_differential(work, native_bin, windows_bin,
                                        migration_folder(work / "old-native"))
    for line in differences:
        print(line)
    print(f"wine-differential: {len(differences)} differences")
    if differences:
        print(f"wine-differential: the machines are kept in {work}")
        return 1
    shutil.rmtree(work)
    return 0


if __name__ == "__main__":
    sys.exit(main())
