// The restore report: what a restore put in place on the new machine, judged against what the
// capture left, and how it is written into the run log. Every rule of the report lives here:
//
// - A registry value of an imported export arrived when the registry now holds it with the
//   export's type and bytes; it differs when the registry holds it otherwise, and it is missing
//   when the registry lacks it or its key. A line of the export that cannot be read counts as a
//   missing value. An export that could not be read counts as not arrived, and so does one the
//   registry editor refused.
// - An archive entry arrived when a file of the entry's size and CRC-32 stands where the restore
//   put it; it differs when the file there has another size or CRC, and it is missing when there
//   is none. An entry whose name would leave the folder it is restored into is refused: never
//   written, and not arrived. An archive that could not be opened or read counts as not arrived.
// - A printer or a network drive arrived when the machine has it after the restore; one the
//   restore passed over on purpose (a printer listed in printers.log) is passed over.
// - A placement routine (wallpaper, favorites, ...) is done, passed over with the reason (nothing
//   was captured for it, the other family of Windows), or failed with the reason.
// - The restore is complete when the master command file was read and nothing differs, is
//   missing, was refused or failed. Passed over is no failure: it is what the capture left.
//
// In the log each item that did not arrive is a failure line (so the unattended run's summary
// names it and its exit status is 1); what arrived is counted in notes; the few items that did
// not arrive are named one by one below their group (up to kMostNamed per group).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/status.h"

namespace migration {

class RunLog;

enum class Arrival {
  Arrived,     // in place as captured
  Differs,     // in place, but not as captured
  Missing,     // not in place
  Refused,     // an archive entry never written: its name would leave its folder
  PassedOver,  // not attempted, on purpose; the detail says why
};

enum class Outcome { Done, PassedOver, Failed };

// One placement routine's result, with what it did or why it did not.
struct RoutineOutcome {
  Outcome outcome = Outcome::Done;
  std::string detail;

  static RoutineOutcome done(std::string detail = {}) { return {Outcome::Done, std::move(detail)}; }
  static RoutineOutcome passedOver(std::string why) {
    return {Outcome::PassedOver, std::move(why)};
  }
  static RoutineOutcome failed(std::string why) { return {Outcome::Failed, std::move(why)}; }
};

// How a value read back compares with the exported one. A string (types 1, 2 and 7) exported
// without its final NUL arrives with one, since the registry editor ends every string it imports:
// that value has arrived, its text unchanged.
Arrival JudgeValue(std::uint32_t exportedType, const std::string& exportedData, bool present,
                   std::uint32_t actualType, const std::string& actualData);
// How a file read back compares with its archive entry.
Arrival JudgeEntry(std::uint64_t entrySize, std::uint32_t entryCrc, bool present,
                   std::uint64_t fileSize, std::uint32_t fileCrc);

class RestoreReport {
 public:
  static constexpr std::size_t kMostNamed = 20;

  struct Item {
    std::string name;  // a value "KEY\"NAME"", an entry and its target, a printer, a drive
    Arrival arrival = Arrival::Arrived;
    std::string detail;
  };

  // The master command file could not be read: the section pass did nothing.
  void masterFileUnreadable(const std::string& path, platform::Status status);
  bool masterFileRead() const { return m_masterProblem.empty(); }

  // One registry export: its values as judged, or the reason it could not be judged
  // (`problem` not empty: the file was missing, no registry file, or refused by the editor).
  void addExport(const std::string& file, std::vector<Item> values, std::string problem = {});
  // The data file archive: its entries as judged, or the reason it could not be read.
  void addArchive(const std::string& archive, std::vector<Item> entries, std::string problem = {});
  void addPrinter(Item printer) { m_printers.push_back(std::move(printer)); }
  void addDrive(Item drive) { m_drives.push_back(std::move(drive)); }
  void addRoutine(const std::string& routine, RoutineOutcome outcome);

  // Whether everything captured arrived (see the rules above).
  bool complete() const;
  // Writes the report into the log: a line per group, failures for what did not arrive, and the
  // result lines that the run's summary repeats.
  void writeTo(RunLog& log) const;
  // One line for the window's status bar.
  std::string statusText() const;

 private:
  struct Group {
    std::string kind;  // "registry", "archive"
    std::string source;
    std::string problem;
    std::vector<Item> items;
  };
  struct Routine {
    std::string name;
    RoutineOutcome outcome;
  };

  struct Tally {
    std::size_t total = 0;
    std::size_t arrived = 0;
    std::size_t notArrived = 0;
    std::size_t sources = 0;  // exports or archives
    std::size_t sourceProblems = 0;
  };
  Tally tally(const std::vector<Group>& groups) const;
  void writeGroup(RunLog& log, const Group& group, const std::string& one,
                  const std::string& many) const;
  void writeItems(RunLog& log, const std::string& kind, const std::vector<Item>& items) const;

  std::string m_masterProblem;
  std::vector<Group> m_exports;
  std::vector<Group> m_archives;
  std::vector<Item> m_printers;
  std::vector<Item> m_drives;
  std::vector<Routine> m_routines;
};

// "arrived", "differs", "missing", "refused", "passed over".
std::string ArrivalText(Arrival arrival);
// Differs, Missing and Refused: the captured thing is not in place.
bool NotArrived(Arrival arrival);

}  // namespace migration
