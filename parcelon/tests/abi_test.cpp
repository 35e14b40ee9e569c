// The library's C interface: class factory, invoke with variants, exception records, the Status
// sink, the about box callback, and registration.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "parcelon/parcelon.h"
#include "zip_fixture.h"

namespace parcelon::testing {
namespace {

ParcelonVariant textArg(const char* text) {
  ParcelonVariant value{};
  value.type = PARCELON_VT_TEXT;
  value.text = text;
  value.textLength = static_cast<std::uint32_t>(std::strlen(text));
  return value;
}

ParcelonVariant intArg(std::int32_t number) {
  ParcelonVariant value{};
  value.type = PARCELON_VT_I4;
  value.i4 = number;
  return value;
}

ParcelonVariant boolArg(bool flag) {
  ParcelonVariant value{};
  value.type = PARCELON_VT_BOOL;
  value.boolean = flag ? -1 : 0;
  return value;
}

struct Call {
  ParcelonHresult status = PARCELON_E_FAIL;
  ParcelonVariant result{};
  std::uint32_t code = 0;
  std::string description;
};

class CInterface : public ZipTest {
 protected:
  void SetUp() override {
    const ParcelonGuid classId = PARCELON_CLSID;
    ASSERT_EQ(DllGetClassObject(&classId, &m_factory), PARCELON_S_OK);
    m_host.size = sizeof m_host;
    m_host.machine = &machine();
    m_host.context = this;
    m_host.showAboutBox = [](void* context, const char* title, const char* text,
                             const char* button) {
      static_cast<CInterface*>(context)->m_about = std::string(title) + "|" + text + "|" + button;
    };
    ASSERT_EQ(ParcelonFactoryCreateInstance(m_factory, &m_host, &m_control), PARCELON_S_OK);
  }
  void TearDown() override {
    ParcelonControlRelease(m_control);
    ParcelonFactoryRelease(m_factory);
  }

  Call invoke(std::int32_t id, std::vector<ParcelonVariant> arguments) {
    Call call;
    ParcelonException exception{};
    call.status = ParcelonControlInvoke(m_control, id, arguments.data(),
                                        static_cast<std::uint32_t>(arguments.size()), &call.result,
                                        &exception);
    call.code = exception.code;
    if (exception.description != nullptr) call.description = exception.description;
    ParcelonExceptionClear(&exception);
    return call;
  }
  std::string text(Call call) {
    std::string value =
        call.result.text ? std::string(call.result.text, call.result.textLength) : "(no text)";
    ParcelonVariantClear(&call.result);
    return value;
  }

