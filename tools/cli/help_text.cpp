#include "help_text.h"

namespace kx::cli {

namespace {

constexpr const char* kGlobalOptions = R"(Global options (before or after the command):
  --port NAME     the reader's port: a device path (/dev/ttyUSB0), COMn, an FTDI serial number,
                  a LAN reader (192.168.1.20, 192.168.1.20-10001, [LAB01]) or a line of
                  'kx-cli ports' or 'kx-cli lan list'; ":N" at the end picks device address N.
                  Default: the interface stored by the desktop program (Port/Name, Port/Adresse).
  --baud N        baud rate (default: the stored one, else 19200)
  --serial F      8N1, 8E1, 8O1 or 8N2 (default: the stored one, else 8N1)
  --timeout MS    answer timeout in milliseconds, 10 to 300000 (default 500)
  --json          one JSON object per line on standard output
  --quiet         no progress on standard error and no success lines; errors still show
  --help          this text; 'kx-cli COMMAND --help' explains a command
  --version       the version of kx-cli
)";

constexpr const char* kJobOptions =
    R"(  --type T        read-only, ti-rw, ti-multipage, ti-hdx+, incide-hdx, sic7900, sic7999,
                  em4017, a label of the program ("TI Multi Page") in any letter case, or 0-7
  --start B       start block (default 1; Read Only and TI Read / Write always use block 0)
  --length N      length in bytes (default 4; Read Only and TI Read / Write always use 8)
  --format F      hex-binary, hex-ascii, decimal-binary, decimal-ascii, data-binary,
                  data-ascii, or 0-5 (default hex-binary)
)";

constexpr const char* kExitCodes = R"(Exit codes:
  0  success
  2  usage or validation error (nothing was sent to the reader); for program also values
     used up or a state file that cannot be used
  3  no reader at the port (or a reader kx-cli does not support); lan: no network module
     answers as READER, or after lan set none under its new address
  4  no transponder in the field
  5  verification failed: the transponder holds other data than was written
  6  any other reader error
  7  tune: the chip cannot be tuned into its window
  130  program: stopped by Ctrl-C or SIGTERM (the state file holds the progress)
)";

std::string Overview() {
  return std::string(R"(kx-cli: reads and programs 134.2 kHz transponders through a KX reader.

Usage: kx-cli [global options] COMMAND [options] [VALUE]

Commands:
  ports       list the serial ports and USB readers
  identify    show the reader's model, type code and firmware
  read        read a transponder once and print the value
  write       write a value to a transponder once
  uid         read a transponder's UID
  program     write counting values to one transponder after another
  tune        tune a SIC7999's resonance, or measure it
  hdx-config  read or write a TI HDX+ transponder's configuration byte
  lan         list the readers on the local networks, show or set a reader's network settings

)") + kGlobalOptions +
         "\n" + kExitCodes + R"(
Examples:
  kx-cli ports
  kx-cli --port /dev/ttyUSB0 identify
  kx-cli read --type ti-multipage --length 8
  kx-cli write --type em4017 --format decimal-ascii --verify 4711
  kx-cli program --type ti-multipage --count 100 --state job.state 00000001
  kx-cli lan list
  kx-cli --port [LAB01] read --type ti-multipage
)";
}

std::string Ports() {
  return std::string(R"(Usage: kx-cli ports [global options]

Lists the serial ports and USB readers as the desktop program's interface dialog does (LAN
readers too when Ethernet is switched on there). Each line can be given to --port as it is.
With --json every port is one object: {"command":"ports","ok":true,"kind":"com","entry":...,
"port":...}.

)") + kGlobalOptions +
         R"(
Examples:
  kx-cli ports
  kx-cli ports --json
)";
}

std::string Identify() {
  return std::string(R"(Usage: kx-cli identify [global options]

Connects as the program does and prints the reader's model name, its type code and its
firmware ("FW V1.05"). A reader of a model that kx-cli does not support ends with exit code 3.

)") + kGlobalOptions +
         "\n" + kExitCodes + R"(
Examples:
  kx-cli identify
  kx-cli --port /dev/ttyUSB0:2 --baud 9600 --serial 8E1 identify --json
)";
}

std::string Read() {
  return std::string(
             R"(Usage: kx-cli read --type T [--start B] [--length N] [--format F] [--log FILE]

Reads the transponder once, as the program's single read does (SIC7900 and SIC7999 are
selected by their UID first, TI HDX+ reads every second block number, decimal-binary reads one
block), and prints the value in the format.

)") + kJobOptions +
         R"(  --log FILE      append a line to this read log (the program's log format)

)" + kGlobalOptions +
         "\n" + kExitCodes + R"(
Examples:
  kx-cli read --type ti-multipage
  kx-cli read --type "SIC7999 / SIC279" --start 4 --length 8 --format data-binary
  kx-cli read --type em4017 --format 3 --json --log reads.txt
)";
}

