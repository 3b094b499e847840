// The KxFakeHid_ functions with which tests steer the simulated devices.
#include "fake_hid_bus.h"

using kxfake::FakeHidBus;

void KxFakeHid_Reset() {
  FakeHidBus::Instance().Reset();
}

int KxFakeHid_AddDevice(const KxFakeHidDevice* device) {
  return device == nullptr ? 0 : FakeHidBus::Instance().Add(*device);
}

bool KxFakeHid_Unplug(int device) {
  return FakeHidBus::Instance().Unplug(device);
}

kxemu::ReaderModel* KxFakeHid_Model(int device) {
  return FakeHidBus::Instance().Model(device);
}

bool KxFakeHid_SetFaults(int device, const KxFakeHidFaults* faults) {
  return faults != nullptr && FakeHidBus::Instance().SetFaults(device, *faults);
}

int KxFakeHid_ControlValues(int device, uint8_t* values, int capacity) {
  return values == nullptr ? -1 : FakeHidBus::Instance().ControlValues(device, values, capacity);
}

int KxFakeHid_OpenCount(int device) {
  return FakeHidBus::Instance().OpenCount(device);
}
