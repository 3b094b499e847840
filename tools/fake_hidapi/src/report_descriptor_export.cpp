// hid_get_report_descriptor (hidapi 0.14 and later), left out of the variant that stands for an
// older library.
#include "fake_hid_bus.h"

KX_FAKE_HID_API int hid_get_report_descriptor(kxfake::OpenHid* device, unsigned char* buffer,
                                              size_t size) {
  return kxfake::FakeHidBus::Instance().Descriptor(device, buffer, size);
}
