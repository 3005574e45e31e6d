#include "ui/HardwareConfigDialog.h"

#include "gui/GuiTestRegistry.h"
#include "gui/SubDialogDriver.h"
#include "instrument/HardwareConfigView.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <array>
#include <vector>

namespace {

using qpx::test::Control;
using qpx::test::PlannerWindow;
using qpx::ui::HardwareConfigDialog;
using Planner = qpx::planning::DeploymentPlanner;

// The matrix row by row, as the instrument stores it (value / 1024 is shown).
qpx::planning::PlannerInputs WithMatrix(int beams, const std::vector<std::int16_t>& rowByRow) {
    auto inputs = qpx::test::ConnectedInputs();
    inputs.system.numberOfBeams = static_cast<std::uint8_t>(beams);
    inputs.system.transformationMatrix.fill(0);
    for (std::size_t i = 0; i < rowByRow.size(); ++i) {
        inputs.system.transformationMatrix[i] = rowByRow[i];
    }
    return inputs;
}

QListWidget* Matrix(QDialog& d) {
    return Control<QListWidget>(&d, qpx::instrument::kMatrixListId);
}

} // namespace

class HardwareConfigDialogTest : public QObject {
    Q_OBJECT
private slots:
    void opensOnlyWithAnInstrument_data() {
        QTest::addColumn<bool>("planning");
        QTest::newRow("connected") << false;
        QTest::newRow("planning") << true;
    }
    void opensOnlyWithAnInstrument() {
        QFETCH(bool, planning);
        auto inputs = qpx::test::ConnectedInputs();
        inputs.planning = planning;
        PlannerWindow w(inputs);
        QCOMPARE(w.button(Planner::kHardwareButtonId)->isEnabled(), !planning);
        QString title;
        QString close;
        const std::size_t shown = w.open(Planner::kHardwareButtonId, [&](QDialog& d) {
            title = d.windowTitle();
            auto* button = Control<QPushButton>(&d, HardwareConfigDialog::kCloseId);
            close = button->text();
            QTest::mouseClick(button, Qt::LeftButton);
            QVERIFY(!d.isVisible());
        });
        QCOMPARE(shown, std::size_t{planning ? 0u : 1u});
        if (!planning) {
            QCOMPARE(w.shownIds.back(), HardwareConfigDialog::kTemplateId);
            QCOMPARE(title, QStringLiteral("QPX Hardware Configuration"));
            QCOMPARE(close, QStringLiteral("&Close"));
        }
    }

    // Every value of the view in its own box beside its label; none depends on the unit system.
    void showsEveryFieldWithItsLabel_data() {
        QTest::addColumn<int>("unitSystem");
        QTest::newRow("metric") << 1;
        QTest::newRow("English") << 0;
    }
    void showsEveryFieldWithItsLabel() {
        QFETCH(int, unitSystem);
        auto inputs = qpx::test::ConnectedInputs(unitSystem, 1, 2);
        inputs.system.cpuSoftwareVersion = 16;
        inputs.system.pressureScale = 100000000;
        PlannerWindow w(inputs);
        const auto view = qpx::instrument::MakeHardwareConfigView(inputs.system, 2);
        w.open(Planner::kHardwareButtonId, [&](QDialog& d) {
            for (const auto& field : view.fields) {
                auto* box = Control<QLineEdit>(&d, field.controlId);
                QVERIFY2(box != nullptr, field.label.data());
                QCOMPARE(box->text(), QString::fromStdString(field.text));
                QVERIFY(box->isReadOnly());
                auto* form = qobject_cast<QFormLayout*>(box->parentWidget()->layout());
                QVERIFY(form != nullptr);
                auto* label = qobject_cast<QLabel*>(form->labelForField(box));
                QVERIFY(label != nullptr);
                QCOMPARE(label->text(),
                         QString::fromUtf8(field.label.data(),
                                           static_cast<qsizetype>(field.label.size())));
            }
            auto text = [&](int id) { return Control<QLineEdit>(&d, id)->text(); };
            QCOMPARE(text(qpx::instrument::kCpuVersionId), QStringLiteral("1.6"));
            QCOMPARE(text(qpx::instrument::kSerialNumberId), QStringLiteral("DEFAULT"));
            QCOMPARE(text(qpx::instrument::kFrequencyId), QStringLiteral("1500 kHz"));
            QCOMPARE(text(qpx::instrument::kPressureScaleId), QStringLiteral("1"));
            QCOMPARE(text(qpx::instrument::kWavesOptionId), QStringLiteral("Directional"));
            const QStringList texts = qpx::test::AllTexts(&d);
            for (const char* group : {"System Parameters", "Hardware Parameters", "Extensions",
                                      "Pressure Settings", "Transformation Matrix:"}) {
                QVERIFY2(texts.contains(QString::fromUtf8(group)), group);
            }
        });
    }

