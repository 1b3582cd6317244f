#include "harness.h"

#include <cstring>
#include <fstream>

namespace vaha::bench {
namespace {
std::size_t statusField(const char* key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::size_t len = std::strlen(key);
    while (std::getline(status, line)) {
        if (line.compare(0, len, key) == 0)
            return std::size_t(std::stoull(line.substr(len))) * 1024;
    }
    return 0;
}
} // namespace

std::size_t peakResidentBytes() { return statusField("VmHWM:"); }
std::size_t residentBytes() { return statusField("VmRSS:"); }

} // namespace vaha::bench