  ParcelonClassFactory* m_factory = nullptr;
  ParcelonControl* m_control = nullptr;
  ParcelonHost m_host{};
  std::string m_about;
};

TEST_F(CInterface, OnlyTheControlClassHasAFactoryAndTheLibraryKnowsWhatIsAlive) {
  const ParcelonGuid other = {0x12345678, 0, 0, {0}};
  ParcelonClassFactory* factory = reinterpret_cast<ParcelonClassFactory*>(1);
  EXPECT_EQ(DllGetClassObject(&other, &factory), PARCELON_CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(factory, nullptr);
  EXPECT_EQ(DllCanUnloadNow(), PARCELON_S_FALSE);
  TearDown();
  EXPECT_EQ(DllCanUnloadNow(), PARCELON_S_OK);
  SetUp();
}

TEST_F(CInterface, MethodsTakeConvertedArgumentsAndReturnVariants) {
  writeFile("C:\\in\\a.txt", "alpha");
  writeFile("C:\\in\\b.txt", "beta");
  const platform::FileTime noon = (991396800ULL + 11644473600ULL) * 10'000'000ULL;
  ASSERT_EQ(files().setLastWriteTime("C:\\in\\a.txt", noon), platform::ERROR_SUCCESS);
  EXPECT_EQ(invoke(PARCELON_DISPID_CREATEZIP, {textArg("C:\\c.zip"), textArg("")}).result.i4, 0);
  for (const ParcelonVariant& keepPath : {textArg("True"), intArg(0)}) {
    const Call added = invoke(PARCELON_DISPID_ADDFILE,
                              {textArg("C:\\in\\a.txt"), textArg(""), keepPath, textArg("")});
    EXPECT_EQ(added.status, PARCELON_S_OK);
    EXPECT_EQ(added.result.type, PARCELON_VT_I4);
  }
  EXPECT_EQ(invoke(PARCELON_DISPID_ADDFILE,
                   {textArg("C:\\in\\b.txt"), textArg("x"), boolArg(true), textArg("pw")})
                .status,
            PARCELON_S_OK);
  EXPECT_EQ(invoke(PARCELON_DISPID_CLOSE, {}).status, PARCELON_S_OK);
  EXPECT_EQ(invoke(PARCELON_DISPID_OPENZIP, {textArg("C:\\c.zip")}).status, PARCELON_S_OK);

  const Call count = invoke(PARCELON_DISPID_FILECOUNT, {});
  EXPECT_EQ(count.result.type, PARCELON_VT_I4);
  EXPECT_EQ(count.result.i4, 3);
  EXPECT_EQ(text(invoke(PARCELON_DISPID_FILENAME, {textArg(" 1 ")})), "a.txt");
  EXPECT_EQ(text(invoke(PARCELON_DISPID_FILENAME, {ParcelonVariant{}})), "in/a.txt");
  EXPECT_EQ(text(invoke(PARCELON_DISPID_FILECOMMENT, {intArg(2)})), "x");
  const Call crypted = invoke(PARCELON_DISPID_ISCRYPTED, {intArg(2)});
  EXPECT_EQ(crypted.result.type, PARCELON_VT_BOOL);
  EXPECT_EQ(crypted.result.boolean, -1);
  const Call date = invoke(PARCELON_DISPID_FILEDATE, {intArg(0)});
  EXPECT_EQ(date.result.type, PARCELON_VT_DATE);
  EXPECT_DOUBLE_EQ(date.result.date, 37043.5);  // 1 June 2001, noon
}

TEST_F(CInterface, ARaisedErrorComesAsAnExceptionRecord) {
  const Call call = invoke(PARCELON_DISPID_FILECOUNT, {});
  EXPECT_EQ(call.status, PARCELON_DISP_E_EXCEPTION);
  EXPECT_EQ(call.code, 0x800A7D00u);
  EXPECT_EQ(call.description, "ZIP not open");
  EXPECT_EQ(call.result.type, PARCELON_VT_EMPTY);

  const Call open = invoke(PARCELON_DISPID_OPENZIP, {textArg("C:\\none.zip")});
  EXPECT_EQ(open.code, 0x800A0035u);
  EXPECT_EQ(open.description, "Couldn't open ZIP");
}

TEST_F(CInterface, CallsThatDoNotFitTheMethodAreRefusedBeforeTheyRun) {
  EXPECT_EQ(invoke(99, {}).status, PARCELON_DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(invoke(PARCELON_DISPID_CLOSE, {intArg(1)}).status, PARCELON_DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(invoke(PARCELON_DISPID_CREATEZIP, {textArg("C:\\x.zip")}).status,
            PARCELON_DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(invoke(PARCELON_DISPID_FILENAME, {textArg("first")}).status,
            PARCELON_DISP_E_TYPEMISMATCH);
  EXPECT_EQ(invoke(PARCELON_DISPID_ADDFILE,
                   {textArg("C:\\x"), textArg(""), textArg("maybe"), textArg("")})
                .status,
            PARCELON_DISP_E_TYPEMISMATCH);
  EXPECT_FALSE(exists("C:\\x.zip"));

  std::int32_t id = 0;
  EXPECT_EQ(ParcelonControlGetIdOfName(m_control, "fileCOUNT", &id), PARCELON_S_OK);
  EXPECT_EQ(id, PARCELON_DISPID_FILECOUNT);
  EXPECT_EQ(ParcelonControlGetIdOfName(m_control, "Unzip", &id), PARCELON_DISP_E_UNKNOWNNAME);
  ParcelonMethodInfo info{};
  ASSERT_EQ(ParcelonControlGetMethodInfo(m_control, PARCELON_DISPID_ABOUTBOX, &info),
            PARCELON_S_OK);
  EXPECT_STREQ(info.name, "AboutBox");
  EXPECT_EQ(info.argumentCount, 0u);
}

TEST_F(CInterface, StatusGoesToTheConnectedSinkAndAboutBoxToTheHost) {
  std::vector<StatusEvent> seen;
  const ParcelonStatusSink sink = [](void* context, const char* name, std::uint32_t length,
                                     std::int32_t progress) {
    static_cast<std::vector<StatusEvent>*>(context)->push_back(
        {std::string(name, length), progress});
  };
  ASSERT_EQ(ParcelonControlAdvise(m_control, sink, &seen), PARCELON_S_OK);
  writeFile("C:\\in\\a.txt", textBytes(5000));
  invoke(PARCELON_DISPID_CREATEZIP, {textArg("C:\\s.zip"), textArg("")});
  invoke(PARCELON_DISPID_ADDFILE, {textArg("C:\\in\\a.txt"), textArg(""), intArg(0), textArg("")});
  EXPECT_EQ(seen, (std::vector<StatusEvent>{{"a.txt", 40}, {"a.txt", 81}, {"a.txt", 100}}));
  ASSERT_EQ(ParcelonControlAdvise(m_control, nullptr, nullptr), PARCELON_S_OK);
  invoke(PARCELON_DISPID_ADDFILE, {textArg("C:\\in\\a.txt"), textArg(""), intArg(1), textArg("")});
  EXPECT_EQ(seen.size(), 3u);

  const Call about = invoke(PARCELON_DISPID_ABOUTBOX, {});
  EXPECT_EQ(about.status, PARCELON_S_OK);
  EXPECT_EQ(about.result.type, PARCELON_VT_EMPTY);
  EXPECT_EQ(m_about, "About Parcelon Control|Parcelon Control, Version 2.0|Close");
}

TEST_F(CInterface, ASinkThatCallsBackWhileAMethodRunsIsRejected) {
  struct Reentry {
    ParcelonControl* control = nullptr;
    std::vector<ParcelonHresult> statuses;
  } reentry{m_control, {}};
  const ParcelonStatusSink sink = [](void* context, const char*, std::uint32_t, std::int32_t) {
    auto* state = static_cast<Reentry*>(context);
    ParcelonVariant result{};
    state->statuses.push_back(
        ParcelonControlInvoke(state->control, PARCELON_DISPID_CLOSE, nullptr, 0, &result, nullptr));
    state->statuses.push_back(ParcelonControlAdvise(state->control, nullptr, nullptr));
  };
  ASSERT_EQ(ParcelonControlAdvise(m_control, sink, &reentry), PARCELON_S_OK);
  writeFile("C:\\in\\a.txt", textBytes(5000));
  invoke(PARCELON_DISPID_CREATEZIP, {textArg("C:\\s.zip"), textArg("")});
  const Call added = invoke(PARCELON_DISPID_ADDFILE,
                            {textArg("C:\\in\\a.txt"), textArg(""), intArg(0), textArg("")});
  EXPECT_EQ(added.status, PARCELON_S_OK);
  invoke(PARCELON_DISPID_CLOSE, {});
  invoke(PARCELON_DISPID_OPENZIP, {textArg("C:\\s.zip")});
  const Call extracted =
      invoke(PARCELON_DISPID_EXTRACTFILE, {textArg("a.txt"), textArg("C:\\b.txt"), textArg("")});
  EXPECT_EQ(extracted.status, PARCELON_S_OK);
  EXPECT_EQ(extracted.result.i4, 0);
  EXPECT_EQ(reentry.statuses, std::vector<ParcelonHresult>(12, PARCELON_RPC_E_CALL_REJECTED));
  EXPECT_EQ(readFile("C:\\b.txt"), textBytes(5000));
}

TEST_F(CInterface, AControlReleasedFromItsSinkGoesOnceTheMethodHasReturned) {
  const ParcelonStatusSink sink = [](void* context, const char*, std::uint32_t, std::int32_t) {
    auto** control = static_cast<ParcelonControl**>(context);
    ParcelonControlRelease(*control);
    *control = nullptr;  // the fixture has nothing left to release
  };
  ParcelonControl* running = m_control;
  ASSERT_EQ(ParcelonControlAdvise(m_control, sink, &m_control), PARCELON_S_OK);
  writeFile("C:\\in\\a.txt", textBytes(5000));
  invoke(PARCELON_DISPID_CREATEZIP, {textArg("C:\\s.zip"), textArg("")});
  ParcelonVariant result{};
  const ParcelonVariant arguments[] = {textArg("C:\\in\\a.txt"), textArg(""), intArg(0),
                                       textArg("")};
  EXPECT_EQ(ParcelonControlInvoke(running, PARCELON_DISPID_ADDFILE, arguments, 4, &result, nullptr),
            PARCELON_S_OK);
  EXPECT_EQ(result.i4, 0);
  EXPECT_EQ(m_control, nullptr);
  // Released, the control finished the archive it was writing.
  ASSERT_TRUE(returns(control().OpenZip("C:\\s.zip"), 0));
  EXPECT_TRUE(returns(control().Filename(0), std::string("a.txt")));
}

std::string classesRootValue(platform::Registry& registry, const std::string& key,
                             const char* name = nullptr) {
  platform::HKEY handle = 0;
  if (registry.RegOpenKeyExA(platform::HKEY_CLASSES_ROOT, key.c_str(), 0, platform::KEY_READ,
                             &handle) != platform::ERROR_SUCCESS) {
    return "(no key)";
  }
  char data[512] = {};
  platform::DWORD size = sizeof data;
  const auto status = registry.RegQueryValueExA(handle, name, nullptr,
                                                reinterpret_cast<platform::BYTE*>(data), &size);
  EXPECT_EQ(registry.RegCloseKey(handle), platform::ERROR_SUCCESS);
  return status.ok() ? std::string(data) : "(no value)";
}

TEST_F(CInterface, RegistrationWritesTheIdentityTableAndRemovesIt) {
  ASSERT_EQ(ParcelonRegisterServerOn(&m_host), PARCELON_S_OK);
  platform::Registry& registry = machine().registry();
  const std::string clsid = "CLSID\\{830C6AA6-5274-11D4-BD8D-912BC639A87B}";
  const std::string library = platform::testing::TestMachine::windowsPathOfHost(PARCELON_LIBRARY_PATH);
  EXPECT_EQ(classesRootValue(registry, "PARCELON.ParcelonCtrl.1\\CLSID"),
            "{830C6AA6-5274-11D4-BD8D-912BC639A87B}");
  EXPECT_EQ(classesRootValue(registry, clsid + "\\InprocServer32"), library);
  EXPECT_EQ(classesRootValue(registry, clsid + "\\InprocServer32", "ThreadingModel"), "Apartment");
  EXPECT_EQ(classesRootValue(registry, clsid + "\\ProgID"), "PARCELON.ParcelonCtrl.1");
  EXPECT_EQ(classesRootValue(registry, clsid + "\\MiscStatus\\1"), "132497");
  EXPECT_EQ(classesRootValue(registry, clsid + "\\Control"), "(no value)");
  EXPECT_EQ(classesRootValue(registry, "TypeLib\\{830C6AA3-5274-11D4-BD8D-912BC639A87B}\\1.0"),
            "Parcelon ActiveX Control module");
  EXPECT_EQ(
      classesRootValue(registry, "TypeLib\\{830C6AA3-5274-11D4-BD8D-912BC639A87B}\\1.0\\0\\win32"),
      library);
  EXPECT_EQ(classesRootValue(registry, "Interface\\{830C6AA4-5274-11D4-BD8D-912BC639A87B}"),
            "_DParcelon");

  ASSERT_EQ(ParcelonUnregisterServerOn(&m_host), PARCELON_S_OK);
  EXPECT_EQ(classesRootValue(registry, clsid), "(no key)");
  EXPECT_EQ(classesRootValue(registry, "PARCELON.ParcelonCtrl.1"), "(no key)");
  EXPECT_EQ(classesRootValue(registry, "TypeLib\\{830C6AA3-5274-11D4-BD8D-912BC639A87B}"),
            "(no key)");
  EXPECT_EQ(ParcelonUnregisterServerOn(&m_host), PARCELON_S_OK) << "nothing left to remove";
}

TEST_F(CInterface, DllRegisterServerWorksOnTheMachineInWinePrefix) {
  const char* previous = std::getenv("WINEPREFIX");
  const std::string saved = previous ? previous : "";
  ::setenv("WINEPREFIX", m_test.winePrefix().c_str(), 1);
  const ParcelonHresult registered = DllRegisterServer();
  if (previous) {
    ::setenv("WINEPREFIX", saved.c_str(), 1);
  } else {
    ::unsetenv("WINEPREFIX");
  }
  ASSERT_EQ(registered, PARCELON_S_OK);
  const auto fresh = m_test.sameMachineWithProgramIn("C:\\");
  EXPECT_EQ(classesRootValue(fresh->registry(), "PARCELON.ParcelonCtrl.1\\CLSID"),
            "{830C6AA6-5274-11D4-BD8D-912BC639A87B}");
}

}  // namespace
}  // namespace parcelon::testing
