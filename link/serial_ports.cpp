#include "link/serial_ports.h"

#include <grp.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace korvane {
namespace {

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// A ttyS port is listed when the kernel knows a UART behind it: its sysfs
// "type" is not 0 (PORT_UNKNOWN).
bool SerialPortAnswers(const std::string& sysRoot, const std::string& name) {
  std::ifstream type(sysRoot + "class/tty/" + name + "/type");
  int value = 0;
  return type >> value && value != 0;
}

std::string GroupOf(const std::string& device) {
  struct stat st {};
  if (::stat(device.c_str(), &st) != 0) return {};
  if (const group* g = ::getgrgid(st.st_gid)) return g->gr_name;
  return std::to_string(st.st_gid);
}

}  // namespace

std::string DevicePathOfPort(std::string_view port) {
  if (port.size() == 4 && (port[0] == 'C' || port[0] == 'c') && (port[1] == 'O' || port[1] == 'o') &&
      (port[2] == 'M' || port[2] == 'm') && port[3] >= '1' && port[3] <= '4') {
    return "/dev/ttyS" + std::string(1, static_cast<char>(port[3] - 1));
  }
  return std::string(port);
}

std::vector<std::string> ListSerialDevices(const std::string& devRoot, const std::string& sysRoot) {
  namespace fs = std::filesystem;
  std::vector<std::string> devices;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(devRoot, ec)) {
    const std::string name = entry.path().filename().string();
    if (StartsWith(name, "ttyUSB") || StartsWith(name, "ttyACM") ||
        (StartsWith(name, "ttyS") && SerialPortAnswers(sysRoot, name))) {
      devices.push_back(devRoot + name);
    }
  }
  for (const auto& entry : fs::directory_iterator(devRoot + "serial/by-id", ec)) {
    devices.push_back(entry.path().string());
  }
  std::sort(devices.begin(), devices.end());
  return devices;
}

PortFailure DescribePortFailure(const std::string& device, int error) {
  PortFailure failure;
  failure.device = device;
  failure.systemText = std::strerror(error);
  switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
      failure.problem = PortProblem::Missing;
      break;
    case EACCES:
    case EPERM:
      failure.problem = PortProblem::NoPermission;
      failure.group = GroupOf(device);
      break;
    case EBUSY:
      failure.problem = PortProblem::InUse;
      break;
    default:
      failure.problem = PortProblem::Other;
      break;
  }
  return failure;
}

}  // namespace korvane
