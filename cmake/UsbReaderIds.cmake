# The family's USB reader ids for build steps (the udev rules of the package), read from the one
# table in sdk/transport/usb_reader_ids.h, whose comment describes the entry form expected here.
#
# kx_usb_reader_ids(<variable>) sets <variable> to a list of "vvvv:pppp:Kind" entries (ids in
# lower case, as udev compares them), in table order. Configuring fails when the header holds no
# entry in that form, so a reformatted table cannot silently drop out of the package.
set(KX_USB_READER_IDS_HEADER ${CMAKE_CURRENT_LIST_DIR}/../sdk/transport/usb_reader_ids.h)

function(kx_usb_reader_ids variable)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${KX_USB_READER_IDS_HEADER})
  file(READ ${KX_USB_READER_IDS_HEADER} header)
  set(pattern "\\{0x([0-9A-Fa-f][0-9A-Fa-f][0-9A-Fa-f][0-9A-Fa-f]), 0x([0-9A-Fa-f][0-9A-Fa-f][0-9A-Fa-f][0-9A-Fa-f]), UsbReaderKind::k([A-Za-z]+)\\}")
  string(REGEX MATCHALL "${pattern}" entries "${header}")
  set(ids "")
  foreach(entry IN LISTS entries)
    string(REGEX REPLACE "${pattern}" "\\1:\\2:\\3" id "${entry}")
    string(REGEX MATCH "^[^:]+:[^:]+" numbers "${id}")
    string(REGEX REPLACE "^[^:]+:[^:]+" "" kind "${id}")
    string(TOLOWER "${numbers}" numbers)
    list(APPEND ids "${numbers}${kind}")
  endforeach()
  if(NOT ids)
    message(FATAL_ERROR "no USB reader ids found in ${KX_USB_READER_IDS_HEADER}")
  endif()
  set(${variable} ${ids} PARENT_SCOPE)
endfunction()
