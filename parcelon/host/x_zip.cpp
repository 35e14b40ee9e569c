#include "x_zip.h"

#include <array>

namespace parcelon {
namespace {

std::string defaultValue(platform::Registry& registry, const std::string& keyName) {
  platform::HKEY key = 0;
  if (registry.RegOpenKeyExA(platform::HKEY_CLASSES_ROOT, keyName.c_str(), 0,
                             platform::KEY_QUERY_VALUE, &key) != platform::ERROR_SUCCESS) {
    return {};
  }
  std::array<char, 1024> buffer{};
  platform::DWORD type = 0;
  platform::DWORD size = static_cast<platform::DWORD>(buffer.size() - 1);
  const auto status = registry.RegQueryValueExA(
      key, nullptr, &type, reinterpret_cast<platform::BYTE*>(buffer.data()), &size);
  platform::ignoreFailure(registry.RegCloseKey(key), "read-only");
  if (status.failed() || type != platform::REG_SZ) return {};
  return std::string(buffer.data());  // stops at the value's NUL
}

ParcelonVariant text(const std::string& value) {
  ParcelonVariant variant{};
  variant.type = PARCELON_VT_TEXT;
  variant.text = value.data();
  variant.textLength = static_cast<std::uint32_t>(value.size());
  return variant;
}

ParcelonVariant integer(std::int32_t value) {
  ParcelonVariant variant{};
  variant.type = PARCELON_VT_I4;
  variant.i4 = value;
  return variant;
}

ParcelonVariant boolean(bool value) {
  ParcelonVariant variant{};
  variant.type = PARCELON_VT_BOOL;
  variant.boolean = value ? -1 : 0;
  return variant;
}

template <typename T>
T symbolOf(platform::Library& library, const char* name) {
  return reinterpret_cast<T>(library.symbol(name));
}

}  // namespace

std::string xZip::libraryPath(platform::Machine& machine) {
  const std::string classId = defaultValue(machine.registry(), PARCELON_PROGID "\\CLSID");
  if (!classId.empty()) {
    std::string path = defaultValue(machine.registry(), "CLSID\\" + classId + "\\InprocServer32");
    if (!path.empty()) return path;
  }
  return libraryBesideProgram(machine);
}

std::string xZip::libraryBesideProgram(platform::Machine& machine) {
  return machine.programDirectory() + "\\" + PARCELON_LIBRARY_FILE_NAME;
}

platform::Result<std::unique_ptr<platform::Library>> xZip::loadLibrary(
    platform::LibraryLoader& loader, platform::Machine& machine, std::string& path) {
  path = libraryPath(machine);
  auto library = loader.load(path);
  if (library) return library;
  // NOTE: a registration can outlive its library (a share that moved, registry entries
  // brought over from another machine); the library beside the program still serves then.
  const std::string beside = libraryBesideProgram(machine);
  if (path != beside) {
    if (auto fallback = loader.load(beside)) {
      path = beside;
      return fallback;
    }
  }
  return library;
}

platform::Result<std::unique_ptr<xZip>> xZip::create(platform::Machine& machine) {
  using Outcome = platform::Result<std::unique_ptr<xZip>>;
  platform::LibraryLoader* loader = machine.libraryLoader();
  if (loader == nullptr) return Outcome::failure(platform::ERROR_MOD_NOT_FOUND, "no loader");
  std::string path;
  auto library = loadLibrary(*loader, machine, path);
  if (!library) return Outcome::failure(library.status(), path);
  std::unique_ptr<xZip> zip(new xZip());
  zip->m_library = std::move(*library);
  if (const auto status = zip->createControl(machine); status.failed()) {
    return Outcome::failure(status, path);
  }
  return zip;
}

platform::Status xZip::createControl(platform::Machine& machine) {
  platform::Library& lib = *m_library;
  auto getClassObject = symbolOf<decltype(&DllGetClassObject)>(lib, "DllGetClassObject");
  auto createInstance =
      symbolOf<decltype(&ParcelonFactoryCreateInstance)>(lib, "ParcelonFactoryCreateInstance");
  auto releaseFactory = symbolOf<decltype(&ParcelonFactoryRelease)>(lib, "ParcelonFactoryRelease");
  auto advise = symbolOf<decltype(&ParcelonControlAdvise)>(lib, "ParcelonControlAdvise");
  m_invoke = symbolOf<decltype(&ParcelonControlInvoke)>(lib, "ParcelonControlInvoke");
  m_release = symbolOf<decltype(&ParcelonControlRelease)>(lib, "ParcelonControlRelease");
  m_clearVariant = symbolOf<decltype(&ParcelonVariantClear)>(lib, "ParcelonVariantClear");
  m_clearException = symbolOf<decltype(&ParcelonExceptionClear)>(lib, "ParcelonExceptionClear");
  if (!getClassObject || !createInstance || !releaseFactory || !advise || !m_invoke ||
      !m_release || !m_clearVariant || !m_clearException) {
    return platform::ERROR_PROC_NOT_FOUND;
  }

  const ParcelonGuid classId = PARCELON_CLSID;
  ParcelonClassFactory* factory = nullptr;
  if (getClassObject(&classId, &factory) != PARCELON_S_OK) return platform::ERROR_PROC_NOT_FOUND;
  ParcelonHost host{};
  host.size = sizeof host;
  host.machine = &machine;
  host.context = this;
  host.showAboutBox = &xZip::aboutBoxThunk;
  const ParcelonHresult created = createInstance(factory, &host, &m_control);
  releaseFactory(factory);
  if (created != PARCELON_S_OK || advise(m_control, &xZip::statusThunk, this) != PARCELON_S_OK) {
    return platform::ERROR_NOT_ENOUGH_MEMORY;
  }
  return platform::ERROR_SUCCESS;
}

xZip::~xZip() {
  // The control goes before the library that holds its code.
  if (m_control != nullptr) m_release(m_control);
}

ParcelonVariant xZip::invoke(std::int32_t dispatchId, std::vector<ParcelonVariant> arguments) {
  ParcelonVariant result{};
  ParcelonException exception{};
  const ParcelonHresult status =
      m_invoke(m_control, dispatchId, arguments.data(),
               static_cast<std::uint32_t>(arguments.size()), &result, &exception);
  if (status == PARCELON_DISP_E_EXCEPTION) {
    const std::uint32_t code = exception.code;
    const std::string description = exception.description ? exception.description : "";
    m_clearException(&exception);
    throw ZipComponentError(code, description);
  }
  if (status != PARCELON_S_OK) {
    throw ZipComponentError(static_cast<std::uint32_t>(status),
                            "The call to the zip component failed");
  }
  return result;
}

std::int32_t xZip::invokeInteger(std::int32_t dispatchId, std::vector<ParcelonVariant> arguments) {
  ParcelonVariant result = invoke(dispatchId, std::move(arguments));
  const std::int32_t value = result.i4;
  m_clearVariant(&result);
  return value;
}

std::string xZip::invokeText(std::int32_t dispatchId, std::vector<ParcelonVariant> arguments) {
  ParcelonVariant result = invoke(dispatchId, std::move(arguments));
  std::string value = result.text ? std::string(result.text, result.textLength) : std::string();
  m_clearVariant(&result);
  return value;
}

std::int32_t xZip::ExtractFile(const std::string& name, const std::string& path,
                               const std::string& passwd) {
  return invokeInteger(PARCELON_DISPID_EXTRACTFILE, {text(name), text(path), text(passwd)});
}

std::string xZip::Filename(std::int32_t rec) {
  return invokeText(PARCELON_DISPID_FILENAME, {integer(rec)});
}

std::int32_t xZip::FileCount() { return invokeInteger(PARCELON_DISPID_FILECOUNT, {}); }

std::int32_t xZip::FileSize(std::int32_t rec) {
  return invokeInteger(PARCELON_DISPID_FILESIZE, {integer(rec)});
}

std::int32_t xZip::FileSizeZ(std::int32_t rec) {
  return invokeInteger(PARCELON_DISPID_FILESIZEZ, {integer(rec)});
}

double xZip::FileDate(std::int32_t rec) {
  ParcelonVariant result = invoke(PARCELON_DISPID_FILEDATE, {integer(rec)});
  const double value = result.date;
  m_clearVariant(&result);
  return value;
}

std::int32_t xZip::OpenZip(const std::string& file) {
  return invokeInteger(PARCELON_DISPID_OPENZIP, {text(file)});
}

std::int32_t xZip::CreateZip(const std::string& Filename, const std::string& comment) {
  return invokeInteger(PARCELON_DISPID_CREATEZIP, {text(Filename), text(comment)});
}

std::int32_t xZip::Close() { return invokeInteger(PARCELON_DISPID_CLOSE, {}); }

std::int32_t xZip::AddFile(const std::string& Filename, const std::string& comment, bool bSavePath,
                           const std::string& passwd) {
  return invokeInteger(PARCELON_DISPID_ADDFILE,
                       {text(Filename), text(comment), boolean(bSavePath), text(passwd)});
}

std::int32_t xZip::RemoveFile(const std::string& Filename) {
  return invokeInteger(PARCELON_DISPID_REMOVEFILE, {text(Filename)});
}

std::string xZip::FileComment(std::int32_t rec) {
  return invokeText(PARCELON_DISPID_FILECOMMENT, {integer(rec)});
}

bool xZip::IsCrypted(std::int32_t rec) {
  ParcelonVariant result = invoke(PARCELON_DISPID_ISCRYPTED, {integer(rec)});
  const bool value = result.boolean != 0;
  m_clearVariant(&result);
  return value;
}

void xZip::AboutBox() {
  ParcelonVariant result = invoke(PARCELON_DISPID_ABOUTBOX, {});
  m_clearVariant(&result);
}

void xZip::statusThunk(void* context, const char* filename, std::uint32_t length,
                       std::int32_t progress) {
  auto* zip = static_cast<xZip*>(context);
  if (zip->m_onStatus) zip->m_onStatus(std::string(filename, length), progress);
}

void xZip::aboutBoxThunk(void* context, const char* title, const char* text, const char* button) {
  auto* zip = static_cast<xZip*>(context);
  if (zip->m_onAboutBox) zip->m_onAboutBox(title, text, button);
}

}  // namespace parcelon
