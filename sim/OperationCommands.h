#pragma once

#include "sim/CommandTable.h"

namespace qpx::sim {

// The commands of a connected deployment: the settings ("Deployment" to "rws", "of",
// "AutoSleep", "SaveSetup"), the pulse settings "pl", "pg" and "rpg", "Comments", "Date" and
// "Time", "deploy", and the recorder's "bdir" and "format".
//
// A settings command changes the working UserSetup or OperationConfiguration (what "Get USER"
// and "Get OPER" send) and answers "OK"; "SaveSetup" copies the working structures to the saved
// ones. A value the instrument cannot take is answered "ERROR" and changes nothing: text that
// is not a number or keyword, a number outside its field, a number of cells outside 1..128, a
// cell size or averaging/profiling interval of 0, a temperature outside -5..50 degC, a salinity
// outside 0..60 ppt, a wave rate other than 1, 2 or 4, a deployment name longer than 8
// characters or empty, an impossible start date or time.
void AddOperationCommands(CommandTable& table);

// "bdir" and "format".
void AddRecorderCommands(CommandTable& table);

} // namespace qpx::sim
