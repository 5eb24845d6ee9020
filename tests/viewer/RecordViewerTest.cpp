#include "RecordViewer.h"
#include "RecordChart.h"
#include "ResourceIds.h"
#include "RunTool.h"
#include "SimulatorFixture.h"
#include "UserDialogs.h"
#include "WorkedRecord.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPointer>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace tensiq;

namespace {

class RecordViewerTest : public ::testing::Test {
protected:
    void SetUp() override { m_folder = test::MakeTempFolder("tensiq-viewer-"); }
    void TearDown() override { std::filesystem::remove_all(m_folder); }
    QString Write(const std::string& text, const std::string& name = "run.txt") {
        const std::string path = m_folder + "/" + name;
        std::ofstream(path, std::ios::binary) << text;
        return QString::fromStdString(path);
    }
    // A viewer of the file once its record is in; null when it closed itself.
    QPointer<CRecordViewer> Open(const QString& path, const ViewerUnit& unit = {}) {
        QPointer<CRecordViewer> viewer = new CRecordViewer(path, unit);
        QSignalSpy loaded(viewer.data(), &CRecordViewer::loaded);
        viewer->show();
        EXPECT_TRUE(loaded.wait(10000));
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return viewer;
    }
    static QString Cell(CRecordViewer* v, int row, int column) {
        return v->Table()->item(row, column)->text();
    }
    std::string m_folder;
};

enum { kCursor = 1, kMean = 2, kMin = 3, kMax = 4, kStd = 5 };

} // namespace

TEST_F(RecordViewerTest, OpensARecordAndReadsEveryRopeAtTheCursorAsItMovesAndZooms) {
    const QPointer<CRecordViewer> v = Open(Write(test::WorkedRecord()));
    ASSERT_TRUE(v);
    EXPECT_EQ(v->Summary().frames, 10);
    EXPECT_TRUE(v->windowTitle().contains(QStringLiteral("run.txt")));
    EXPECT_TRUE(v->windowTitle().contains(QStringLiteral("07.12.2026 22:01:12")));
    CRecordChart* chart = v->Chart();
    EXPECT_EQ(chart->CursorFrame(), 1);
    EXPECT_EQ(Cell(v, 0, kCursor), QStringLiteral("1000"));
    EXPECT_EQ(Cell(v, 3, kCursor), QStringLiteral("110"));
    EXPECT_EQ(Cell(v, kTotalSeries, kCursor), QStringLiteral("1210"));

    chart->setFocus();
    QTest::keyClick(chart, Qt::Key_Right);
    QTest::keyClick(chart, Qt::Key_Right);
    EXPECT_EQ(chart->CursorFrame(), 3);
    EXPECT_EQ(Cell(v, 0, kCursor), QStringLiteral("4"));
    QTest::keyClick(chart, Qt::Key_End);
    EXPECT_EQ(Cell(v, 0, kCursor), QStringLiteral("-1000"));

    // A click places the cursor at the frame under it.
    const double span = chart->ViewSpan();
    EXPECT_DOUBLE_EQ(span, 10.0);
    const int x = 64 + (chart->width() - 64 - 4) * 55 / 100; // frame 6 of 10
    QTest::mouseClick(chart, Qt::LeftButton, {}, QPoint(x, chart->height() / 2));
    EXPECT_EQ(chart->CursorFrame(), 6);
    EXPECT_EQ(Cell(v, 0, kCursor), QStringLiteral("5"));

    QTest::keyClick(chart, Qt::Key_Plus);
    EXPECT_LT(chart->ViewSpan(), span);
    QTest::keyClick(chart, Qt::Key_F);
    EXPECT_DOUBLE_EQ(chart->ViewSpan(), span);

    // The table's ticks switch the series.
    v->Table()->item(4, 0)->setCheckState(Qt::Unchecked);
    EXPECT_FALSE(chart->SeriesVisible(4));
    EXPECT_TRUE(chart->SeriesVisible(5));
    delete v.data();
}

TEST_F(RecordViewerTest, ARangeShowsEachRopesStatisticsAndTheSpreadInTheWindowsUnit) {
    const QPointer<CRecordViewer> v = Open(Write(test::WorkedRecord()));
    ASSERT_TRUE(v);
    v->Chart()->SetRange(2, 9);
    EXPECT_EQ(Cell(v, 0, kMean), QStringLiteral("5.0"));
    EXPECT_EQ(Cell(v, 0, kMin), QStringLiteral("2"));
    EXPECT_EQ(Cell(v, 0, kMax), QStringLiteral("9"));
    EXPECT_EQ(Cell(v, 0, kStd), QStringLiteral("2.0"));
    EXPECT_EQ(Cell(v, kTotalSeries, kMean), QStringLiteral("215.0"));
    EXPECT_DOUBLE_EQ(v->RangeStats().spreadKg, 105.0);

    // Shift-drag marks a range too.
    CRecordChart* chart = v->Chart();
    const int plot = chart->width() - 64 - 4;
    QTest::mousePress(chart, Qt::LeftButton, Qt::ShiftModifier, QPoint(64 + plot * 15 / 100, 50));
    QTest::mouseMove(chart, QPoint(64 + plot * 85 / 100, 50));
    QTest::mouseRelease(chart, Qt::LeftButton, Qt::ShiftModifier, QPoint(64 + plot * 85 / 100, 50));
    EXPECT_EQ(chart->RangeFirst(), 2);
    EXPECT_EQ(chart->RangeLast(), 9);

    v->SetUnit({2.0, QStringLiteral("lbs"), false});
    EXPECT_EQ(Cell(v, 0, kMean), QStringLiteral("10.000"));
    EXPECT_EQ(Cell(v, 0, kCursor), QStringLiteral("2000.000"));
    delete v.data();
}

