#include "transport/ftd2xx_port.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <type_traits>

#include "debug_log.h"
#include "transport/runtime_library.h"

namespace kxlf {

using namespace d2xx;

namespace {

std::string HexId(DWORD id) {
  char text[16];
  std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(id));
  return text;
}

// The bound function's result, or fallback when the library lacks the function.
template <typename Result, typename... Params, typename... Args>
Result CallOr(Result (*slot)(Params...), std::type_identity_t<Result> fallback, Args... args) {
  return slot != nullptr ? slot(args...) : fallback;
}

}  // namespace

CFTD2xxPort::~CFTD2xxPort() {
  if (module_ != nullptr)
    dlclose(module_);
}

void CFTD2xxPort::LoadFtd2xx() {
  if (module_ != nullptr)
    return;
  module_ = LoadRuntimeLibrary(RuntimeLibraryFile(kFtd2xxLibraryVariable, kFtd2xxLibraryFile));
  if (module_ == nullptr)
    return;
  Ftd2xxTable& t = table_;
  BindRuntimeFunction(module_, "FT_SetBaudRate", t.FT_SetBaudRate);
  BindRuntimeFunction(module_, "FT_SetLatencyTimer", t.FT_SetLatencyTimer);
  BindRuntimeFunction(module_, "FT_SetUSBParameters", t.FT_SetUSBParameters);
  BindRuntimeFunction(module_, "FT_ListDevices", t.FT_ListDevices);
  BindRuntimeFunction(module_, "FT_CreateDeviceInfoList", t.FT_CreateDeviceInfoList);
  BindRuntimeFunction(module_, "FT_GetDeviceInfoList", t.FT_GetDeviceInfoList);
  BindRuntimeFunction(module_, "FT_GetDeviceInfoDetail", t.FT_GetDeviceInfoDetail);
  BindRuntimeFunction(module_, "FT_ResetDevice", t.FT_ResetDevice);
  BindRuntimeFunction(module_, "FT_W32_CreateFile", t.FT_W32_CreateFile);
  BindRuntimeFunction(module_, "FT_W32_CloseHandle", t.FT_W32_CloseHandle);
  BindRuntimeFunction(module_, "FT_W32_ReadFile", t.FT_W32_ReadFile);
  BindRuntimeFunction(module_, "FT_W32_WriteFile", t.FT_W32_WriteFile);
  BindRuntimeFunction(module_, "FT_W32_GetLastError", t.FT_W32_GetLastError);
  BindRuntimeFunction(module_, "FT_W32_GetOverlappedResult", t.FT_W32_GetOverlappedResult);
  BindRuntimeFunction(module_, "FT_W32_ClearCommBreak", t.FT_W32_ClearCommBreak);
  BindRuntimeFunction(module_, "FT_W32_ClearCommError", t.FT_W32_ClearCommError);
  BindRuntimeFunction(module_, "FT_W32_EscapeCommFunction", t.FT_W32_EscapeCommFunction);
  BindRuntimeFunction(module_, "FT_W32_GetCommModemStatus", t.FT_W32_GetCommModemStatus);
  BindRuntimeFunction(module_, "FT_W32_GetCommState", t.FT_W32_GetCommState);
  BindRuntimeFunction(module_, "FT_W32_GetCommTimeouts", t.FT_W32_GetCommTimeouts);
  BindRuntimeFunction(module_, "FT_W32_PurgeComm", t.FT_W32_PurgeComm);
  BindRuntimeFunction(module_, "FT_W32_SetCommBreak", t.FT_W32_SetCommBreak);
  BindRuntimeFunction(module_, "FT_W32_SetCommMask", t.FT_W32_SetCommMask);
  BindRuntimeFunction(module_, "FT_W32_SetCommState", t.FT_W32_SetCommState);
  BindRuntimeFunction(module_, "FT_W32_SetCommTimeouts", t.FT_W32_SetCommTimeouts);
  BindRuntimeFunction(module_, "FT_W32_SetupComm", t.FT_W32_SetupComm);
  BindRuntimeFunction(module_, "FT_W32_WaitCommEvent", t.FT_W32_WaitCommEvent);
  BindRuntimeFunction(module_, "FT_SetVIDPID", t.FT_SetVIDPID);
  BindRuntimeFunction(module_, "FT_GetVIDPID", t.FT_GetVIDPID);
}

bool CFTD2xxPort::HasReaderFunctions() {
  LoadFtd2xx();
  const Ftd2xxTable& t = table_;
  return module_ != nullptr && t.FT_SetVIDPID != nullptr && t.FT_CreateDeviceInfoList != nullptr &&
         t.FT_GetDeviceInfoList != nullptr && t.FT_W32_CreateFile != nullptr &&
         t.FT_W32_CloseHandle != nullptr && t.FT_W32_ReadFile != nullptr &&
         t.FT_W32_WriteFile != nullptr && t.FT_W32_ClearCommError != nullptr &&
         t.FT_W32_GetCommModemStatus != nullptr;
}

void CFTD2xxPort::NameReaderIds() {
  if (table_.FT_SetVIDPID == nullptr)
    return;  // the lookup has said so already
  if (table_.FT_SetVIDPID(kFtdiReaderVendorId, kFtdiReaderProductId) == FT_OK)
    return;
  std::string text = "Fehler: FT_SetVIDPID(" + HexId(kFtdiReaderVendorId) + ", " +
                     HexId(kFtdiReaderProductId) + ") abgelehnt";
  DWORD vendor = 0;
  DWORD product = 0;
  if (table_.FT_GetVIDPID != nullptr && table_.FT_GetVIDPID(&vendor, &product) == FT_OK)
    text += ", eingestellt ist " + HexId(vendor) + ":" + HexId(product);
  DebugLog(text);
}

