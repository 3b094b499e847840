// CFTD2xxPort against the test builds of the D2XX library, a library that is not there, and a
// library that is not D2XX at all.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "kx_fake_ftd2xx/fake_ftdi_control.h"
#include "kx_fake_ftd2xx/scoped_env.h"
#include "transport/ftd2xx_port.h"

namespace kxlf {
namespace {

using namespace d2xx;
using kxfake::ScopedEnv;

constexpr const char* kFakeFtd2xxFile = KX_FAKE_FTD2XX_FILE;
constexpr const char* kFakePartialFtd2xxFile = KX_FAKE_FTD2XX_PARTIAL_FILE;
constexpr const char* kMissingLibrary = "/nonexistent/libftd2xx.so";

const std::vector<std::string> kLookupOrder = {"FT_SetBaudRate",
                                               "FT_SetLatencyTimer",
                                               "FT_SetUSBParameters",
                                               "FT_ListDevices",
                                               "FT_CreateDeviceInfoList",
                                               "FT_GetDeviceInfoList",
                                               "FT_GetDeviceInfoDetail",
                                               "FT_ResetDevice",
                                               "FT_W32_CreateFile",
                                               "FT_W32_CloseHandle",
                                               "FT_W32_ReadFile",
                                               "FT_W32_WriteFile",
                                               "FT_W32_GetLastError",
                                               "FT_W32_GetOverlappedResult",
                                               "FT_W32_ClearCommBreak",
                                               "FT_W32_ClearCommError",
                                               "FT_W32_EscapeCommFunction",
                                               "FT_W32_GetCommModemStatus",
                                               "FT_W32_GetCommState",
                                               "FT_W32_GetCommTimeouts",
                                               "FT_W32_PurgeComm",
                                               "FT_W32_SetCommBreak",
                                               "FT_W32_SetCommMask",
                                               "FT_W32_SetCommState",
                                               "FT_W32_SetCommTimeouts",
                                               "FT_W32_SetupComm",
                                               "FT_W32_WaitCommEvent",
                                               "FT_SetVIDPID",
                                               "FT_GetVIDPID"};

const std::vector<std::string> kExportedByFullFake = {"FT_SetLatencyTimer",
                                                      "FT_CreateDeviceInfoList",
                                                      "FT_GetDeviceInfoList",
                                                      "FT_W32_CreateFile",
                                                      "FT_W32_CloseHandle",
                                                      "FT_W32_ReadFile",
                                                      "FT_W32_WriteFile",
                                                      "FT_W32_GetLastError",
                                                      "FT_W32_ClearCommError",
                                                      "FT_W32_GetCommModemStatus",
                                                      "FT_W32_GetCommState",
                                                      "FT_W32_PurgeComm",
                                                      "FT_W32_SetCommMask",
                                                      "FT_W32_SetCommState",
                                                      "FT_W32_SetCommTimeouts",
                                                      "FT_SetVIDPID",
                                                      "FT_GetVIDPID"};

const std::vector<std::string> kLeftOutOfPartialFake = {
    "FT_SetLatencyTimer", "FT_GetDeviceInfoList", "FT_W32_ClearCommError",
    "FT_W32_GetCommModemStatus", "FT_W32_SetCommState"};

bool Contains(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);)
    lines.push_back(line);
  return lines;
}

std::string DebugLine(const std::string& text) {
  return "kxlf: " + text;
}

FT_HANDLE OpenBySerial(CFTD2xxPort& port, const char* serial) {
  return port.FT_W32_CreateFile(serial, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FT_OPEN_BY_SERIAL_NUMBER, nullptr);
}

