// The system's listing, the one part of the port numbering that needs Qt (QSerialPortInfo): kept
// apart so the numbering itself builds where there is no Qt.

#include "serial/PortList.h"

#include <QSerialPortInfo>
#include <QtGlobal>

namespace qpx::serial {
namespace {

const char* const kEnvironmentVariable = "DEPLOYQPX_PORTS";

} // namespace

PortList PortList::FromSystem() {
    if (qEnvironmentVariableIsSet(kEnvironmentVariable)) {
        return FromEnvironmentValue(qEnvironmentVariable(kEnvironmentVariable).toStdString());
    }
#ifdef _WIN32
    return WindowsNames();
#else
    std::vector<SystemPort> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        ports.push_back({info.portName().toStdString(), info.systemLocation().toStdString(),
                         info.hasVendorIdentifier()});
    }
    return FromSystemPorts(std::move(ports));
#endif
}

} // namespace qpx::serial