    // Entry 4 x column + row holds the element of that row and column; the fourth row and
    // column stay empty for three beams, and the stored bytes past the 3 x 3 are not shown.
    void matrixCellsReadAsTheMatrix_data() {
        QTest::addColumn<int>("beams");
        QTest::addColumn<std::vector<std::int16_t>>("stored");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("three beams")
            << 3 << std::vector<std::int16_t>{1024, -724, 0, 512, 2048, -1024, 1, -1, 724, 999}
            << QStringList{"   1.000", "   0.500", "   0.001", "",  // column 0
                           "  -0.707", "   2.000", "  -0.001", "",  // column 1
                           "   0.000", "  -1.000", "   0.707", "",  // column 2
                           "",         "",         "",         ""}; // column 3
        QTest::newRow("four beams")
            << 4 << std::vector<std::int16_t>{1024, 0, 0,    0, 0, 1024, 0, 0,
                                              0,    0, 1024, 0, 0, 0,    0, -32768}
            << QStringList{"   1.000", "   0.000", "   0.000", "   0.000", "   0.000", "   1.000",
                           "   0.000", "   0.000", "   0.000", "   0.000", "   1.000", "   0.000",
                           "   0.000", "   0.000", "   0.000", " -32.000"};
    }
    void matrixCellsReadAsTheMatrix() {
        QFETCH(int, beams);
        QFETCH(std::vector<std::int16_t>, stored);
        QFETCH(QStringList, entries);
        PlannerWindow w(WithMatrix(beams, stored));
        w.open(Planner::kHardwareButtonId, [&](QDialog& d) {
            QListWidget* list = Matrix(d);
            QStringList shown;
            for (int i = 0; i < list->count(); ++i) {
                shown << list->item(i)->text();
            }
            QCOMPARE(shown, entries);
            // On screen: columns left to right, rows top to bottom, one beam's width each.
            QCOMPARE(list->gridSize().width(), list->viewport()->width() / beams);
            const QPoint first = list->visualItemRect(list->item(0)).center();
            const QPoint below = list->visualItemRect(list->item(1)).center();
            const QPoint right = list->visualItemRect(list->item(4)).center();
            QCOMPARE(right.x() - first.x(), list->gridSize().width());
            QCOMPARE(right.y(), first.y());
            QCOMPARE(below.y() - first.y(), list->gridSize().height());
            QCOMPARE(below.x(), first.x());
        });
    }

    // Whatever the downloaded structures hold, the view opens with finite texts: the setup no
    // sub-dialog accepts, and a beam count no matrix layout has.
    void unacceptableStructuresStillShow_data() {
        QTest::addColumn<int>("unitSystem");
        QTest::addColumn<int>("beams");
        QTest::newRow("metric") << 1 << 3;
        QTest::newRow("English, no beams") << 0 << 0;
        QTest::newRow("metric, 200 beams") << 1 << 200;
    }
    void unacceptableStructuresStillShow() {
        QFETCH(int, unitSystem);
        QFETCH(int, beams);
        auto inputs = qpx::test::UnacceptableInputs(unitSystem);
        inputs.system.numberOfBeams = static_cast<std::uint8_t>(beams);
        PlannerWindow w(inputs);
        w.open(Planner::kHardwareButtonId, [&](QDialog& d) {
            QCOMPARE(qpx::test::NonFiniteTexts(&d), QStringList());
            QCOMPARE(Matrix(d)->count(), 16);
            QVERIFY(Matrix(d)->gridSize().width() > 0);
        });
        QCOMPARE(w.shownIds, std::vector<int>{HardwareConfigDialog::kTemplateId});
    }
};

QPX_GUI_TEST(HardwareConfigDialogTest)
#include "HardwareConfigDialogTest.moc"