// Every forwarding operation on a port whose table lacks the function gives the empty result.
void ExpectEveryCallFails(CFTD2xxPort& port) {
  FT_HANDLE handle = OpenBySerial(port, "FT123456");
  EXPECT_EQ(handle, InvalidHandleValue());
  EXPECT_EQ(port.FT_SetLatencyTimer(handle, 2), FT_INVALID_HANDLE);
  DWORD count = 7;
  EXPECT_EQ(port.FT_CreateDeviceInfoList(&count), FT_INVALID_HANDLE);
  FT_DEVICE_LIST_INFO_NODE record{};
  EXPECT_EQ(port.FT_GetDeviceInfoList(&record, &count), FT_INVALID_HANDLE);
  EXPECT_EQ(count, 7u);
  uint8_t byte = 0;
  DWORD done = 0;
  EXPECT_EQ(port.FT_W32_ReadFile(handle, &byte, 1, &done, nullptr), kFalse);
  EXPECT_EQ(port.FT_W32_WriteFile(handle, &byte, 1, &done, nullptr), kFalse);
  EXPECT_EQ(port.FT_W32_GetLastError(handle), 0u);
  DWORD value = 0;
  FTCOMSTAT comStat{};
  EXPECT_EQ(port.FT_W32_ClearCommError(handle, &value, &comStat), kFalse);
  EXPECT_EQ(port.FT_W32_GetCommModemStatus(handle, &value), kFalse);
  FTDCB dcb{};
  EXPECT_EQ(port.FT_W32_GetCommState(handle, &dcb), kFalse);
  EXPECT_EQ(port.FT_W32_SetCommState(handle, &dcb), kFalse);
  FTTIMEOUTS timeouts{};
  EXPECT_EQ(port.FT_W32_SetCommTimeouts(handle, &timeouts), kFalse);
  EXPECT_EQ(port.FT_W32_SetCommMask(handle, EV_RXCHAR), kFalse);
  EXPECT_EQ(port.FT_W32_PurgeComm(handle, PURGE_RXCLEAR), kFalse);
  EXPECT_EQ(port.FT_W32_CloseHandle(handle), kFalse);
  std::vector<std::string> list = {"COM1"};
  port.ListFtdiDevices(list);
  EXPECT_EQ(list, std::vector<std::string>{"COM1"});
}

class Ftd2xxPortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fake_.Loaded()) << kFakeFtd2xxFile;
    fake_.Reset();
  }

  ScopedEnv library_{kFtd2xxLibraryVariable, kFakeFtd2xxFile};
  ScopedEnv debug_{"KXLF_DEBUG", std::nullopt};
  kxfake::FakeFtdiControl fake_{kFakeFtd2xxFile};
};

TEST_F(Ftd2xxPortTest, WithoutTheLibraryEveryCallFails) {
  ScopedEnv library(kFtd2xxLibraryVariable, kMissingLibrary);
  CFTD2xxPort port;
  ExpectEveryCallFails(port);
  EXPECT_FALSE(port.IsFtd2xxLoaded());
}

TEST_F(Ftd2xxPortTest, MissingLibraryIsReportedOnlyWithTheDebugSwitch) {
  ScopedEnv library(kFtd2xxLibraryVariable, kMissingLibrary);
  {
    CFTD2xxPort port;
    testing::internal::CaptureStderr();
    std::vector<std::string> list;
    port.ListFtdiDevices(list);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  }
  ScopedEnv debug("KXLF_DEBUG", "1");
  CFTD2xxPort port;
  testing::internal::CaptureStderr();
  std::vector<std::string> list;
  port.ListFtdiDevices(list);
  const std::vector<std::string> lines = Lines(testing::internal::GetCapturedStderr());
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), DebugLine("Fehler: Kann /nonexistent/libftd2xx.so nicht laden"));
  EXPECT_EQ(lines.back(), DebugLine("FT_CreateDeviceInfoList ist nicht vorhanden!"));
}

TEST_F(Ftd2xxPortTest, WithoutOverrideTheVendorLibraryFileIsTried) {
  if (void* vendor = dlopen(kFtd2xxLibraryFile, RTLD_NOW)) {
    dlclose(vendor);
    GTEST_SKIP() << "the vendor library is installed here";
  }
  ScopedEnv library(kFtd2xxLibraryVariable, std::nullopt);
  ScopedEnv debug("KXLF_DEBUG", "1");
  CFTD2xxPort port;
  testing::internal::CaptureStderr();
  port.LoadFtd2xx();
  const std::vector<std::string> lines = Lines(testing::internal::GetCapturedStderr());
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), DebugLine("Fehler: Kann libftd2xx.so nicht laden"));
}

TEST_F(Ftd2xxPortTest, FailedLoadIsTriedAgainAtTheNextOpen) {
  CFTD2xxPort port;
  {
    ScopedEnv library(kFtd2xxLibraryVariable, kMissingLibrary);
    EXPECT_EQ(OpenBySerial(port, "FT123456"), InvalidHandleValue());
  }
  FT_HANDLE handle = OpenBySerial(port, "FT123456");
  ASSERT_NE(handle, InvalidHandleValue());
  EXPECT_TRUE(port.IsFtd2xxLoaded());
  EXPECT_EQ(port.FT_W32_CloseHandle(handle), kTrue);
}

// Which functions a library lacks decides the debug texts of the lookup (in lookup order, one
// per missing function, and the lookup goes on after each) and which calls fail.
struct LookupCase {
  const char* name;
  std::string file;
  std::vector<std::string> found;
};

class Ftd2xxLookupTest : public Ftd2xxPortTest, public ::testing::WithParamInterface<LookupCase> {};

