#include "ResidentMemory.h"
#include "support/FaultMatrix.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

// A thousand connected deployments in a row on the in-process simulator, on virtual time, each
// with a fault drawn at random from the matrix cells of the connected sequences (or none).
// After each run the instrument's saved setup must equal what was uploaded exactly when the
// upload reported success. Resident memory is taken after run 100 and after the last.
//
//   bench_soak [--seed N] [--runs N]
namespace {

using namespace qpx::test;
using qpx::bench::ResidentKiB;

bool ConnectedSequence(Sequence s) {
    return s == Sequence::Connection || s == Sequence::Download || s == Sequence::Upload ||
           s == Sequence::Deploy;
}

} // namespace

#if defined(__SANITIZE_ADDRESS__)
// Under AddressSanitizer freed blocks are held back in a quarantine of up to 256 MB, which would
// read as growth; the figure is about what the runs keep.
extern "C" const char* __asan_default_options() {
    return "quarantine_size_mb=0";
}
#endif

int main(int argc, char** argv) {
    unsigned seed = 20011204;
    int runs = 1000;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--seed") == 0) {
            seed = static_cast<unsigned>(std::strtoul(argv[i + 1], nullptr, 10));
        } else if (std::strcmp(argv[i], "--runs") == 0) {
            runs = std::atoi(argv[i + 1]);
        }
    }

    struct Cell {
        const MatrixStep* step;
        FaultKind fault;
    };
    std::vector<Cell> cells;
    for (const MatrixStep& step : MatrixSteps()) {
        if (!ConnectedSequence(step.sequence)) {
            continue;
        }
        for (const FaultKind fault : kFaultKinds) {
            if (FaultApplies(step, fault)) {
                cells.push_back({&step, fault});
            }
        }
    }

    std::mt19937 random(seed);
    // One run in ten goes without a fault, so that successes are common enough to check.
    std::uniform_int_distribution<std::size_t> pick(0, cells.size() + cells.size() / 9);
    std::uniform_int_distribution<int> cellCount(5, 60);

    std::map<std::string, int> injected;
    int successes = 0;
    int failures = 0;
    int uploadsReported = 0;
    int mismatches = 0;
    int savedDespiteFailure = 0;
    long rssAt100 = 0;
    long rssAtEnd = 0;
    for (int run = 1; run <= runs; ++run) {
        const std::size_t drawn = pick(random);
        const Cell* cell = drawn < cells.size() ? &cells[drawn] : nullptr;
        int count = cellCount(random);
        const DeploymentRun result =
            RunConnectedDeployment(cell != nullptr ? cell->step : nullptr,
                                   cell != nullptr ? cell->fault : FaultKind::Garbage, count);
        injected[cell != nullptr ? std::string(FaultTitle(cell->fault)) : "none"]++;
        const bool deployed = result.outcome == qpx::operations::ConnectedSetupOutcome::Deployed;
        deployed ? ++successes : ++failures;
        uploadsReported += result.uploadReported ? 1 : 0;
        const bool saved = result.saved == result.uploaded;
        if (result.uploadReported && !saved) {
            ++mismatches;
            std::fprintf(stderr, "run %d: upload reported but not saved (%s x %s)\n", run,
                         cell->step->name.c_str(), std::string(FaultTitle(cell->fault)).c_str());
        } else if (!result.uploadReported && result.saved != result.initial) {
            // The instrument kept a setup although the upload said it failed.
            if (cell != nullptr && cell->fault == FaultKind::WrongEcho &&
                cell->step->command == "SaveSetup") {
                ++savedDespiteFailure;
            } else {
                ++mismatches;
                std::fprintf(stderr, "run %d: failed upload changed the saved setup (%s x %s)\n",
                             run, cell != nullptr ? cell->step->name.c_str() : "none",
                             cell != nullptr ? std::string(FaultTitle(cell->fault)).c_str() : "");
            }
        }
        if (run == 100) {
            rssAt100 = ResidentKiB();
        }
    }
    rssAtEnd = ResidentKiB();

    std::printf("soak: %d connected deployments, seed %u\n", runs, seed);
    std::printf("faults injected:\n");
    for (const auto& [name, n] : injected) {
        std::printf("  %-18s %5d\n", name.c_str(), n);
    }
    std::printf("successes (deployed):        %d\n", successes);
    std::printf("failures:                    %d\n", failures);
    std::printf("uploads reported saved:      %d\n", uploadsReported);
    std::printf("mismatches:                  %d\n", mismatches);
    std::printf("saved, reported failed:      %d (every echo of \"SaveSetup\" spoiled)\n",
                savedDespiteFailure);
    std::printf("resident memory after run 100: %ld KiB, after run %d: %ld KiB, growth %ld KiB\n",
                rssAt100, runs, rssAtEnd, rssAtEnd - rssAt100);
    return mismatches == 0 ? 0 : 1;
}
