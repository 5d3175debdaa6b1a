#include "platform/serial_port_list.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <set>
#include <system_error>

#include "platform/serial_port.h"
#include "platform/text_helpers.h"

namespace qelto::platform {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> sortedNames(const fs::path& dir,
                                     const std::function<bool(const fs::directory_entry&)>& keep) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        if (keep(*it)) {
            names.push_back(it->path().filename().string());
        }
    }
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return naturalLess(a, b); });
    return names;
}

bool startsWith(const std::string& name, std::string_view prefix) {
    return name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0;
}

// The legacy 8250 driver (and, since Linux 6.5, the serial core's port device) registers
// ttyS0..3 whether or not a UART is fitted, so a driver link alone does not prove a port.
bool onBoardPortPresent(const SerialPortRoots& roots, const std::string& name) {
    std::error_code ec;
    if (!fs::exists(roots.sysClassTty / name / "device" / "driver", ec)) {
        return false;
    }
    const std::string device = (roots.dev / name).string();
    return roots.uartPresent ? roots.uartPresent(device) : uartAnswers(device);
}

}  // namespace

std::vector<std::string> listSerialPortsUnder(const SerialPortRoots& roots) {
    std::vector<std::string> ports;
    std::set<std::string> seen;
    const auto add = [&](const fs::path& path) {
        if (seen.insert(path.string()).second) {
            ports.push_back(path.string());
        }
    };

    const fs::path byId = roots.dev / "serial" / "by-id";
    // exists() follows the link: a link left behind by an unplugged adapter is not a port.
    for (const auto& name : sortedNames(byId, [](const fs::directory_entry& e) {
             std::error_code ec;
             return e.is_symlink(ec) && fs::exists(e.path(), ec);
         })) {
        add(byId / name);
    }
    for (const std::string_view prefix : {"ttyUSB", "ttyACM", "ttyS"}) {
        const auto names = sortedNames(roots.dev, [&](const fs::directory_entry& e) {
            const std::string name = e.path().filename().string();
            if (!startsWith(name, prefix) ||
                !std::all_of(name.begin() + static_cast<long>(prefix.size()), name.end(),
                             isDigit)) {
                return false;
            }
            return prefix != "ttyS" || onBoardPortPresent(roots, name);
        });
        for (const auto& name : names) {
            add(roots.dev / name);
        }
    }
    return ports;
}

bool uartAnswers(const std::string& devicePath) {
    const int fd = ::open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return errno == EACCES || errno == EPERM;
    }
    serial_struct info{};
    const bool known = ::ioctl(fd, TIOCGSERIAL, &info) == 0 && info.type != PORT_UNKNOWN;
    ::close(fd);
    return known;
}

std::vector<std::string> listSerialPorts() {
    return listSerialPortsUnder(SerialPortRoots{});
}

}  // namespace qelto::platform
