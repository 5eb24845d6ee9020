#pragma once
// The chart of a saved record: the twelve ropes and the total against the frame number, drawn
// with min/max decimation per pixel column. Wheel and a dragged box with the right button
// zoom, a drag with the left button pans, a click places the cursor, a drag with Shift marks a
// range. Keys: arrows move the cursor (Shift: ten frames), +/- zoom, Page Up/Down pan, Home/End,
// F fits all, [ and ] set the range's ends at the cursor.
#include "RecordColumns.h"

#include <QWidget>

#include <array>
#include <bitset>

namespace tensiq {

class CRecordChart : public QWidget {
    Q_OBJECT
public:
    explicit CRecordChart(QWidget* parent = nullptr);

    void SetRecord(const RecordColumns* record);
    // Units per kilogram, for the value axis.
    void SetUnitFactor(double factor);
    void SetSeriesVisible(int series, bool visible);
    bool SeriesVisible(int series) const { return m_visible[series]; }

    void FitAll();
    // Shows frames [first, first + span), counted from 0, clamped to the record.
    void SetView(double first, double span);
    double ViewFirst() const { return m_first; }
    double ViewSpan() const { return m_span; }
    // Zooms by factor (< 1 zooms in) around the frame under x.
    void ZoomAt(double x, double factor);

    // Frames counted from 1; 0 for none.
    void SetCursorFrame(std::int64_t frame);
    std::int64_t CursorFrame() const { return m_cursor; }
    void SetRange(std::int64_t first, std::int64_t last);
    std::int64_t RangeFirst() const { return m_rangeFirst; }
    std::int64_t RangeLast() const { return m_rangeLast; }

    // The frame (from 1) under a widget x.
    std::int64_t FrameAt(double x) const;

    static QColor SeriesColour(int series);

signals:
    void cursorChanged(std::int64_t frame);
    void rangeChanged(std::int64_t first, std::int64_t last);
    void viewChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    enum class Drag { None, Pan, Box, Range };
    QRect PlotRect() const;
    double XOf(double frame) const; // frame from 0
    int Columns() const;
    void ClampView();

    const RecordColumns* m_record = nullptr;
    double m_unitFactor = 1.0;
    std::bitset<kSeriesCount> m_visible;
    double m_first = 0;
    double m_span = 1;
    std::int64_t m_cursor = 0;
    std::int64_t m_rangeFirst = 0;
    std::int64_t m_rangeLast = 0;
    Drag m_drag = Drag::None;
    QPoint m_pressAt;
    QPoint m_dragAt;
    double m_pressFirst = 0;
    bool m_moved = false;
};

} // namespace tensiq
