// The hidapi functions that every variant of the test library exports.
#include "fake_hid_bus.h"

using kxfake::FakeHidBus;
using kxlf::hidapi::hid_device_info;
// hidapi's device type is opaque to its callers; here it is the bus's handle.
using hid_device = kxfake::OpenHid;

KX_FAKE_HID_API int hid_init() {
  FakeHidBus::Instance();
  return 0;
}

KX_FAKE_HID_API int hid_exit() {
  return 0;
}

KX_FAKE_HID_API hid_device_info* hid_enumerate(unsigned short vendor, unsigned short product) {
  return FakeHidBus::Instance().Enumerate(vendor, product);
}

KX_FAKE_HID_API void hid_free_enumeration(hid_device_info* devices) {
  FakeHidBus::FreeEnumeration(devices);
}

KX_FAKE_HID_API hid_device* hid_open_path(const char* path) {
  return FakeHidBus::Instance().Open(path);
}

KX_FAKE_HID_API void hid_close(hid_device* device) {
  FakeHidBus::Instance().Close(device);
}

KX_FAKE_HID_API int hid_read_timeout(hid_device* device, unsigned char* data, size_t length,
                                     int milliseconds) {
  return FakeHidBus::Instance().Read(device, data, length, milliseconds);
}

KX_FAKE_HID_API int hid_read(hid_device* device, unsigned char* data, size_t length) {
  return FakeHidBus::Instance().Read(device, data, length, -1);
}

KX_FAKE_HID_API const wchar_t* hid_error(hid_device* device) {
  return FakeHidBus::Instance().Error(device);
}
