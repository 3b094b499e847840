// The D2XX library bound at run time. FTDI mode must not need the library to be installed:
// without it, or without single functions of it, the calls fail the way the rest of the
// transport already handles (invalid handle, FALSE, status FT_INVALID_HANDLE).
#pragma once

#include <string>
#include <vector>

#include "transport/ftd2xx_api.h"
#include "transport/usb_reader_ids.h"

namespace kxlf {

// The library file that is loaded, unless the environment variable KXLF_FTD2XX_LIBRARY names
// another one (tests point it at a build of the library backed by the reader emulator).
inline constexpr const char* kFtd2xxLibraryFile = "libftd2xx.so";
inline constexpr const char* kFtd2xxLibraryVariable = "KXLF_FTD2XX_LIBRARY";

// Every function looked up, in lookup order. The ones without a forwarding operation are not
// called by this system but are still looked up, so a trace shows what the library lacks.
struct Ftd2xxTable {
  d2xx::FT_SetBaudRate_t FT_SetBaudRate = nullptr;
  d2xx::FT_SetLatencyTimer_t FT_SetLatencyTimer = nullptr;
  d2xx::FT_SetUSBParameters_t FT_SetUSBParameters = nullptr;
  d2xx::FT_ListDevices_t FT_ListDevices = nullptr;
  d2xx::FT_CreateDeviceInfoList_t FT_CreateDeviceInfoList = nullptr;
  d2xx::FT_GetDeviceInfoList_t FT_GetDeviceInfoList = nullptr;
  d2xx::FT_GetDeviceInfoDetail_t FT_GetDeviceInfoDetail = nullptr;
  d2xx::FT_ResetDevice_t FT_ResetDevice = nullptr;
  d2xx::FT_W32_CreateFile_t FT_W32_CreateFile = nullptr;
  d2xx::FT_W32_CloseHandle_t FT_W32_CloseHandle = nullptr;
  d2xx::FT_W32_ReadFile_t FT_W32_ReadFile = nullptr;
  d2xx::FT_W32_WriteFile_t FT_W32_WriteFile = nullptr;
  d2xx::FT_W32_GetLastError_t FT_W32_GetLastError = nullptr;
  d2xx::FT_W32_GetOverlappedResult_t FT_W32_GetOverlappedResult = nullptr;
  d2xx::FT_W32_ClearCommBreak_t FT_W32_ClearCommBreak = nullptr;
  d2xx::FT_W32_ClearCommError_t FT_W32_ClearCommError = nullptr;
  d2xx::FT_W32_EscapeCommFunction_t FT_W32_EscapeCommFunction = nullptr;
  d2xx::FT_W32_GetCommModemStatus_t FT_W32_GetCommModemStatus = nullptr;
  d2xx::FT_W32_GetCommState_t FT_W32_GetCommState = nullptr;
  d2xx::FT_W32_GetCommTimeouts_t FT_W32_GetCommTimeouts = nullptr;
  d2xx::FT_W32_PurgeComm_t FT_W32_PurgeComm = nullptr;
  d2xx::FT_W32_SetCommBreak_t FT_W32_SetCommBreak = nullptr;
  d2xx::FT_W32_SetCommMask_t FT_W32_SetCommMask = nullptr;
  d2xx::FT_W32_SetCommState_t FT_W32_SetCommState = nullptr;
  d2xx::FT_W32_SetCommTimeouts_t FT_W32_SetCommTimeouts = nullptr;
  d2xx::FT_W32_SetupComm_t FT_W32_SetupComm = nullptr;
  d2xx::FT_W32_WaitCommEvent_t FT_W32_WaitCommEvent = nullptr;
  d2xx::FT_SetVIDPID_t FT_SetVIDPID = nullptr;
  d2xx::FT_GetVIDPID_t FT_GetVIDPID = nullptr;
};

// The ids of the family's FTDI-based reader, which the library does not know by itself. It
// keeps only one pair besides its own table, so the first FTDI reader of the table is the one.
constexpr UsbReaderId FtdiReaderIds() {
  for (const UsbReaderId& id : kUsbReaderIds) {
    if (id.kind == UsbReaderKind::kFtdi)
      return id;
  }
  return {};
}
inline constexpr d2xx::DWORD kFtdiReaderVendorId = FtdiReaderIds().vendorId;
inline constexpr d2xx::DWORD kFtdiReaderProductId = FtdiReaderIds().productId;

// Each object holds its own reference to the library (the loader counts them), and releases it
// when destroyed. The library is loaded by the thread that opens the device or lists devices;
// a worker thread that uses the handle afterwards only reads the table.
class CFTD2xxPort {
 public:
  CFTD2xxPort() = default;
  ~CFTD2xxPort();
  CFTD2xxPort(const CFTD2xxPort&) = delete;
  CFTD2xxPort& operator=(const CFTD2xxPort&) = delete;

