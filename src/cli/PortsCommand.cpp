#include "cli/Commands.h"
#include "model/TextFormat.h"
#include "operations/Connection.h"

namespace qpx::cli {
namespace {

std::string_view AvailabilityMeaning(int code) {
    switch (code) {
    case operations::kPortAvailable:
        return "available";
    case operations::kPortInUse:
        return "present but cannot be opened now (in use, or no permission)";
    default:
        return "cannot be opened";
    }
}

} // namespace

int RunPorts(CliEnvironment& env, bool json) {
    // The same test the connection window makes when it opens; this program holds no port.
    const operations::PortScan scan = operations::ScanPorts(env.ports.opener(), false, 0);
    Report report;
    auto& ports = report.section("ports", "Ports");
    ReportTable table;
    table.key = "ports";
    table.columnKeys = {"port", "device", "code", "meaning"};
    table.columnTitles = {"Port", "Device", "Code", "Meaning"};
    for (int index = 0; index < operations::kPortCount; ++index) {
        const int code = scan.codes[static_cast<std::size_t>(index)];
        std::string device = env.ports.opener().deviceName(index);
        table.rows.push_back(
            {model::FormatText("COM%d", index + 1), device.empty() ? std::string("-") : device,
             model::FormatText("%d", code), std::string(AvailabilityMeaning(code))});
    }
    ports.tables.push_back(std::move(table));
    PrintReport(env, report, json);
    return kExitSuccess;
}

} // namespace qpx::cli
