#include "util/sysinfo.h"

#include <arpa/inet.h>
#include <cstring>
#include <netdb.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

#ifndef VAHA_FILE_VERSION
#define VAHA_FILE_VERSION "-1.0.0.0"
#endif

namespace vaha::sysinfo {
namespace {
const QString kUnknown = QStringLiteral("(Unknown)");
}

QString userName() {
    if (const passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_name && *pw->pw_name)
        return QString::fromLocal8Bit(pw->pw_name);
    const QString env = qEnvironmentVariable("USER");
    return env.isEmpty() ? kUnknown : env;
}

QString computerName() {
    char buf[256] = {};
    if (::gethostname(buf, sizeof buf - 1) != 0 || !*buf)
        return kUnknown;
    return QString::fromLocal8Bit(buf);
}

quint32 localAddress() {
    char name[255] = {};
    if (::gethostname(name, sizeof name - 1) != 0)
        return 0xFFFFFFFFu;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* result = nullptr;
    if (::getaddrinfo(name, nullptr, &hints, &result) != 0 || !result)
        return 0xFFFFFFFFu;
    quint32 address = 0xFFFFFFFFu;
    for (const addrinfo* ai = result; ai; ai = ai->ai_next) {
        if (ai->ai_family == AF_INET && ai->ai_addr) {
            sockaddr_in in{};
            std::memcpy(&in, ai->ai_addr, sizeof in);
            address = in.sin_addr.s_addr;
            break;
        }
    }
    ::freeaddrinfo(result);
    return address;
}

QString addressText(quint32 networkOrderAddress) {
    const quint32 host = ntohl(networkOrderAddress);
    return QStringLiteral("%1.%2.%3.%4")
        .arg((host >> 24) & 0xFF)
        .arg((host >> 16) & 0xFF)
        .arg((host >> 8) & 0xFF)
        .arg(host & 0xFF);
}

QString programVersionText() {
    return QStringLiteral(VAHA_FILE_VERSION);
}

} // namespace vaha::sysinfo