TEST_P(Ftd2xxLookupTest, ReportsEveryMissingFunctionInLookupOrder) {
  ScopedEnv library(kFtd2xxLibraryVariable, GetParam().file);
  ScopedEnv debug("KXLF_DEBUG", "1");
  CFTD2xxPort port;
  testing::internal::CaptureStderr();
  port.LoadFtd2xx();
  port.LoadFtd2xx();  // loaded already: no second lookup
  const std::vector<std::string> lines = Lines(testing::internal::GetCapturedStderr());

  std::vector<std::string> expected;
  for (const std::string& function : kLookupOrder) {
    if (!Contains(GetParam().found, function)) {
      expected.push_back(DebugLine("Fehler: Kann " + function + " nicht initialisieren"));
    }
  }
  EXPECT_TRUE(port.IsFtd2xxLoaded());
  EXPECT_EQ(lines, expected);
}

std::vector<std::string> Without(std::vector<std::string> names,
                                 const std::vector<std::string>& removed) {
  std::erase_if(names, [&](const std::string& name) { return Contains(removed, name); });
  return names;
}

INSTANTIATE_TEST_SUITE_P(Libraries, Ftd2xxLookupTest,
                         ::testing::Values(LookupCase{"Full", kFakeFtd2xxFile, kExportedByFullFake},
                                           LookupCase{
                                               "Partial", kFakePartialFtd2xxFile,
                                               Without(kExportedByFullFake, kLeftOutOfPartialFake)},
                                           LookupCase{"NotD2xx", "libm.so.6", {}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Ftd2xxPortTest, LibraryWithoutD2xxFunctionsFailsEveryCall) {
  ScopedEnv library(kFtd2xxLibraryVariable, "libm.so.6");
  CFTD2xxPort port;
  ExpectEveryCallFails(port);
  EXPECT_TRUE(port.IsFtd2xxLoaded());
}

TEST_F(Ftd2xxPortTest, MissingFunctionsFailWhileThePresentOnesWork) {
  ScopedEnv library(kFtd2xxLibraryVariable, kFakePartialFtd2xxFile);
  kxfake::FakeFtdiControl partial(kFakePartialFtd2xxFile);
  ASSERT_TRUE(partial.Loaded());
  partial.Reset();
  CFTD2xxPort port;
  FT_HANDLE handle = OpenBySerial(port, "FT123456");
  ASSERT_NE(handle, InvalidHandleValue());
  EXPECT_EQ(port.FT_SetLatencyTimer(handle, 2), FT_INVALID_HANDLE);
  DWORD errors = 0;
  FTCOMSTAT comStat{};
  EXPECT_EQ(port.FT_W32_ClearCommError(handle, &errors, &comStat), kFalse);
  FTDCB dcb{};
  EXPECT_EQ(port.FT_W32_GetCommState(handle, &dcb), kTrue);
  EXPECT_EQ(port.FT_W32_SetCommState(handle, &dcb), kFalse);

  ScopedEnv debug("KXLF_DEBUG", "1");
  testing::internal::CaptureStderr();
  std::vector<std::string> list;
  port.ListFtdiDevices(list);
  EXPECT_EQ(Lines(testing::internal::GetCapturedStderr()),
            std::vector<std::string>{DebugLine("FT_GetDeviceInfoList ist nicht vorhanden!")});
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(port.FT_W32_CloseHandle(handle), kTrue);
}

TEST_F(Ftd2xxPortTest, ListSkipsOpenDevicesAndEmptySerialNumbers) {
  ASSERT_TRUE(fake_.AddDevice("FT000002"));
  ASSERT_TRUE(fake_.AddDevice(""));
  ASSERT_TRUE(fake_.AddDevice("FT000003"));
  // Another user of the library holds FT000002 open; it too has to name the reader's ids first.
  auto createFile = fake_.Symbol<FT_W32_CreateFile_t>("FT_W32_CreateFile");
  ASSERT_NE(createFile, nullptr);
  ASSERT_EQ(fake_.Symbol<FT_SetVIDPID_t>("FT_SetVIDPID")(kFtdiReaderVendorId, kFtdiReaderProductId),
            FT_OK);
  FT_HANDLE elsewhere = createFile("FT000002", GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                   OPEN_EXISTING, FT_OPEN_BY_SERIAL_NUMBER, nullptr);
  ASSERT_NE(elsewhere, InvalidHandleValue());

  CFTD2xxPort port;
  std::vector<std::string> list = {"\\\\.\\COM1"};
  port.ListFtdiDevices(list);
  EXPECT_EQ(list, (std::vector<std::string>{"\\\\.\\COM1", "FT123456", "FT000003"}));

  // Once closed, it is listed again.
  fake_.Symbol<FT_W32_CloseHandle_t>("FT_W32_CloseHandle")(elsewhere);
  list.clear();
  port.ListFtdiDevices(list);
  EXPECT_EQ(list, (std::vector<std::string>{"FT123456", "FT000002", "FT000003"}));
}

TEST_F(Ftd2xxPortTest, ListTakesSerialNumbersThatFillTheirWholeField) {
  ASSERT_TRUE(fake_.Unplug("FT123456"));
  ASSERT_TRUE(fake_.AddDevice("ABCDEFGHIJKLMNOP"));  // 16 characters, no room for a NUL
  CFTD2xxPort port;
  std::vector<std::string> list;
  port.ListFtdiDevices(list);
  EXPECT_EQ(list, std::vector<std::string>{"ABCDEFGHIJKLMNOP"});
}

TEST_F(Ftd2xxPortTest, ListIsEmptyWithoutDevices) {
  ASSERT_TRUE(fake_.Unplug("FT123456"));
  CFTD2xxPort port;
  std::vector<std::string> list;
  port.ListFtdiDevices(list);
  EXPECT_TRUE(list.empty());
}

// The library sees only FTDI's own ids unless told of others, and it keeps one further pair for
// the whole process, which another part of the program may change at any time.
TEST_F(Ftd2xxPortTest, ReadersAreFoundAndOpenedByTheirIdsEveryTime) {
  ASSERT_TRUE(fake_.AddDeviceWithIds("A9XK31QB", 0x0403, 0x6001));  // a plain converter
  ASSERT_TRUE(fake_.AddDeviceWithIds("OTHER001", 0x1234, 0x5678));  // nobody we know
  auto setVidPid = fake_.Symbol<FT_SetVIDPID_t>("FT_SetVIDPID");
  auto getVidPid = fake_.Symbol<FT_GetVIDPID_t>("FT_GetVIDPID");
  ASSERT_NE(setVidPid, nullptr);
  ASSERT_NE(getVidPid, nullptr);

  CFTD2xxPort port;
  std::vector<std::string> list;
  port.ListFtdiDevices(list);
  EXPECT_EQ(list, (std::vector<std::string>{"FT123456", "A9XK31QB"}));
  DWORD vendor = 0;
  DWORD product = 0;
  ASSERT_EQ(getVidPid(&vendor, &product), FT_OK);
  EXPECT_EQ(vendor, kFtdiReaderVendorId);
  EXPECT_EQ(product, kFtdiReaderProductId);

  ASSERT_EQ(setVidPid(0x1234, 0x5678), FT_OK);  // somebody else named their device
  list.clear();
  port.ListFtdiDevices(list);
  EXPECT_EQ(list, (std::vector<std::string>{"FT123456", "A9XK31QB"}));
  ASSERT_EQ(setVidPid(0x1234, 0x5678), FT_OK);
  FT_HANDLE handle = OpenBySerial(port, "FT123456");
  ASSERT_NE(handle, InvalidHandleValue());
  EXPECT_EQ(port.FT_W32_CloseHandle(handle), kTrue);
}

TEST_F(Ftd2xxPortTest, ReaderFunctionsNeedTheWholeLibrary) {
  {
    CFTD2xxPort port;
    EXPECT_TRUE(port.HasReaderFunctions());
  }
  for (const char* file : {kMissingLibrary, kFakePartialFtd2xxFile, "libm.so.6"}) {
    ScopedEnv library(kFtd2xxLibraryVariable, file);
    CFTD2xxPort port;
    EXPECT_FALSE(port.HasReaderFunctions()) << file;
  }
}

// No test fixture here: nothing else may hold the library while one port releases it.
TEST(Ftd2xxPortSharingTest, ReleasingOneObjectKeepsTheLibraryForTheOthers) {
  ScopedEnv library(kFtd2xxLibraryVariable, kFakeFtd2xxFile);
  {
    kxfake::FakeFtdiControl fake(kFakeFtd2xxFile);
    ASSERT_TRUE(fake.Loaded());
    fake.Reset();
  }
  CFTD2xxPort keeper;
  FT_HANDLE handle = OpenBySerial(keeper, "FT123456");
  ASSERT_NE(handle, InvalidHandleValue());
  {
    CFTD2xxPort other;
    std::vector<std::string> list;
    other.ListFtdiDevices(list);
  }
  DWORD errors = 0;
  FTCOMSTAT comStat{};
  EXPECT_EQ(keeper.FT_W32_ClearCommError(handle, &errors, &comStat), kTrue);
  EXPECT_EQ(keeper.FT_W32_CloseHandle(handle), kTrue);
}

}  // namespace
}  // namespace kxlf
