#include "support/FaultMatrix.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Prints the fault matrix (steps x faults, each cell its outcome) as Markdown, with its legend
// and the note of every cell that broke an invariant. Exit status 1 when any cell broke one.
int main() {
    using namespace qpx::test;
    const std::vector<MatrixStep>& steps = MatrixSteps();
    std::vector<std::array<CellResult, kFaultKinds.size()>> results(steps.size());
    std::string notes;
    int broken = 0;
    for (std::size_t row = 0; row < steps.size(); ++row) {
        for (std::size_t col = 0; col < kFaultKinds.size(); ++col) {
            CellResult& cell = results[row][col] = RunCell(steps[row], kFaultKinds[col]);
            if (cell.outcome == Outcome::Broken || cell.outcome == Outcome::Empty) {
                ++broken;
                notes += "- " + steps[row].name + " x " +
                         std::string(FaultTitle(kFaultKinds[col])) + ": " + cell.note + "\n";
            }
        }
        std::fprintf(stderr, "%s done\n", steps[row].name.c_str());
    }
    std::string out = MatrixTable(steps, results) + "\n" + MatrixLegend();
    // The bound of each sequence beside the slowest cell that ran in it, in virtual seconds.
    out += "\n| sequence | bound (s) | slowest cell (s) |\n|---|---:|---:|\n";
    std::string lastSequence;
    for (std::size_t row = 0; row < steps.size(); ++row) {
        const std::string sequence = steps[row].name.substr(0, steps[row].name.find(':'));
        if (sequence == lastSequence) {
            continue;
        }
        lastSequence = sequence;
        std::int64_t slowest = 0;
        for (std::size_t other = row; other < steps.size(); ++other) {
            if (steps[other].sequence != steps[row].sequence) {
                break;
            }
            for (const CellResult& cell : results[other]) {
                slowest = std::max(slowest, cell.elapsedMs);
            }
        }
        out += "| " + sequence + " | " +
               std::to_string(SequenceBoundMs(steps[row].sequence) / 1000) + " | " +
               std::to_string(slowest / 1000) + " |\n";
    }
    if (!notes.empty()) {
        out += "\nBroken cells:\n" + notes;
    }
    std::fputs(out.c_str(), stdout);
    return broken == 0 ? 0 : 1;
}