  // Loads the library and looks up every function; does nothing once loaded. A failed load is
  // tried again at the next call.
  void LoadFtd2xx();
  bool IsFtd2xxLoaded() const { return module_ != nullptr; }

  // Whether the library is there with every function that listing, opening and running a
  // reader needs. Loads the library.
  bool HasReaderFunctions();

  // Forwarding operations. Those marked "loads" call LoadFtd2xx first and name the reader's ids
  // to the library (FT_SetVIDPID), since another user of the library in this process may have
  // named other ones meanwhile; the others rely on an earlier load, as every handle they take
  // comes from FT_W32_CreateFile.
  d2xx::FT_STATUS FT_SetLatencyTimer(d2xx::FT_HANDLE device, d2xx::UCHAR milliseconds);
  d2xx::FT_STATUS FT_CreateDeviceInfoList(d2xx::DWORD* count);  // loads
  d2xx::FT_STATUS FT_GetDeviceInfoList(d2xx::FT_DEVICE_LIST_INFO_NODE* records,
                                       d2xx::DWORD* count);  // loads
  d2xx::FT_HANDLE FT_W32_CreateFile(d2xx::LPCSTR name, d2xx::DWORD access, d2xx::DWORD shareMode,
                                    d2xx::SecurityAttributes* security, d2xx::DWORD creation,
                                    d2xx::DWORD flags, void* templateFile);  // loads
  d2xx::BOOL FT_W32_CloseHandle(d2xx::FT_HANDLE device);
  d2xx::BOOL FT_W32_ReadFile(d2xx::FT_HANDLE device, void* buffer, d2xx::DWORD size,
                             d2xx::DWORD* bytesRead, d2xx::Overlapped* overlapped);
  d2xx::BOOL FT_W32_WriteFile(d2xx::FT_HANDLE device, void* buffer, d2xx::DWORD size,
                              d2xx::DWORD* bytesWritten, d2xx::Overlapped* overlapped);
  d2xx::DWORD FT_W32_GetLastError(d2xx::FT_HANDLE device);
  d2xx::BOOL FT_W32_ClearCommError(d2xx::FT_HANDLE device, d2xx::DWORD* errors,
                                   d2xx::FTCOMSTAT* status);
  d2xx::BOOL FT_W32_GetCommModemStatus(d2xx::FT_HANDLE device, d2xx::DWORD* modemStatus);
  d2xx::BOOL FT_W32_GetCommState(d2xx::FT_HANDLE device, d2xx::FTDCB* dcb);
  d2xx::BOOL FT_W32_PurgeComm(d2xx::FT_HANDLE device, d2xx::DWORD mask);
  d2xx::BOOL FT_W32_SetCommMask(d2xx::FT_HANDLE device, d2xx::ULONG eventMask);
  d2xx::BOOL FT_W32_SetCommState(d2xx::FT_HANDLE device, d2xx::FTDCB* dcb);
  d2xx::BOOL FT_W32_SetCommTimeouts(d2xx::FT_HANDLE device, d2xx::FTTIMEOUTS* timeouts);

  // Appends the serial numbers of the attached devices that nobody has open.
  void ListFtdiDevices(std::vector<std::string>& list);

 private:
  void* module_ = nullptr;
  // Names the reader's vendor and product ids to the library; without them it does not see the
  // reader at all.
  void NameReaderIds();

  Ftd2xxTable table_;
};

}  // namespace kxlf
