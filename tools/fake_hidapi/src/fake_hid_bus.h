// The simulated HID devices behind the test build of hidapi: readers plugged in by tests (each
// with an emulated reader in this process) and readers that emulator processes serve on a bus
// folder (KX_FAKE_HID_BUS, kxemu/hid_server.h). Every exported function goes through the one
// bus object; local devices are guarded by its lock, so a test's thread may plug and unplug
// while the SDK reads.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "kx_fake_hidapi/fake_hid_control.h"
#include "kxemu/hid_reports.h"
#include "kxemu/reader_model.h"
#include "transport/hidapi_api.h"

namespace kxfake {

using Clock = std::chrono::steady_clock;
using kxlf::hidapi::hid_device_info;

struct LocalHidDevice {
  LocalHidDevice(int number, const kxemu::HidIdentity& identity, const kxemu::ReaderConfig& config)
      : id(number), identity(identity), model(config) {}

  std::string Path() const;

  int id;
  int hidrawNode = -1;
  kxemu::HidIdentity identity;
  kxemu::ReaderModel model;
  bool plugged = true;
  KxFakeHidFaults faults;
  std::vector<uint8_t> controlValues;
  int openCount = 0;

  struct DuePiece {
    Clock::time_point due;
    kxemu::Bytes bytes;
  };
  std::deque<DuePiece> pending;
  Clock::time_point lastDue{};
};

// What hid_open_path hands out.
struct OpenHid {
  std::shared_ptr<LocalHidDevice> local;  // or
  int remote = -1;                        // a connection to an emulator on the bus folder
  kxemu::HidIdentity identity;
  std::deque<kxemu::Bytes> reports;  // input reports arrived for this handle, not read yet
  std::wstring lastError;
};

class FakeHidBus {
 public:
  static FakeHidBus& Instance();
  FakeHidBus();

  hid_device_info* Enumerate(unsigned short vendor, unsigned short product);
  static void FreeEnumeration(hid_device_info* devices);
  OpenHid* Open(const char* path);
  void Close(OpenHid* handle);
  int Write(OpenHid* handle, const unsigned char* data, size_t length);
  int Read(OpenHid* handle, unsigned char* data, size_t length, int milliseconds);
  int Descriptor(OpenHid* handle, unsigned char* buffer, size_t size);
  const wchar_t* Error(OpenHid* handle);

  void Reset();
  int Add(const KxFakeHidDevice& device);
  bool Unplug(int device);
  kxemu::ReaderModel* Model(int device);
  bool SetFaults(int device, const KxFakeHidFaults& faults);
  int ControlValues(int device, uint8_t* values, int capacity);
  int OpenCount(int device);

 private:
  std::shared_ptr<LocalHidDevice> Find(int device);
  void AddFromEnvironment();
  // Moves the answer pieces whose time has come into every open handle's reports.
  void DeliverDue(LocalHidDevice& device);
  int ReadLocal(std::unique_lock<std::mutex>& lock, OpenHid& handle, unsigned char* data,
                size_t length, int milliseconds);
  static int ReadRemote(OpenHid& handle, unsigned char* data, size_t length, int milliseconds);

  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::shared_ptr<LocalHidDevice>> devices_;  // plugged in, in plug order
  std::vector<OpenHid*> open_;
  int nextId_ = 1;
};

}  // namespace kxfake
