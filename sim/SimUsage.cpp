#include "sim/SimOption.h"

namespace qpx::sim {
namespace {

// Each option on its own line, the help text in a column (or on the next line for long names).
std::string OptionLines() {
    std::string text;
    for (const options::Option& option : options::OptionTable()) {
        std::string left = "  --" + std::string(option.name);
        if (option.takesValue) {
            left += " " + std::string(option.valueName);
        }
        if (left.size() < 25) {
            left.resize(25, ' ');
        } else {
            left += "\n" + std::string(25, ' ');
        }
        text += left + std::string(option.help) + "\n";
    }
    return text;
}

std::string FieldNameLine(StructureKind kind) {
    std::string text;
    for (const std::string_view name : FieldNames(kind)) {
        text += " " + std::string(name);
    }
    return text + "\n";
}

} // namespace

std::string SimUsage() {
    std::string text =
        "Usage: qpx-sim [options] [--exec COMMAND [ARGS...]]\n"
        "\n"
        "Plays a QPX instrument on a pseudo-terminal in real time. The device path is printed\n"
        "alone on the first line of standard output; status goes to standard error. The\n"
        "host's own baud setting does not matter on a pseudo-terminal.\n"
        "\n"
        "  --help                 this text\n"
        "  --scenario FILE        settings from FILE (\"key = value\" lines, '#' comments, the\n"
        "                         keys are the options below without \"--\"); options after\n"
        "                         it override it\n"
        "  --exec COMMAND ARGS... (last) run COMMAND with DEPLOYQPX_PORTS set to the device,\n"
        "                         so COM1 is the simulator; ends when it ends, with its exit\n"
        "                         code (128 + signal when it was killed)\n";
    text += OptionLines();
    text += "\n"
            "A pseudo-terminal cannot carry a break: the host's break never reaches the\n"
            "instrument, so a sleeping instrument here wakes on the wake-up string only (as\n"
            "with --plus-only).\n"
            "\n"
            "Transcript: one line per complete command line received, as the instrument reads\n"
            "it (without CR or LF), answers to its questions included; a wake-up by the\n"
            "'+' string is written as \"++++++++++\". Breaks are never written (see above).\n"
            "\n"
            "--exit-mid-frame and --exit-at close the device as a killed simulator or a pulled\n"
            "cable would. Without --exec the process then exits with code 1; with --exec it\n"
            "waits for the program and exits with that program's code.\n"
            "\n"
            "Field names for --user:";
    text += FieldNameLine(StructureKind::UserSetup);
    text += "for --conf:";
    text += FieldNameLine(StructureKind::SystemConfiguration);
    text += "for --oper:";
    text += FieldNameLine(StructureKind::OperationConfiguration);
    text += "\nExit codes: 0 after SIGINT or SIGTERM, 2 for wrong usage, 1 for other failures.\n";
    return text;
}

} // namespace qpx::sim
