// xZip: the program's zip component. Loads the component library the machine has registered
// (or the one beside the program), creates one control and calls it by dispatch identifier
// through typed methods. An error the control raises is thrown as ZipComponentError.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "parcelon/parcelon.h"
#include "platform/library_loader.h"
#include "platform/machine.h"
#include "zip_component_error.h"

namespace parcelon {

class xZip {
 public:
  using StatusHandler = std::function<void(const std::string& filename, std::int32_t progress)>;
  using AboutBoxHandler = std::function<void(const std::string& title, const std::string& text,
                                             const std::string& button)>;

  // Where the library is found: HKCR\PARCELON.ParcelonCtrl.1\CLSID, then that class's
  // InprocServer32; without an entry, or when that library cannot be loaded, the library in
  // the program's directory. The failure's subject says what was missing.
  static platform::Result<std::unique_ptr<xZip>> create(platform::Machine& machine);
  // The library's Windows path as the machine's registry or program directory gives it.
  static std::string libraryPath(platform::Machine& machine);
  static std::string libraryBesideProgram(platform::Machine& machine);

  ~xZip();
  xZip(const xZip&) = delete;
  xZip& operator=(const xZip&) = delete;

  std::int32_t ExtractFile(const std::string& name, const std::string& path,
                           const std::string& passwd);
  std::string Filename(std::int32_t rec);
  std::int32_t FileCount();
  std::int32_t FileSize(std::int32_t rec);
  std::int32_t FileSizeZ(std::int32_t rec);
  double FileDate(std::int32_t rec);
  std::int32_t OpenZip(const std::string& file);
  std::int32_t CreateZip(const std::string& Filename, const std::string& comment);
  std::int32_t Close();
  std::int32_t AddFile(const std::string& Filename, const std::string& comment, bool bSavePath,
                       const std::string& passwd);
  std::int32_t RemoveFile(const std::string& Filename);
  std::string FileComment(std::int32_t rec);
  bool IsCrypted(std::int32_t rec);
  void AboutBox();

  // The Status event; the program itself takes no action on it.
  void onStatus(StatusHandler handler) { m_onStatus = std::move(handler); }
  void onAboutBox(AboutBoxHandler handler) { m_onAboutBox = std::move(handler); }

 private:
  xZip() = default;
  // The registered library, or the one beside the program when that cannot be loaded; `path`
  // names the one loaded, or on failure the one that was asked for.
  static platform::Result<std::unique_ptr<platform::Library>> loadLibrary(
      platform::LibraryLoader& loader, platform::Machine& machine, std::string& path);
  // Takes the entry points from m_library and creates the control.
  [[nodiscard]] platform::Status createControl(platform::Machine& machine);
  // Calls a method; a raised error (or a failed call) is thrown.
  ParcelonVariant invoke(std::int32_t dispatchId, std::vector<ParcelonVariant> arguments);
  std::int32_t invokeInteger(std::int32_t dispatchId, std::vector<ParcelonVariant> arguments);
  std::string invokeText(std::int32_t dispatchId, std::vector<ParcelonVariant> arguments);

  static void statusThunk(void* context, const char* filename, std::uint32_t length,
                          std::int32_t progress);
  static void aboutBoxThunk(void* context, const char* title, const char* text, const char* button);

  std::unique_ptr<platform::Library> m_library;
  ParcelonControl* m_control = nullptr;
  decltype(&ParcelonControlInvoke) m_invoke = nullptr;
  decltype(&ParcelonControlRelease) m_release = nullptr;
  decltype(&ParcelonVariantClear) m_clearVariant = nullptr;
  decltype(&ParcelonExceptionClear) m_clearException = nullptr;
  StatusHandler m_onStatus;
  AboutBoxHandler m_onAboutBox;
};

}  // namespace parcelon
