// The D2XX functions that only the full test library exports; the partial variant leaves them
// out so that tests see how the SDK copes with a library that lacks them.
#include <type_traits>

#include "fake_device_bus.h"

using namespace kxlf::d2xx;
using kxfake::FakeDevice;
using kxfake::FakeDeviceBus;

namespace {

// The modem lines of the simulated converter: the reader holds CTS and DSR on.
constexpr DWORD kModemLines = MS_CTS_ON | MS_DSR_ON;

}  // namespace

KX_FAKE_FTDI_API FT_STATUS FT_SetLatencyTimer(FT_HANDLE handle, UCHAR milliseconds) {
  return FakeDeviceBus::Instance().OnOpenDevice(handle, FT_INVALID_HANDLE, FT_IO_ERROR,
                                                [&](FakeDevice& device) {
                                                  device.settings.latencyTimer = milliseconds;
                                                  return FT_OK;
                                                });
}

KX_FAKE_FTDI_API FT_STATUS FT_GetDeviceInfoList(FT_DEVICE_LIST_INFO_NODE* records, DWORD* count) {
  return FakeDeviceBus::Instance().GetDeviceInfoList(records, count);
}

KX_FAKE_FTDI_API BOOL FT_W32_SetCommState(FT_HANDLE handle, FTDCB* dcb) {
  if (dcb == nullptr || dcb->BaudRate == 0)
    return kFalse;
  return FakeDeviceBus::Instance().OnOpenDevice(handle, kFalse, [&](FakeDevice& device) {
    device.settings.dcb = *dcb;
    return kTrue;
  });
}

KX_FAKE_FTDI_API BOOL FT_W32_ClearCommError(FT_HANDLE handle, DWORD* errors, FTCOMSTAT* status) {
  if (errors == nullptr || status == nullptr)
    return kFalse;
  return FakeDeviceBus::Instance().OnOpenDevice(handle, kFalse, [&](FakeDevice& device) {
    device.DeliverDue();
    *errors = 0;
    *status = FTCOMSTAT{};
    status->cbInQue = static_cast<DWORD>(device.received.size());
    status->cbOutQue = 0;  // written bytes reach the reader at once
    return kTrue;
  });
}

KX_FAKE_FTDI_API BOOL FT_W32_GetCommModemStatus(FT_HANDLE handle, DWORD* modemStatus) {
  if (modemStatus == nullptr)
    return kFalse;
  return FakeDeviceBus::Instance().OnOpenDevice(handle, kFalse, [&](FakeDevice&) {
    *modemStatus = kModemLines;
    return kTrue;
  });
}

static_assert(std::is_same_v<decltype(&FT_SetLatencyTimer), FT_SetLatencyTimer_t>);
static_assert(std::is_same_v<decltype(&FT_GetDeviceInfoList), FT_GetDeviceInfoList_t>);
static_assert(std::is_same_v<decltype(&FT_W32_SetCommState), FT_W32_SetCommState_t>);
static_assert(std::is_same_v<decltype(&FT_W32_ClearCommError), FT_W32_ClearCommError_t>);
static_assert(std::is_same_v<decltype(&FT_W32_GetCommModemStatus), FT_W32_GetCommModemStatus_t>);
