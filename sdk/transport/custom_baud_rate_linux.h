// Baud rates outside the termios speed table, set the way Linux offers them: termios2 with
// BOTHER and the rate as a number. The fixed table cannot carry a rate such as 14400 that
// stored settings may hold.
#pragma once

namespace kxlf {

// Asks the driver of the tty open on `fd` for `baudRate` in both directions and reads back
// what it set. False when the driver refuses the rate or settles on one that differs from it by
// more than a serial line tolerates.
bool SetCustomBaudRate(int fd, int baudRate);

}  // namespace kxlf
