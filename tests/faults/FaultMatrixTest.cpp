#include "support/FaultMatrix.h"

#include <cctype>
#include <string>

#include <gtest/gtest.h>

// The fault matrix: every step of every sequence crossed with every fault, each cell run on
// virtual time and judged (see support/FaultMatrix.h).
namespace qpx::test {
namespace {

class FaultMatrixRow : public testing::TestWithParam<std::size_t> {};

TEST_P(FaultMatrixRow, EveryCellEndsCleanOrRecovers) {
    const MatrixStep& step = MatrixSteps()[GetParam()];
    for (const FaultKind fault : kFaultKinds) {
        SCOPED_TRACE(step.name + " x " + std::string(FaultTitle(fault)));
        const CellResult cell = RunCell(step, fault);
        EXPECT_NE(cell.outcome, Outcome::Empty);
        EXPECT_NE(cell.outcome, Outcome::Broken) << cell.note;
        if (cell.outcome != Outcome::NotApplicable) {
            EXPECT_LE(cell.elapsedMs, cell.boundMs);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllSteps, FaultMatrixRow,
                         testing::Range<std::size_t>(0, MatrixSteps().size()),
                         [](const testing::TestParamInfo<std::size_t>& row) {
                             std::string name;
                             for (const char c : MatrixSteps()[row.param].name) {
                                 if (std::isalnum(static_cast<unsigned char>(c)) != 0) {
                                     name.push_back(c);
                                 }
                             }
                             return std::to_string(row.param) + "_" + name;
                         });

// Without a fault every sequence succeeds and its result checks out: the judge itself can tell
// a success from a failure.
TEST(FaultMatrix, CleanSequencesSucceed) {
    for (const Sequence sequence :
         {Sequence::Connection, Sequence::Download, Sequence::RecorderRead, Sequence::Format,
          Sequence::ClockRead, Sequence::ClockSet, Sequence::PcQpx}) {
        SCOPED_TRACE(static_cast<int>(sequence));
        const CellResult cell = RunClean(sequence);
        EXPECT_EQ(cell.outcome, Outcome::Recovered) << cell.note;
    }
}

// A wrong echo on every attempt and a NAK on every block are never absorbed by a sequence that
// stops on them. (The recorder read and the clock read go on by design and are judged on what
// they read; the comment lines have no echo check.)
TEST(FaultMatrix, PersistentEchoAndNakAlwaysFail) {
    for (const MatrixStep& step : MatrixSteps()) {
        if (step.sequence == Sequence::RecorderRead || step.sequence == Sequence::ClockRead ||
            step.exchange == Exchange::Comments) {
            continue;
        }
        for (const FaultKind fault : {FaultKind::WrongEcho, FaultKind::NakEveryBlock}) {
            if (!FaultApplies(step, fault)) {
                continue;
            }
            SCOPED_TRACE(step.name + " x " + std::string(FaultTitle(fault)));
            EXPECT_EQ(RunCell(step, fault).outcome, Outcome::FailedClean);
        }
    }
}

// A failed upload leaves the instrument's saved setup as it was; a recovered one saves exactly
// what was sent.
TEST(FaultMatrix, SavedSetupFollowsTheUploadResult) {
    for (const MatrixStep& step : MatrixSteps()) {
        if (step.sequence != Sequence::Upload) {
            continue;
        }
        for (const FaultKind fault : {FaultKind::Garbage, FaultKind::NoOkReply}) {
            SCOPED_TRACE(step.name + " x " + std::string(FaultTitle(fault)));
            const DeploymentRun run = RunConnectedDeployment(&step, fault, 30);
            ASSERT_TRUE(run.connected);
            EXPECT_EQ(run.saved == run.uploaded, run.uploadReported);
            if (!run.uploadReported) {
                EXPECT_EQ(run.saved, run.initial);
            }
        }
    }
}

} // namespace
} // namespace qpx::test
