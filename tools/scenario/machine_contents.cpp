#include "machine_contents.h"

#include "forms/dir_list_box.h"
#include "platform/text_file.h"

namespace scenario {

namespace {

// Creates every missing folder of `path`, the path included.
void createFolders(platform::FileSystem& files, const std::string& path) {
  for (std::size_t i = 0; i <= path.size(); ++i) {
    if (i < path.size() && path[i] != '\\') continue;
    const std::string prefix = path.substr(0, i);
    if (prefix.size() > 2 && !files.folderExists(prefix)) {
      platform::ignoreFailure(files.createFolder(prefix), "a folder of the described machine");
    }
  }
}

platform::Status createEntry(platform::FileSystem& files, const FileDescription& file) {
  if (!file.folder) return platform::writeWholeFile(files, file.path, file.bytes);
  createFolders(files, file.path);
  return files.folderExists(file.path) ? platform::ERROR_SUCCESS : platform::ERROR_PATH_NOT_FOUND;
}

}  // namespace

platform::Status writeDescribedRegistry(platform::Registry& registry,
                                        const MachineDescription& description) {
  for (const auto& reg : description.registry) {
    RETURN_IF_FAILED(reg.name ? writeRegistryValue(registry, reg.path, *reg.name, reg.data)
                              : createRegistryKey(registry, reg.path));
  }
  return platform::ERROR_SUCCESS;
}

bool writeDescribedFiles(platform::FileSystem& files, const MachineDescription& description,
                         platform::FileTime now, std::string& error) {
  createFolders(files, description.programDirectory);
  for (const FileDescription& file : description.files) {
    const std::size_t slash = file.path.rfind('\\');
    if (slash != std::string::npos) createFolders(files, file.path.substr(0, slash));
    const platform::Status status = createEntry(files, file);
    if (status.failed()) {
      error = file.location + ": cannot create " + file.path + " (status " +
              platform::toString(status) + ")";
      return false;
    }
    platform::ignoreFailure(files.setLastWriteTime(file.path, file.time.value_or(now)),
                            "the time of a described file");
    if (file.attributes != 0) {
      platform::ignoreFailure(files.setAttributes(file.path, file.attributes),
                              "the attributes of a described file");
    }
  }
  return true;
}

bool installZipComponent(platform::FileSystem& files, const MachineDescription& description,
                         const std::string& fileName, const std::string& bytes,
                         std::string& error) {
  const std::string target = forms::joinPath(description.programDirectory, fileName);
  if (bytes.empty() || platform::writeWholeFile(files, target, bytes) != platform::ERROR_SUCCESS) {
    error = "cannot install the zip component as " + target;
    return false;
  }
  return true;
}

}  // namespace scenario
