#include "sample_materialiser.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>
#include <system_error>

#include "driver_catalogue.h"
#include "file_time.h"
#include "host_files.h"
#include "machine_commands.h"
#include "native_file_system.h"
#include "native_printers.h"
#include "native_registry.h"
#include "platform/clock.h"
#include "platform/registry.h"
#include "platform/text_file.h"
#include "sample_description.h"
#include "unc_name.h"

namespace simwin {
namespace {

namespace fs = std::filesystem;
using platform::Result;
using Outcome = Result<fs::path>;

constexpr const char* kMarker = ".simwin-machine";
constexpr const char* kDescription = "machine.txt";
constexpr const char* kRegistryFiles[] = {"system.reg", "user.reg", "userdef.reg"};
// Files without a time of their own: 1 June 2001, 04:00 UTC.
constexpr platform::FileTime kFallbackTime = platform::VirtualClock::kDefaultStart;

Outcome failure(const std::string& message) {
  return Outcome::failure(platform::ERROR_INVALID_PARAMETER, message);
}

std::string readText(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// Clears `destination` for a new machine, refusing anything we did not make.
std::optional<std::string> prepareDestination(const fs::path& destination) {
  std::error_code error;
  if (fs::exists(fs::symlink_status(destination, error))) {
    if (!fs::is_directory(fs::symlink_status(destination, error))) {
      return destination.string() + " exists and is no folder";
    }
    const bool empty = fs::is_empty(destination, error);
    if (!empty && !fs::exists(destination / kMarker, error)) {
      return destination.string() + " is not empty and is no machine made by simwin; not touched";
    }
    // NOTE: remove_all removes the z: -> / link itself, never what it points to.
    fs::remove_all(destination, error);
    if (error) return "cannot clear " + destination.string() + ": " + error.message();
  }
  fs::create_directories(destination, error);
  if (error) return "cannot create " + destination.string() + ": " + error.message();
  std::ofstream(destination / kMarker) << "made by simwin materialise\n";
  return std::nullopt;
}

// files/unc/... goes to dosdevices/unc/..., every other folder of files/ to the prefix itself.
std::optional<std::string> copyFiles(const fs::path& sample, const fs::path& destination) {
  const fs::path files = sample / "files";
  std::error_code error;
  if (!fs::is_directory(files, error)) return std::nullopt;
  for (const fs::directory_entry& entry : fs::directory_iterator(files, error)) {
    const std::string name = entry.path().filename().string();
    const fs::path target = name == "unc" ? destination / "dosdevices" / "unc" : destination / name;
    fs::create_directories(target.parent_path(), error);
    fs::copy(entry.path(), target, fs::copy_options::recursive, error);
    if (error) return "cannot copy " + entry.path().string() + ": " + error.message();
  }
  return error ? std::optional<std::string>("cannot read " + files.string()) : std::nullopt;
}

std::optional<std::string> makeDrive(const SampleDrive& drive, const fs::path& destination) {
  const fs::path dosdevices = destination / "dosdevices";
  const std::string link = std::string(1, static_cast<char>(std::tolower(drive.letter))) + ":";
  std::string target = drive.target;
  if (target != "/" && target.rfind("unc/", 0) != 0) target = "../" + target;
  std::error_code error;
  fs::create_symlink(target, dosdevices / link, error);
  if (error) return "cannot link drive " + link + ": " + error.message();
  if (drive.target == "/") return std::nullopt;
  const fs::path folder = dosdevices / target;
  if (drive.missing) {
    if (fs::exists(folder, error)) return "drive " + link + " is marked missing but has files";
    return std::nullopt;
  }
  fs::create_directories(folder, error);
  if (error) return "cannot create " + folder.string() + ": " + error.message();
  if (!drive.label.empty()) std::ofstream(folder / ".windows-label") << drive.label << "\n";
  return std::nullopt;
}

std::optional<std::string> registerDriveTypes(const SampleDescription& description,
                                              const fs::path& destination, platform::Clock& clock) {
  platform::NativeRegistry registry(destination, &clock);
  platform::HKEY key = 0;
  if (registry.RegCreateKeyExA(platform::HKEY_LOCAL_MACHINE, "Software\\Wine\\Drives",
                               platform::KEY_ALL_ACCESS, &key,
                               nullptr) != platform::ERROR_SUCCESS) {
    return "cannot write the drive types into system.reg";
  }
  for (const SampleDrive& drive : description.drives) {
    const std::string name = {static_cast<char>(std::tolower(drive.letter)), ':'};
    const auto* data = reinterpret_cast<const platform::BYTE*>(drive.type.c_str());
    if (registry.RegSetValueExA(key, name.c_str(), platform::REG_SZ, data,
                                static_cast<platform::DWORD>(drive.type.size() + 1)) !=
        platform::ERROR_SUCCESS) {
      platform::ignoreFailure(registry.RegCloseKey(key), "the set failed already");
      return "cannot set the type of drive " + name;
    }
  }
  if (registry.RegCloseKey(key) != platform::ERROR_SUCCESS || registry.flushAll().failed()) {
    return "cannot save system.reg";
  }
  return std::nullopt;
}

// Gives every file and folder below `folder` (links not followed) the same last-write time.
void stampTree(const fs::path& folder, platform::FileTime time) {
  const timespec stamp = platform::timespecFromFileTime(time);
  const timespec times[2] = {stamp, stamp};
  std::error_code error;
  for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error)) {
    ::utimensat(AT_FDCWD, it->path().c_str(), times, AT_SYMLINK_NOFOLLOW);
  }
  ::utimensat(AT_FDCWD, folder.c_str(), times, AT_SYMLINK_NOFOLLOW);
}

std::string failed(const std::string& what, const std::string& path, platform::Status status) {
  return what + " " + path + ": " + describeStatus(status);
}

std::optional<std::string> makeShares(const SampleDescription& description,
                                      const fs::path& destination) {
  for (const std::string& text : description.shares) {
    const auto share = platform::parseUncName(text);
    std::error_code error;
    fs::create_directories(destination / "dosdevices" / "unc" / share->server / share->share,
                           error);
    if (error) return "cannot make the share " + text + ": " + error.message();
  }
  return std::nullopt;
}

// True when `host` (which may not exist yet) lies in the machine being made, links followed: a
// catalogue on the host drive Z: would be written outside it.
bool landsInside(fs::path host, const fs::path& destination) {
  std::error_code error;
  while (!host.empty() && !fs::exists(fs::symlink_status(host, error))) host = host.parent_path();
  return !host.empty() && platform::isInsideHostFolder(host, destination);
}

std::optional<std::string> writeCatalogues(const SampleDescription& description,
                                           const fs::path& destination) {
  platform::NativeFileSystem files(destination);
  for (const SampleCatalogue& catalogue : description.catalogues) {
    auto located = files.locate(catalogue.path);
    if (!located || !landsInside(located->host, destination)) {
      return "the catalogue " + catalogue.path + " must lie on a drive of the machine";
    }
    std::error_code error;
    fs::create_directories(located->host.parent_path(), error);
    const platform::Status status = platform::writeWholeFile(
        files, catalogue.path, platform::driverCatalogueText(catalogue.models));
    if (error || status.failed()) {
      return failed("cannot write the catalogue", catalogue.path, status);
    }
  }
  return std::nullopt;
}

// Local printers, the network's printers and the user's connections, where Windows keeps them.
std::optional<std::string> addPrinters(const SampleDescription& description,
                                       const fs::path& destination, platform::Clock& clock) {
  platform::NativeRegistry registry(destination, &clock);
  platform::NativePrinters printers(destination, registry);
  for (const platform::PrinterDetails& printer : description.printers) {
    const platform::Status status = printers.addLocalPrinter(printer);
    if (status.failed()) return failed("cannot add", printer.name, status);
  }
  for (const platform::PrinterDetails& printer : description.sharedPrinters) {
    const platform::Status status = printers.recordSharedPrinter(printer);
    if (status.failed()) return failed("cannot add", printer.name, status);
  }
  for (const std::string& connection : description.printerConnections) {
    const platform::Status status = printers.rememberConnection(connection);
    if (status.failed()) return failed("cannot add", connection, status);
  }
  if (registry.flushAll().failed()) return "cannot save the printers";
  return std::nullopt;
}

// Everything gets the default time first; then the times and attributes the description names.
std::optional<std::string> applyTimesAndAttributes(const SampleDescription& description,
                                                   const fs::path& destination,
                                                   platform::FileTime defaultTime) {
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(destination, error)) {
    const bool driveFolder =
        entry.is_directory() && !entry.is_symlink() && entry.path().filename() != "dosdevices";
    if (driveFolder) stampTree(entry.path(), defaultTime);
  }
  stampTree(destination / "dosdevices" / "unc", defaultTime);
  platform::NativeFileSystem files(destination);
  for (const SampleTime& time : description.times) {
    const platform::Status status = files.setLastWriteTime(time.path, time.time);
    if (status.failed())
      return failed("cannot set the time of", time.path, status);
  }
  for (const SampleAttributes& entry : description.attributes) {
    const platform::Status status = files.setAttributes(entry.path, entry.attributes);
    if (status.failed()) {
      return failed("cannot set the attributes of", entry.path, status);
    }
  }
  return std::nullopt;
}

}  // namespace