std::string Write() {
  return std::string(
             R"(Usage: kx-cli write --type T [--start B] [--length N] [--format F] [--leading-zeros]
                    [--extra-text] [--verify] [--log FILE] VALUE

Writes VALUE once, as the program's single write does: the value is checked and converted
before anything is sent (exit code 2 when it does not suit the format and length), then one
block write per block follows. Prints the program's success line, e.g.
"Value <1A2B> written successfully".

)") + kJobOptions +
         R"(  --leading-zeros pad hex-ascii and decimal-ascii values with "0" to the length
  --extra-text    allow text around the number (hex-ascii and decimal-ascii)
  --verify        read the blocks back; exit code 5 when they differ
  --log FILE      append a line to this write log (the program's log format)

'--' ends the options, for a VALUE that begins with '-'.

)" + kGlobalOptions +
         "\n" + kExitCodes + R"(
Examples:
  kx-cli write --type ti-multipage 1A2B
  kx-cli write --type em4017 --format decimal-binary --length 4 --verify 4711
  kx-cli write --type ti-hdx+ --start 2 --length 16 --format data-ascii "LINE 7"
)";
}

std::string Uid() {
  return std::string(R"(Usage: kx-cli uid --type T [--format F]

Reads the transponder's 8-byte UID, as the program's UID read does, and prints all 8 bytes in
the format.

  --type T        as for read
  --format F      as for read (default hex-binary)

)") + kGlobalOptions +
         "\n" + kExitCodes + R"(
Examples:
  kx-cli uid --type sic7999
  kx-cli uid --type ti-multipage --format data-binary --json
)";
}

std::string Program() {
  return std::string(R"(Usage: kx-cli program --type T [--start B] [--length N] [--format F]
                      [--leading-zeros] [--extra-text] [--log FILE] --count N
                      [--state FILE] VALUE

Writes VALUE to the first transponder, VALUE + 1 to the next and so on, until N transponders
are done or Ctrl-C is pressed. For each transponder it waits until one with a new UID lies on
the reader, writes, reads the blocks back and compares them (a transponder that fails is
reported and skipped; its value goes to the next one; --verify is implied), rings the terminal
bell (when standard error is a terminal and the desktop program's beep time is not 0), logs the
success, then waits until the transponder has left the field. Progress goes to standard error.
Only the number formats (hex-binary, hex-ascii, decimal-binary, decimal-ascii) can count up; a
value that would wrap round or outgrow --length ends the job (exit code 2).

With --state FILE the run can be continued: the next value is stored before each transponder
is written and after each success, and a new run with the same FILE and the same job continues
where the last one ended, after a crash, a power loss or Ctrl-C, without writing a value twice
or skipping one. --count counts the transponders of the whole job. If the run ended while a
transponder was being written, or a transponder left the field before its value could be
checked, kx-cli first asks for that transponder again and finishes it. To give up on it, stop
kx-cli and empty the PendingUid line of FILE: the value then goes to the next transponder.

)") + kJobOptions +
         R"(  --leading-zeros, --extra-text   as for write
  --log FILE      append a line per success to this write log
  --count N       number of transponders of the job
  --state FILE    state file of the job (without it the run cannot be continued); FILE.lock
                  keeps a second run off the same job

)" + kGlobalOptions +
         "\n" + kExitCodes + R"(
Examples:
  kx-cli program --type ti-multipage --count 500 --state line3.state --log line3.txt 00010000
  kx-cli program --type em4017 --format decimal-ascii --length 8 --leading-zeros \
                 --count 20 --state batch.state 1
)";
}

std::string Tune() {
  return std::string(R"(Usage: kx-cli tune [--wait]
       kx-cli tune --measure [--setting S] [--wait]
       kx-cli tune --ctune N [--setting S] [--wait]

Tunes the SIC7999 / SIC279 transponder in the field as the program's "Autotune" does: the
resonance is measured at CTune 96 and 32 with both frequency settings, the CTune for the targets
is computed and adjusted by up to two steps, and the result is checked with setting 1. Prints
the CTune found and the final frequencies of both settings, e.g.
"CTune 61: 134604 Hz with setting 0, 124180 Hz with setting 1". The chip keeps the CTune of the
last measurement, also when the tuning fails (exit code 7, with the tuning's code and why:
1 measurements unsteady, 3 frequency outside its window, 4 CTune outside 1 to 126).

Setting 0 aims at 134600 Hz (134400 to 134800), setting 1 at 124200 Hz (122600 to 125800; the
final check of the tuning accepts 122200 to 126200).

  --measure       one measurement of the chip's present tuning instead: frequency, duration
                  (2048000000 / frequency, in µs) and deviation from the setting's target
  --ctune N       send CTune N (0 to 255) to the chip with one measurement, as "Send" does
  --setting S     frequency setting 0 or 1 of that measurement (default 1)
  --wait          wait for a transponder first, and after the work until it has left the
                  field, so that a line can call kx-cli once per chip (Ctrl-C stops)

With --json the result is one object with "ctune", "frequency_setting0" and
"frequency_setting1" (tuning) or "frequency", "period_us", "deviation", "in_window"
(measurement); a tuning failure carries "code" and the values reached.

)") + kGlobalOptions +
         "\n" + kExitCodes + R"(
Examples:
  kx-cli tune
  kx-cli tune --measure --setting 0 --json
  kx-cli tune --ctune 61 --setting 1
  while kx-cli tune --wait; do :; done
)";
}

