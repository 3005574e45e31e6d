#include "operations/Connection.h"

#include "link/Link.h"
#include "link/PortFunctions.h"
#include "link/ProgressView.h"
#include "link/SystemType.h"
#include "link/WakeAndIdentify.h"
#include "model/TextFormat.h"

#include <algorithm>

namespace qpx::operations {
namespace {

// The connection's log is wider than the other sequences'.
constexpr std::size_t kConnectLabelWidth = 34;

} // namespace

int BaudRateFromCode(int code) {
    if (code < 0 || code >= static_cast<int>(kBaudRates.size())) {
        return 9600;
    }
    return kBaudRates[static_cast<std::size_t>(code)];
}

int BaudCodeFromRate(int rate) {
    const auto at = std::find(kBaudRates.begin(), kBaudRates.end(), rate);
    return at == kBaudRates.end() ? 5 : static_cast<int>(at - kBaudRates.begin());
}

char ParityLetter(int code) {
    constexpr std::array<char, 5> kLetters{'N', 'E', 'O', 'M', 'S'};
    if (code < 0 || code >= static_cast<int>(kLetters.size())) {
        return 'N';
    }
    return kLetters[static_cast<std::size_t>(code)];
}

int OpenPort(link::PortOpener& opener, std::unique_ptr<link::Port>& slot, int index, int baud,
             int parityCode, int dataBitsCode, int stopBitsCode) {
    if (slot) {
        slot->close();
        slot.reset();
    }
    link::OpenResult opened =
        opener.open(index, baud, ParityLetter(parityCode), dataBitsCode + 5, stopBitsCode + 1);
    if (opened.port && opened.status >= 0 && opened.port->isOpen()) {
        slot = std::move(opened.port);
        return 1;
    }
    if (opened.port) {
        opened.port->close();
    }
    return opened.status == link::kPortUnavailable ? 0 : -1;
}

PortScan ScanPorts(link::PortOpener& opener, bool holdingPort, int selected) {
    PortScan scan;
    for (int index = 0; index < kPortCount; ++index) {
        std::unique_ptr<link::Port> scratch;
        const int result = OpenPort(opener, scratch, index, 9600, 0, 3, 0);
        if (scratch) {
            scratch->close();
        }
        int code = result == 1 ? kPortAvailable : result == 0 ? kPortInUse : kPortNotAvailable;
        if (holdingPort && index == selected) {
            code = kPortAvailable;
        }
        scan.codes[static_cast<std::size_t>(index)] = code;
    }
    const auto available = [&](int index) {
        return index >= 0 && index < kPortCount &&
               scan.codes[static_cast<std::size_t>(index)] == kPortAvailable;
    };
    if (available(selected)) {
        scan.selected = selected;
    } else {
        const auto first = std::find(scan.codes.begin(), scan.codes.end(), kPortAvailable);
        scan.selected =
            first == scan.codes.end() ? -1 : static_cast<int>(first - scan.codes.begin());
    }
    return scan;
}

FoundInstrument FindInstrument(const PortOpening& open, std::string_view where, bool identify,
                               link::MessageSink& messages,
                               const std::optional<std::filesystem::path>& logDirectory,
                               const LogSink& log) {
    const auto write = [&](std::string_view text) {
        if (log) {
            log(text);
        }
    };
    FoundInstrument found;
    const auto fail = [&]() {
        write("Failed\r\n");
        if (found.port) {
            found.port->close();
            found.port.reset();
        }
        return std::move(found);
    };
    write(link::StepLabel("Open Port", kConnectLabelWidth));
    link::OpenResult opened = open();
    found.port = std::move(opened.port);
    if (!found.port || opened.status < 0 || !found.port->isOpen() ||
        link::ClearRXBuffer(*found.port) < 0) {
        found.openMessage = std::move(opened.message);
        return fail();
    }
    found.portOpened = true;
    write("Success\r\n");
    if (!identify) {
        return found;
    }
    write(link::StepLabel("Waking up System", kConnectLabelWidth));
    link::Link link{*found.port, messages, logDirectory};
    found.systemType = link::WakeAndIdentify(link);
    if (!link::IsServedSystem(found.systemType)) {
        return fail();
    }
    write("Success\r\n");
    write(model::FormatText("%s found on %s\r\n",
                            std::string(link::SystemName(found.systemType)).c_str(),
                            std::string(where).c_str()));
    return found;
}

bool ConnectInstrument(link::PortOpener& opener, link::Clock& clock,
                       std::unique_ptr<link::Port>& slot, ConnectionSettings& settings,
                       int portIndex, int baudRate, link::MessageSink& messages,
                       const std::optional<std::filesystem::path>& logDirectory,
                       const LogSink& log) {
    const auto open = [&] {
        clock.sleepMs(10);
        if (slot) {
            slot->close();
            slot.reset();
        }
        return opener.open(portIndex, baudRate, ParityLetter(settings.parityCode),
                           settings.dataBitsCode + 5, settings.stopBitsCode + 1);
    };
    FoundInstrument found = FindInstrument(open, model::FormatText("COM%d", portIndex + 1), true,
                                           messages, logDirectory, log);
    if (!found.port) {
        return false;
    }
    slot = std::move(found.port);
    settings.portIndex = portIndex;
    settings.baudRate = baudRate;
    clock.sleepMs(2000);
    return true;
}

} // namespace qpx::operations
