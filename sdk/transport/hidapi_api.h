// The part of hidapi's C interface that the SDK binds at run time. The library is not needed to
// build the SDK, only to use HID readers, so its header is not used either: these declarations
// follow hidapi's own (0.13 and later; hid_get_report_descriptor came with 0.14).
#pragma once

#include <cstddef>
#include <cwchar>

namespace kxlf::hidapi {

struct hid_device;  // opaque

// hidapi's device record. Later versions append fields; nothing here reads past `next`, and the
// records are only ever allocated by the library itself.
struct hid_device_info {
  char* path;
  unsigned short vendor_id;
  unsigned short product_id;
  wchar_t* serial_number;
  unsigned short release_number;
  wchar_t* manufacturer_string;
  wchar_t* product_string;
  unsigned short usage_page;
  unsigned short usage;
  int interface_number;
  hid_device_info* next;
};

using hid_init_t = int (*)();
using hid_exit_t = int (*)();
using hid_enumerate_t = hid_device_info* (*)(unsigned short vendor_id, unsigned short product_id);
using hid_free_enumeration_t = void (*)(hid_device_info* devices);
using hid_open_path_t = hid_device* (*)(const char* path);
using hid_close_t = void (*)(hid_device* device);
using hid_write_t = int (*)(hid_device* device, const unsigned char* data, size_t length);
using hid_read_timeout_t = int (*)(hid_device* device, unsigned char* data, size_t length,
                                   int milliseconds);
using hid_error_t = const wchar_t* (*)(hid_device* device);
using hid_get_report_descriptor_t = int (*)(hid_device* device, unsigned char* buffer, size_t size);

}  // namespace kxlf::hidapi
