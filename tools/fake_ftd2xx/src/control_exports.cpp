// The KxFakeFtdi_ functions with which tests steer the simulated devices.
#include "fake_device_bus.h"

using kxfake::FakeDeviceBus;

void KxFakeFtdi_Reset() {
  FakeDeviceBus::Instance().Reset();
}

bool KxFakeFtdi_AddDevice(const char* serial, const char* description,
                          const kxemu::ReaderConfig* config) {
  return KxFakeFtdi_AddDeviceWithIds(serial, description, KX_FAKE_FTDI_READER_VENDOR,
                                     KX_FAKE_FTDI_READER_PRODUCT, config);
}

bool KxFakeFtdi_AddDeviceWithIds(const char* serial, const char* description, uint32_t vendor,
                                 uint32_t product, const kxemu::ReaderConfig* config) {
  if (serial == nullptr)
    return false;
  return FakeDeviceBus::Instance().AddDevice(serial, description != nullptr ? description : "",
                                             vendor, product,
                                             config != nullptr ? *config : kxemu::ReaderConfig{});
}

bool KxFakeFtdi_Unplug(const char* serial) {
  return serial != nullptr && FakeDeviceBus::Instance().Unplug(serial);
}

kxemu::ReaderModel* KxFakeFtdi_Model(const char* serial) {
  return serial == nullptr ? nullptr : FakeDeviceBus::Instance().Model(serial);
}

bool KxFakeFtdi_Settings(const char* serial, KxFakeFtdiSettings* settings) {
  return serial != nullptr && settings != nullptr &&
         FakeDeviceBus::Instance().Settings(serial, *settings);
}
