// hid_write, left out of the variant that lacks a required function.
#include "fake_hid_bus.h"

KX_FAKE_HID_API int hid_write(kxfake::OpenHid* device, const unsigned char* data, size_t length) {
  return kxfake::FakeHidBus::Instance().Write(device, data, length);
}
