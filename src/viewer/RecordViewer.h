#pragma once
// The second window: a saved record opened again, to zoom, read every rope at a cursor,
// measure a range and export it. Loads off the GUI thread; several can be open at once.
#include "RangeStatistics.h"
#include "RecordColumns.h"

#include <QString>
#include <QWidget>

#include <atomic>
#include <memory>
#include <thread>

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace tensiq {

class CCaptionLabel;
class CRecordChart;

// The weight unit the main window shows: units per kilogram and its text.
struct ViewerUnit {
    double factor = 1.0;
    QString text = QStringLiteral("kg");
    bool whole = true; // kilograms: whole numbers
};

class CRecordViewer : public QWidget {
    Q_OBJECT
public:
    // Starts loading at once; the window deletes itself when closed.
    CRecordViewer(const QString& path, const ViewerUnit& unit, QWidget* parent = nullptr);
    ~CRecordViewer() override;

    void SetUnit(const ViewerUnit& unit);
    bool Loading() const { return m_loader.joinable(); }
    const RecordSummary& Summary() const { return m_summary; }
    const RecordColumns& Record() const { return *m_record; }
    CRecordChart* Chart() const { return m_chart; }
    QTableWidget* Table() const { return m_table; }
    // The statistics over the range, or over the whole record when none is marked.
    const RangeSummary& RangeStats() const { return m_rangeStats; }

    // Asks for a file through the platform's dialog and writes it; false when not written.
    bool ExportCsv();
    bool ExportPng();
    bool WriteCsv(const QString& path);
    void CancelLoading();

signals:
    // The record is in (whole, up to a bad line, or not at all).
    void loaded();

private:
    void BuildControls();
    void OnProgress(std::uint64_t done, std::uint64_t size);
    void OnLoaded(const RecordSummary& summary);
    void UpdateCursorColumn();
    void UpdateRange();
    QString Number(double value, bool whole) const;
    QString ProblemText(const RecordProblem& problem) const;
    void JoinLoader();

    QString m_path;
    ViewerUnit m_unit;
    std::unique_ptr<RecordColumns> m_record;
    RecordSummary m_summary;
    RangeSummary m_rangeStats;
    std::thread m_loader;
    std::atomic<bool> m_cancel{false};
    std::atomic<int> m_lastPermille{-1};

    CRecordChart* m_chart = nullptr;
    QTableWidget* m_table = nullptr;
    QLabel* m_cursorLabel = nullptr;
    QLabel* m_rangeLabel = nullptr;
    CCaptionLabel* m_spread = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QPushButton* m_fitButton = nullptr;
    QPushButton* m_allButton = nullptr;
    QPushButton* m_csvButton = nullptr;
    QPushButton* m_pngButton = nullptr;
};

} // namespace tensiq