std::string HdxConfig() {
  return std::string(R"(Usage: kx-cli hdx-config read [--wait]
       kx-cli hdx-config write [--life-cycle N] [--q-factor low|high] [--discharge on|off]
                               [--rfu N] [--wait]

Reads or writes the configuration byte of the TI HDX+ (TMS37190) transponder in the field, as
the program's "Set Config TI HDX+" window does. Bits 0-2 hold the IC life cycle, bit 3 the Q
factor (1 = HighQ), bit 4 discharge (1 = on), bits 5-7 are reserved (RFU). read prints the byte
and its fields, e.g. "B5: life cycle 5, LowQ, discharge on, RFU 5".

write composes the byte from the options; fields not given keep the chip's present values (the
byte is read first). The byte is read back afterwards; exit code 5 when the chip holds another.

  --life-cycle N  IC life cycle, 0 to 7 (anything else is refused and nothing is sent)
  --q-factor Q    low or high
  --discharge D   on or off
  --rfu N         the reserved bits; only the lowest three bits of N are written (9 as 1)
  --wait          wait for a transponder first, and after the work until it has left the
                  field (Ctrl-C stops)

)") + kGlobalOptions +
         "\n" + kExitCodes + R"(
Examples:
  kx-cli hdx-config read
  kx-cli hdx-config write --life-cycle 7 --q-factor high --discharge off --rfu 2
  kx-cli hdx-config write --discharge on --wait --json
)";
}

std::string Lan() {
  return std::string(R"(Usage: kx-cli lan list [--all]
       kx-cli lan show READER
       kx-cli lan set READER [--dhcp NAME | --address A] [--port P] [--mask M] [--gateway G]

Finds the readers on the local networks and shows or changes the network settings of their
network module (UDP port 30718), as the desktop program's IP list and LAN configuration
windows do. The search broadcasts on every network adapter that is up.

list      searches (about a second per adapter) and prints one reader per line, as READER and
          --port take it: a fixed address as 192.168.1.20-10001, a DHCP reader as
          [LAB01]192.168.1.33-10001. --all adds the devices that answered but are no readers
          of the KX family (marked "not confirmed"). JSON: "entry", "reader" (the short name,
          [LAB01] for a DHCP reader), "confirmed", "dhcp", "dhcp_name", "address", "port".
show      prints the reader's settings: mode (DHCP or fixed address), DHCP name, fixed address,
          TCP port, subnet mask and gateway.
set       changes them. What is not given stays as the reader has it. The settings are written,
          then kx-cli probes every 100 ms for up to 25 s for the reader under its new name
          ([NAME]-PORT or ADDRESS-PORT), reads its settings back and prints them. A reader that
          does not answer under its new name ends with exit code 3, settings that differ from
          those written with exit code 5.

  --all           list: also devices that failed the identity test
  --dhcp NAME     set: the reader takes its address from DHCP under NAME (1 to 15 characters:
                  letters, digits and punctuation, no blanks, '[', ']' or ':')
  --address A     set: a fixed IPv4 address (not 0.0.0.0, loopback, multicast or broadcast)
  --port P        set: the TCP port on which the reader accepts the connection, 1 to 65535
                  (for lan, --port is this number, not the reader; the reader is READER)
  --mask M        set: the subnet mask, e.g. 255.255.255.0
  --gateway G     set: the gateway, 0.0.0.0 for none

--dhcp and --address exclude each other. Anything wrong with them ends with exit code 2
before anything is sent. KX_CLI_LAN_WAIT_MS (0 to 25000) shortens the wait after a write.

)") + kGlobalOptions +
         "\n" + kExitCodes + R"(
Examples:
  kx-cli lan list
  kx-cli lan list --all --json
  kx-cli lan show [LAB01]
  kx-cli lan set [LAB01] --address 192.168.1.20 --mask 255.255.255.0 --gateway 192.168.1.1
  kx-cli lan set 192.168.1.20-10001 --dhcp LAB01
  kx-cli lan set [LAB01] --port 4001
  kx-cli --port [LAB01] identify
)";
}

}  // namespace

std::string HelpText(Command command) {
  switch (command) {
    case Command::kPorts:
      return Ports();
    case Command::kIdentify:
      return Identify();
    case Command::kRead:
      return Read();
    case Command::kWrite:
      return Write();
    case Command::kUid:
      return Uid();
    case Command::kProgram:
      return Program();
    case Command::kTune:
      return Tune();
    case Command::kHdxConfig:
      return HdxConfig();
    case Command::kLan:
      return Lan();
    case Command::kNone:
      break;
  }
  return Overview();
}

std::string VersionText() {
  return std::string("kx-cli ") + KX_CLI_VERSION + "\n";
}

}  // namespace kx::cli