Outcome materialiseSample(const fs::path& sample, const fs::path& destination,
                          const std::vector<LinkedShare>& linkedShares) {
  std::error_code error;
  if (!fs::is_regular_file(sample / kDescription, error)) {
    return failure(sample.string() + " is no sample: it has no " + kDescription);
  }
  auto description = parseSampleDescription(readText(sample / kDescription));
  if (!description) return failure((sample / kDescription).string() + ", " + description.subject());
  for (const LinkedShare& link : linkedShares) {
    if (auto problem = checkLinkedFolder(link, destination)) return failure(*problem);
  }

  if (auto problem = prepareDestination(destination)) return failure(*problem);
  fs::create_directories(destination / "dosdevices" / "unc", error);
  for (const char* name : kRegistryFiles) {
    if (fs::exists(sample / name, error)) fs::copy_file(sample / name, destination / name, error);
    if (error) return failure("cannot copy " + std::string(name) + ": " + error.message());
  }
  if (auto problem = copyFiles(sample, destination)) return failure(*problem);
  for (const SampleDrive& drive : description->drives) {
    if (auto problem = makeDrive(drive, destination)) return failure(*problem);
  }
  if (auto problem = makeShares(*description, destination)) return failure(*problem);
  if (auto problem = writeCatalogues(*description, destination)) return failure(*problem);
  const platform::FileTime defaultTime = description->defaultTime.value_or(kFallbackTime);
  platform::VirtualClock clock(defaultTime);
  if (auto problem = registerDriveTypes(*description, destination, clock)) return failure(*problem);
  if (auto problem = addPrinters(*description, destination, clock)) return failure(*problem);
  if (auto problem = applyTimesAndAttributes(*description, destination, defaultTime)) {
    return failure(*problem);
  }
  // Last, so that no time or attribute of the sample reaches the host folder.
  for (const LinkedShare& link : linkedShares) {
    if (auto problem = linkShare(link, destination)) return failure(*problem);
  }
  return destination;
}

}  // namespace simwin