TEST_F(RecordViewerTest, TheRangeExportsAsCsvThatReadsBackAndTheChartAsPng) {
    const QPointer<CRecordViewer> v = Open(Write(test::WorkedRecord()));
    ASSERT_TRUE(v);
    v->Chart()->SetRange(3, 4);
    const QString csv = QString::fromStdString(m_folder + "/range.csv");
    const QString png = QString::fromStdString(m_folder + "/chart.png");
    {
        ScopedSaveFileHandler answer([&](const SaveFileRequest& r) {
            return r.defaultExtension == QStringLiteral("csv") ? csv : png;
        });
        EXPECT_TRUE(v->ExportCsv());
        EXPECT_TRUE(v->ExportPng());
    }
    EXPECT_EQ(test::ReadFile(csv.toStdString()),
              "frame,rope 1 (kg),rope 2 (kg),rope 3 (kg),rope 4 (kg),rope 5 (kg),rope 6 (kg),"
              "rope 7 (kg),rope 8 (kg),rope 9 (kg),rope 10 (kg),rope 11 (kg),rope 12 (kg),"
              "total (kg)\n"
              "3,4,100,0,110,0,0,0,0,0,0,0,0,214\n"
              "4,4,100,0,110,0,0,0,0,0,0,0,0,214\n");
    const QImage image(png);
    EXPECT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), v->Chart()->size() * v->Chart()->devicePixelRatio());

    // A folder in the way: said, and nothing claimed.
    std::filesystem::create_directory(m_folder + "/taken.csv");
    int boxes = 0;
    ScopedMessageBoxHandler box([&](const MessageBoxRequest& r) {
        if ((r.type & MB_TYPEMASK) == MB_YESNO)
            return IDYES; // replace it
        ++boxes;
        EXPECT_TRUE(r.text.contains(QStringLiteral("taken.csv"))) << r.text.toStdString();
        return IDOK;
    });
    ScopedSaveFileHandler answer(
        [&](const SaveFileRequest&) { return QString::fromStdString(m_folder + "/taken.csv"); });
    EXPECT_FALSE(v->ExportCsv());
    EXPECT_EQ(boxes, 1);
    delete v.data();
}

TEST_F(RecordViewerTest, AFaultyFileIsShownUpToItsBadLineAndOneThatIsNoRecordIsRefused) {
    std::vector<QString> texts;
    ScopedMessageBoxHandler box([&](const MessageBoxRequest& r) {
        texts.push_back(r.text);
        return IDOK;
    });
    const QPointer<CRecordViewer> bad = Open(Write(test::WorkedRecord() + "1;2;x;\n5;5;5;\n"));
    ASSERT_TRUE(bad);
    EXPECT_EQ(bad->Record().Frames(), 10);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_TRUE(texts[0].contains(QStringLiteral("12"))) << texts[0].toStdString();
    EXPECT_TRUE(texts[0].contains(QStringLiteral("Last 3"))) << texts[0].toStdString();
    delete bad.data();

    for (const auto& [text, expected] : std::vector<std::pair<std::string, QString>>{
             {"", QStringLiteral("leer")},
             {std::string("\0\1\2\3\n", 5), QStringLiteral("binär")},
             {"1;2;3;4;5;6;7;8;9;10;11;12;\n", QStringLiteral("kein Datum")}}) {
        texts.clear();
        const QPointer<CRecordViewer> refused = Open(Write(text, "odd.txt"));
        EXPECT_FALSE(refused) << "the window closes itself";
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_TRUE(texts[0].contains(expected)) << texts[0].toStdString();
        EXPECT_TRUE(texts[0].contains(QStringLiteral("odd.txt")));
    }
    texts.clear();
    const QPointer<CRecordViewer> missing = Open(QString::fromStdString(m_folder + "/none.txt"));
    EXPECT_FALSE(missing);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_TRUE(texts[0].contains(QStringLiteral("none.txt")));
}

TEST_F(RecordViewerTest, EveryControlCarriesANameAndLoadingCanBeCancelled) {
    std::string text = "07.12.2026 22:01:12\n";
    for (int i = 0; i < 200000; ++i)
        text += "486;478;493;502;510;497;540;536;548;505;560;552;\n";
    auto* v = new CRecordViewer(Write(text), {});
    QPointer<CRecordViewer> alive = v;
    v->show();
    for (QWidget* w : v->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QProgressBar*>(w) ||
            qobject_cast<QTableWidget*>(w) || qobject_cast<CRecordChart*>(w)) {
            EXPECT_FALSE(w->accessibleName().isEmpty()) << w->metaObject()->className();
        }
    }
    EXPECT_TRUE(v->Loading());
    QSignalSpy loaded(v, &CRecordViewer::loaded);
    v->CancelLoading();
    ASSERT_TRUE(loaded.wait(10000));
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(alive) << "a cancelled load closes its window";
}
