# The udev rules of the program package, written from the SDK's table of USB reader ids so that
# the two never drift apart: the logged-in user may open every reader (uaccess), and ModemManager
# leaves the readers alone, since its probing of a virtual COM port would disturb the reader.
# kx_write_udev_rules(<file>)
include(${PROJECT_SOURCE_DIR}/cmake/UsbReaderIds.cmake)

function(kx_write_udev_rules file)
  kx_usb_reader_ids(ids)
  set(rules "# KX family readers for the logged-in user; written from the reader library's id table.\n")
  foreach(entry IN LISTS ids)
    string(REPLACE ":" ";" fields "${entry}")
    list(GET fields 0 vendor)
    list(GET fields 1 product)
    list(GET fields 2 kind)
    set(match "ATTRS{idVendor}==\"${vendor}\", ATTRS{idProduct}==\"${product}\"")
    # The USB device itself: the D2XX library and hidapi's libusb side open it.
    string(APPEND rules "SUBSYSTEM==\"usb\", ENV{DEVTYPE}==\"usb_device\", ${match}, "
                        "ENV{ID_MM_DEVICE_IGNORE}=\"1\", TAG+=\"uaccess\"\n")
    if(kind STREQUAL "Hid")
      string(APPEND rules "SUBSYSTEM==\"hidraw\", ${match}, TAG+=\"uaccess\"\n")
    else()
      string(APPEND rules "SUBSYSTEM==\"tty\", ${match}, "
                          "ENV{ID_MM_DEVICE_IGNORE}=\"1\", TAG+=\"uaccess\"\n")
    endif()
  endforeach()
  file(CONFIGURE OUTPUT ${file} CONTENT "${rules}" @ONLY)
endfunction()