FT_STATUS CFTD2xxPort::FT_SetLatencyTimer(FT_HANDLE device, UCHAR milliseconds) {
  return CallOr(table_.FT_SetLatencyTimer, FT_INVALID_HANDLE, device, milliseconds);
}

FT_STATUS CFTD2xxPort::FT_CreateDeviceInfoList(DWORD* count) {
  LoadFtd2xx();
  NameReaderIds();
  if (table_.FT_CreateDeviceInfoList == nullptr) {
    DebugLog("FT_CreateDeviceInfoList ist nicht vorhanden!");
    return FT_INVALID_HANDLE;
  }
  return table_.FT_CreateDeviceInfoList(count);
}

FT_STATUS CFTD2xxPort::FT_GetDeviceInfoList(FT_DEVICE_LIST_INFO_NODE* records, DWORD* count) {
  LoadFtd2xx();
  if (table_.FT_GetDeviceInfoList == nullptr) {
    DebugLog("FT_GetDeviceInfoList ist nicht vorhanden!");
    return FT_INVALID_HANDLE;
  }
  return table_.FT_GetDeviceInfoList(records, count);
}

FT_HANDLE CFTD2xxPort::FT_W32_CreateFile(LPCSTR name, DWORD access, DWORD shareMode,
                                         SecurityAttributes* security, DWORD creation, DWORD flags,
                                         void* templateFile) {
  LoadFtd2xx();
  NameReaderIds();
  return CallOr(table_.FT_W32_CreateFile, InvalidHandleValue(), name, access, shareMode, security,
                creation, flags, templateFile);
}

BOOL CFTD2xxPort::FT_W32_CloseHandle(FT_HANDLE device) {
  return CallOr(table_.FT_W32_CloseHandle, kFalse, device);
}

BOOL CFTD2xxPort::FT_W32_ReadFile(FT_HANDLE device, void* buffer, DWORD size, DWORD* bytesRead,
                                  Overlapped* overlapped) {
  return CallOr(table_.FT_W32_ReadFile, kFalse, device, buffer, size, bytesRead, overlapped);
}

BOOL CFTD2xxPort::FT_W32_WriteFile(FT_HANDLE device, void* buffer, DWORD size, DWORD* bytesWritten,
                                   Overlapped* overlapped) {
  return CallOr(table_.FT_W32_WriteFile, kFalse, device, buffer, size, bytesWritten, overlapped);
}

DWORD CFTD2xxPort::FT_W32_GetLastError(FT_HANDLE device) {
  return CallOr(table_.FT_W32_GetLastError, kFalse, device);
}

BOOL CFTD2xxPort::FT_W32_ClearCommError(FT_HANDLE device, DWORD* errors, FTCOMSTAT* status) {
  return CallOr(table_.FT_W32_ClearCommError, kFalse, device, errors, status);
}

BOOL CFTD2xxPort::FT_W32_GetCommModemStatus(FT_HANDLE device, DWORD* modemStatus) {
  return CallOr(table_.FT_W32_GetCommModemStatus, kFalse, device, modemStatus);
}

BOOL CFTD2xxPort::FT_W32_GetCommState(FT_HANDLE device, FTDCB* dcb) {
  return CallOr(table_.FT_W32_GetCommState, kFalse, device, dcb);
}

BOOL CFTD2xxPort::FT_W32_PurgeComm(FT_HANDLE device, DWORD mask) {
  return CallOr(table_.FT_W32_PurgeComm, kFalse, device, mask);
}

BOOL CFTD2xxPort::FT_W32_SetCommMask(FT_HANDLE device, ULONG eventMask) {
  return CallOr(table_.FT_W32_SetCommMask, kFalse, device, eventMask);
}

BOOL CFTD2xxPort::FT_W32_SetCommState(FT_HANDLE device, FTDCB* dcb) {
  return CallOr(table_.FT_W32_SetCommState, kFalse, device, dcb);
}

BOOL CFTD2xxPort::FT_W32_SetCommTimeouts(FT_HANDLE device, FTTIMEOUTS* timeouts) {
  return CallOr(table_.FT_W32_SetCommTimeouts, kFalse, device, timeouts);
}

void CFTD2xxPort::ListFtdiDevices(std::vector<std::string>& list) {
  DWORD count = 0;
  if (FT_CreateDeviceInfoList(&count) != FT_OK || count == 0)
    return;
  std::vector<FT_DEVICE_LIST_INFO_NODE> records(count);
  DWORD filled = count;
  if (FT_GetDeviceInfoList(records.data(), &filled) != FT_OK)
    return;
  // The library fills at most the count it gave before; a larger answer (a device plugged in
  // between the two calls) must not make us read past the records we own.
  filled = std::min(filled, count);
  for (DWORD i = 0; i < filled; ++i) {
    const FT_DEVICE_LIST_INFO_NODE& record = records[i];
    if (record.ftHandle != nullptr)
      continue;
    // A serial number of 16 characters fills its field without a terminating NUL.
    const size_t length = strnlen(record.SerialNumber, sizeof(record.SerialNumber));
    if (length == 0)
      continue;
    list.emplace_back(record.SerialNumber, length);
  }
}

}  // namespace kxlf
