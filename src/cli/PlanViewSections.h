#pragma once

#include "cli/Report.h"
#include "planning/DeploymentPlanner.h"
#include "planning/EnduranceSweep.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

// What the planner's views show, as report sections: the cells in the water, the endurance sweep
// and the velocity-precision estimate.
namespace qpx::cli {

struct ViewOptions {
    std::optional<double> surface; // distance to the surface or bottom, planner's unit
    bool sweep = false;
    bool csv = false; // the sweep alone, as CSV, instead of the report
    double pingRate = 1.0;
};

// "cells": every cell's number and centre (the planner's unit), and with a surface distance the
// side-lobe limit and each cell's mark; "unavailable" when the planner gives no profile.
void AddCellsSection(Report& report, const planning::DeploymentPlanner& planner,
                     std::optional<double> surface);
// "precision": the estimate and what it assumes.
void AddPrecisionSection(Report& report, const planning::DeploymentPlanner& planner,
                         double pingRate);
// "endurance-sweep": one row per interval, the plan's own marked.
void AddSweepSection(Report& report, const std::vector<planning::EndurancePoint>& sweep);
// The three, as the options ask.
void AddViewSections(Report& report, const planning::DeploymentPlanner& planner,
                     const ViewOptions& options);

// The report, or with `csv` the sweep as CSV, on standard output.
void PrintPlanViews(std::ostream& out, const Report& report,
                    const planning::DeploymentPlanner& planner, const ViewOptions& options,
                    bool json);

// The sweep as CSV: a header line, then a row per interval: the profiling interval in seconds,
// battery days, recorder days (an empty field where an estimate is unavailable).
std::string SweepCsv(const std::vector<planning::EndurancePoint>& sweep);

} // namespace qpx::cli
