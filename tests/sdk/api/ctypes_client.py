"""Uses libkxlf.so from Python through ctypes, with nothing but the library: opens the reader
named on the command line, reads its version and a list, and closes the connection."""
import ctypes
import sys


def main():
    library, port = sys.argv[1], sys.argv[2]
    sdk = ctypes.CDLL(library)
    sdk.KxLfOpen.argtypes = [ctypes.c_char_p, ctypes.c_int, ctypes.c_int, ctypes.c_int]
    handle = sdk.KxLfOpen(port.encode(), 19200, 0, 500)
    if handle <= 0:
        sys.exit(f"open failed: {handle}")
    version = ctypes.create_string_buffer(4)
    model = ctypes.create_string_buffer(32)
    length = sdk.KxLfGetVersion(handle, version, 4, model, 32)
    if length != 4:
        sys.exit(f"version failed: {length}, error {sdk.KxLfGetLastError(handle)}")
    small = ctypes.create_string_buffer(b"\x77" * 3, 3)
    if sdk.KxLfGetVersion(handle, small, 3, None, 0) != -1 or sdk.KxLfGetLastError(handle) != 8:
        sys.exit("a buffer one byte short must fail with error 8")
    if small.raw != b"\x77" * 3:
        sys.exit("a failed call must leave the buffer untouched")
    ports = ctypes.create_string_buffer(1)
    if sdk.KxLfListComPorts(ports, 1) != 1 or ports.raw != b"\0":
        sys.exit("a one-byte list buffer holds the empty list")
    if sdk.KxLfClose(handle) != 0 or sdk.KxLfGetLastError(handle) != 6:
        sys.exit("close failed")
    print(version.raw.decode(), model.value.decode())


if __name__ == "__main__":
    main()
