#pragma once

#include <QString>
#include <QtGlobal>

// What the start-up log row says about the workstation.
namespace vaha::sysinfo {

// The name of the logged-on user; "(Unknown)" when the system cannot tell.
QString userName();

// The computer's network name; "(Unknown)" when the system cannot tell.
QString computerName();

// First IPv4 address of the own host name in network order; all bits set when it does not
// resolve.
quint32 localAddress();

// The address as four decimal numbers, most significant first: 255.255.255.255 on failure.
QString addressText(quint32 networkOrderAddress);

// Version of the program file as "%d.%d.%d.%d"; "-1.0.0.0" when the build stamped none.
QString programVersionText();

} // namespace vaha::sysinfo
