#pragma once
// Serial ports by the names the settings hold: "COM1" to "COM4" are the first
// four serial ports (/dev/ttyS0 to /dev/ttyS3), any other value is a device
// path. Also which serial devices the machine has, and why a device could not
// be opened, in words a user can act on.

#include <string>
#include <string_view>
#include <vector>

namespace korvane {

// "COM1".."COM4" (any letter case) as /dev/ttyS0../dev/ttyS3; anything else
// as it stands.
std::string DevicePathOfPort(std::string_view port);

// The serial devices under `devRoot` (normally "/dev/"): ttyUSB*, ttyACM*, the
// ttyS* whose port answers (their UART is known to the kernel, read from
// `sysRoot`, normally "/sys/"), and the stable names in serial/by-id/. Sorted.
std::vector<std::string> ListSerialDevices(const std::string& devRoot = "/dev/",
                                           const std::string& sysRoot = "/sys/");

enum class PortProblem { Missing, NoPermission, InUse, Other };

struct PortFailure {
  PortProblem problem = PortProblem::Other;
  std::string device;
  std::string group;      // NoPermission: the group that owns the device
  std::string systemText; // the system's description of the error
};

// Why `device` could not be opened with errno `error`.
PortFailure DescribePortFailure(const std::string& device, int error);

}  // namespace korvane
