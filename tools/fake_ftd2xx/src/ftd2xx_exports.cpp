// The D2XX functions that every variant of the test library exports.
#include <algorithm>
#include <cstring>
#include <type_traits>

#include "fake_device_bus.h"

using namespace kxlf::d2xx;
using kxfake::FakeDevice;
using kxfake::FakeDeviceBus;

KX_FAKE_FTDI_API FT_STATUS FT_CreateDeviceInfoList(DWORD* count) {
  return FakeDeviceBus::Instance().CreateDeviceInfoList(count);
}

KX_FAKE_FTDI_API FT_STATUS FT_SetVIDPID(DWORD vendor, DWORD product) {
  return FakeDeviceBus::Instance().SetVidPid(vendor, product);
}

KX_FAKE_FTDI_API FT_STATUS FT_GetVIDPID(DWORD* vendor, DWORD* product) {
  return FakeDeviceBus::Instance().GetVidPid(vendor, product);
}

KX_FAKE_FTDI_API FT_HANDLE FT_W32_CreateFile(LPCSTR name, DWORD access, DWORD shareMode,
                                             SecurityAttributes*, DWORD creation, DWORD flags,
                                             void*) {
  KxFakeFtdiSettings arguments;
  arguments.openAccess = access;
  arguments.openShareMode = shareMode;
  arguments.openCreation = creation;
  arguments.openFlags = flags;
  return FakeDeviceBus::Instance().Open(name, arguments);
}

KX_FAKE_FTDI_API BOOL FT_W32_CloseHandle(FT_HANDLE handle) {
  return FakeDeviceBus::Instance().Close(handle) ? kTrue : kFalse;
}

// Never blocks: the SDK sets reads to return at once with what is waiting.
KX_FAKE_FTDI_API BOOL FT_W32_ReadFile(FT_HANDLE handle, void* buffer, DWORD size, DWORD* bytesRead,
                                      Overlapped*) {
  if (buffer == nullptr || bytesRead == nullptr)
    return kFalse;
  return FakeDeviceBus::Instance().OnOpenDevice(handle, kFalse, [&](FakeDevice& device) {
    device.DeliverDue();
    const DWORD count = static_cast<DWORD>(std::min<size_t>(size, device.received.size()));
    std::copy_n(device.received.begin(), count, static_cast<uint8_t*>(buffer));
    device.received.erase(device.received.begin(), device.received.begin() + count);
    *bytesRead = count;
    return kTrue;
  });
}

KX_FAKE_FTDI_API BOOL FT_W32_WriteFile(FT_HANDLE handle, void* buffer, DWORD size,
                                       DWORD* bytesWritten, Overlapped*) {
  if (buffer == nullptr || bytesWritten == nullptr)
    return kFalse;
  return FakeDeviceBus::Instance().OnOpenDevice(handle, kFalse, [&](FakeDevice& device) {
    device.Feed(static_cast<const uint8_t*>(buffer), size);
    *bytesWritten = size;
    return kTrue;
  });
}

KX_FAKE_FTDI_API DWORD FT_W32_GetLastError(FT_HANDLE handle) {
  return FakeDeviceBus::Instance().LastError(handle);
}

KX_FAKE_FTDI_API BOOL FT_W32_GetCommState(FT_HANDLE handle, FTDCB* dcb) {
  if (dcb == nullptr)
    return kFalse;
  return FakeDeviceBus::Instance().OnOpenDevice(handle, kFalse, [&](FakeDevice& device) {
    *dcb = device.settings.dcb;
    return kTrue;
  });
}

KX_FAKE_FTDI_API BOOL FT_W32_PurgeComm(FT_HANDLE handle, DWORD mask) {
  return FakeDeviceBus::Instance().OnOpenDevice(handle, kFalse, [&](FakeDevice& device) {
    device.settings.purgeMask |= mask;
    if ((mask & PURGE_RXCLEAR) != 0) {
      device.DeliverDue();
      device.received.clear();
    }
    return kTrue;
  });
}

KX_FAKE_FTDI_API BOOL FT_W32_SetCommMask(FT_HANDLE handle, ULONG eventMask) {
  return FakeDeviceBus::Instance().OnOpenDevice(handle, kFalse, [&](FakeDevice& device) {
    device.settings.commMask = eventMask;
    return kTrue;
  });
}

KX_FAKE_FTDI_API BOOL FT_W32_SetCommTimeouts(FT_HANDLE handle, FTTIMEOUTS* timeouts) {
  if (timeouts == nullptr)
    return kFalse;
  return FakeDeviceBus::Instance().OnOpenDevice(handle, kFalse, [&](FakeDevice& device) {
    device.settings.timeouts = *timeouts;
    device.settings.timeoutsSet = true;
    return kTrue;
  });
}

static_assert(std::is_same_v<decltype(&FT_SetVIDPID), FT_SetVIDPID_t>);
static_assert(std::is_same_v<decltype(&FT_GetVIDPID), FT_GetVIDPID_t>);
static_assert(std::is_same_v<decltype(&FT_CreateDeviceInfoList), FT_CreateDeviceInfoList_t>);
static_assert(std::is_same_v<decltype(&FT_W32_CreateFile), FT_W32_CreateFile_t>);
static_assert(std::is_same_v<decltype(&FT_W32_CloseHandle), FT_W32_CloseHandle_t>);
static_assert(std::is_same_v<decltype(&FT_W32_ReadFile), FT_W32_ReadFile_t>);
static_assert(std::is_same_v<decltype(&FT_W32_WriteFile), FT_W32_WriteFile_t>);
static_assert(std::is_same_v<decltype(&FT_W32_GetLastError), FT_W32_GetLastError_t>);
static_assert(std::is_same_v<decltype(&FT_W32_GetCommState), FT_W32_GetCommState_t>);
static_assert(std::is_same_v<decltype(&FT_W32_PurgeComm), FT_W32_PurgeComm_t>);
static_assert(std::is_same_v<decltype(&FT_W32_SetCommMask), FT_W32_SetCommMask_t>);
static_assert(std::is_same_v<decltype(&FT_W32_SetCommTimeouts), FT_W32_SetCommTimeouts_t>);
