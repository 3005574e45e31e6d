#pragma once

#include "gui/ReviewAnswer.h"
#include "link/VirtualClock.h"
#include "support/SimulatedPortOpener.h"
#include "support/TempDir.h"
#include "ui/DeploymentFrontEnd.h"
#include "ui/MainDialog.h"
#include "ui/MessageBoxSink.h"
#include "ui/ProgressWindowFactory.h"

#include <QDialog>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qpx::test {

// The program as Main.cpp puts it together, on the in-process simulator and the virtual clock:
// the real message boxes' requests recorded, real progress windows, the real planner windows.
struct Program {
    Program()
        : opener(clock), messages(nullptr, [this](QWidget*, const qpx::ui::MessageBoxRequest& r) {
              boxes.push_back(r);
              // The record's box is answered with "Open &Folder".
              return r.buttons.testFlag(QMessageBox::Open) ? QMessageBox::Open : QMessageBox::Ok;
          }) {
        opener.instruments[1] = qpx::sim::QpxScenario();
        qpx::ui::MainDialogSetup setup;
        setup.messages = &messages;
        setup.openFolder = [this](const std::filesystem::path& folder) {
            openedFolders.push_back(folder);
        };
        setup.makeFrontEnd = [this](QWidget* parent, qpx::planning::DeploymentPlanner& planner,
                                    qpx::link::Clock& runClock, qpx::link::MessageSink& sink) {
            auto front =
                std::make_unique<qpx::ui::DeploymentFrontEnd>(parent, planner, runClock, sink);
            front->setHooks({[this](QDialog& shown) {
                                 if (!answerReview || !qpx::test::DeployFromReview(shown))
                                     onShown(shown);
                             },
                             {}});
            front->setRecordsFolder(recordsFolder.value_or(records.path()));
            return front;
        };
        dialog = std::make_unique<qpx::ui::MainDialog>(opener, clock, std::move(setup));
        messages.setParentWidget(dialog.get());
        progress = dialog->progressWindows();
    }
    const std::vector<std::string>& received() { return opener.lastInstrument().transcript(); }

    qpx::link::VirtualClock clock;
    qpx::test::SimulatedPortOpener opener;
    std::vector<qpx::ui::MessageBoxRequest> boxes;
    qpx::ui::MessageBoxSink messages;
    std::unique_ptr<qpx::ui::MainDialog> dialog;
    qpx::ui::ProgressWindowFactory* progress = nullptr;
    std::function<void(QDialog&)> onShown;
    // The review is answered with "&Deploy" unless a test meets it itself.
    bool answerReview = true;
    // What "Open &Folder" of the record's box opened.
    std::vector<std::filesystem::path> openedFolders;
    qpx::test::TempDir records;
    // The run's records folder; none: `records`.
    std::optional<std::filesystem::path> recordsFolder;
};

} // namespace qpx::test
