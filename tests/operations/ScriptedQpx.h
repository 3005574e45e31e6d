#pragma once

#include "link/Link.h"
#include "link/Port.h"
#include "link/VirtualClock.h"
#include "model/OperationConfiguration.h"
#include "model/SystemConfiguration.h"
#include "model/UserSetup.h"
#include "planning/DefaultStructures.h"
#include "sim/Frames.h"
#include "support/KeptProgressViews.h"
#include "support/RecordingMessageSink.h"
#include "support/ScriptedDevice.h"
#include "support/ScriptedRecorder.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qpx::test {

// A QPX on a scripted line that plays the whole connected dialogue: "Ver", the three structure
// frames, "enablewaves", the recorder transfer, every settings command, the three-line
// "Comments" exchange and "deploy". What it took is kept here, so it can be read after the port
// has been closed (which releases the device).
struct ScriptedQpx {
    link::VirtualClock clock;
    ScriptedDevice& device = *new ScriptedDevice(clock);
    link::Port port{std::unique_ptr<link::PortDevice>(&device), clock};
    ScriptedRecorder card{device};
    RecordingMessageSink messages;
    KeptProgressViews views;
    link::Link link{port, messages, std::nullopt};

    model::SystemConfiguration system = planning::MakeDefaultSystemConfiguration(1);
    model::UserSetup user = planning::MakeDefaultUserSetup(1);
    model::OperationConfiguration operation = planning::MakeDefaultOperationConfiguration(1);

    // Every non-empty line the instrument took, in order (comment lines included).
    std::vector<std::string> lines;
    // Lines answered "ERROR" instead of their reply.
    std::vector<std::string> refused;
    // What follows the third comment line's echo.
    std::string commentsEnd = "OK\r\n>";

    explicit ScriptedQpx(std::string versionText = "Kelvra QPX Version 1.70") {
        device.replies["Ver"] = versionText + "\r\n>";
        device.replies["enablewaves"] = "YES\r\n>";
        device.replies["deploy"] = "OK\r\n";
        card.files = {{"DEF00001.QPX", 123456, 2001, 3, 5, 14, 2, 9, 77}};
        card.usedUnits = 16;
        serveStructures();
        auto recorder = device.answer;
        device.answer = [this, recorder](const std::string& line) -> std::string {
            if (!line.empty()) {
                lines.push_back(line);
            }
            for (const std::string& r : refused) {
                if (r == line) {
                    return "\nERROR\r\n>";
                }
            }
            if (commentLinesLeft_ > 0) {
                return --commentLinesLeft_ == 0 ? "\n" + commentsEnd : "\n";
            }
            if (line == "Comments") {
                commentLinesLeft_ = 3;
                return "\nEnter 3 lines of comments\r\n";
            }
            // Every settings command is taken.
            std::string reply = recorder(line);
            return reply == "\n>" && !line.empty() ? "\nOK\r\n>" : reply;
        };
    }

    // Puts the structures above into the replies of "Get CONF", "Get OPER" and "Get USER".
    void serveStructures() {
        device.replies["Get CONF"] = Framed(model::Encode(system));
        device.replies["Get OPER"] = Framed(model::NarrowOperationConfiguration(operation));
        device.replies["Get USER"] = Framed(model::Encode(user));
    }

    // The lines from the first one equal to `from` on.
    std::vector<std::string> linesFrom(const std::string& from) const {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (lines[i] == from) {
                return {lines.begin() + static_cast<std::ptrdiff_t>(i), lines.end()};
            }
        }
        return {};
    }

    template <typename Bytes>
    static std::string Framed(const Bytes& bytes) {
        const auto frame =
            sim::BuildFrame(std::span<const std::uint8_t>(bytes.data(), bytes.size()));
        return "OK\r\n" + std::string(frame.begin(), frame.end()) + ">";
    }

private:
    int commentLinesLeft_ = 0;
};

} // namespace qpx::test
