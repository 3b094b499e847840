/* A plain C program that uses the SDK with nothing but kxlf.h and libkxlf.so. It opens the
 * reader named on its command line, prints its version and model name, and exits without
 * closing the connection: the SDK must close it at process end. */
#include <stdio.h>

#include "kxlf.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: %s <port name>\n", argv[0]);
    return 2;
  }
  int handle = KxLfOpen(argv[1], 19200, 0, 500);
  if (handle <= 0) {
    fprintf(stderr, "open failed: %d\n", handle);
    return 1;
  }
  unsigned char version[4];
  char model[32];
  int length = KxLfGetVersion(handle, version, (int)sizeof version, model, (int)sizeof model);
  if (length != 4) {
    fprintf(stderr, "version failed: %d, error %d\n", length, KxLfGetLastError(handle));
    return 1;
  }
  printf("%.4s %s\n", (const char*)version, model);
  return 0;
}
