#pragma once

#include "link/Clock.h"
#include "link/Link.h"
#include "link/ProgressView.h"
#include "operations/ChangeDetection.h"

#include <array>
#include <string>
#include <vector>

// The settings upload: the marked settings as plain-text commands, then the three that are always
// sent, ending with "SaveSetup". The instrument is never sent a binary structure.
namespace qpx::operations {

// One command of the upload with the label its progress line shows.
struct UploadCommand {
    std::string label;
    std::string command;
    std::string step{}; // the step's name, unpadded
    friend bool operator==(const UploadCommand&, const UploadCommand&) = default;
};

// The commands after the deployment name, the start time and the comments, in sending order: the
// marked settings from "ai" to "rws", then "of ascii", "AutoSleep on" and "SaveSetup". Values come
// from the updated UserSetup copy and the two wave values kept apart. Intervals are sent as
// stored (a PC-QPX's tenths included).
std::vector<UploadCommand> SettingsCommands(const ChangeDetection& changes);

// "Deployment <name>", and "StartDate ..." then "StartTime ...": the upload's first commands.
std::string DeploymentNameCommand(const model::UserSetup& user);
std::array<std::string, 2> StartCommands(const link::CalendarTime& start);

// Wakes the instrument and sends the changes. 1 on success (the port stays open for "deploy"),
// 0 on failure: the failing step's label is followed by "Failed", nothing more is sent ("SaveSetup"
// never follows a failed command) and the port has been closed. A closed port fails at once,
// with no window and nothing sent.
int TransmitSystemVariables(link::Link& link, link::ProgressViewFactory& views,
                            const ChangeDetection& changes, const link::CalendarTime& start);

} // namespace qpx::operations
