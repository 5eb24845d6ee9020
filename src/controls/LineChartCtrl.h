#pragma once
// Strip chart, one trace per series on a black field with a dark-green 8-pixel grid. The
// picture is the history: each advance scrolls the back buffer 4 pixels left and draws the
// newest strip; painting is one copy of the back buffer.

#include "ChartSeries.h"
#include "WinTypes.h"

#include <QImage>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace tensiq {

class CLineChartCtrl : public QWidget {
    Q_OBJECT
public:
    explicit CLineChartCtrl(QWidget* parent = nullptr);
    ~CLineChartCtrl() override;

    BOOL AddSeries(COLORREF color, int fullScale, int lowerBound);
    void SetFullScale(int index, int fullScale);
    // The series' previous current value; 0 for an index outside the list.
    std::uint32_t SetValue(int index, std::uint32_t value);
    void Advance();

    int GetSeriesCount() const;
    // A copy, so that the caller never reads a series that another thread is changing.
    ChartSeries GetSeries(int index) const;
    // A copy of the back buffer; null before the first series.
    QImage GetBackBuffer() const;

    // Shared by every chart in the process: flips on every advance of any of them.
    static int GridToggle();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Asks for a repaint; always on the chart's own thread, whichever thread fed it.
    virtual void InvalidateClient();

private:
    void EnsureBackBuffer();
    // With m_bufferLock held, on the chart's own thread.
    void FitBackBuffer();
    void Invalidate();

    std::vector<std::unique_ptr<ChartSeries>> m_series;
    // The back buffer is drawn by whichever thread feeds the chart and copied by painting.
    mutable std::mutex m_bufferLock;
    QImage m_backBuffer;
    // Nothing but the grid has been drawn since the buffer was made.
    bool m_blank = true;
};

} // namespace tensiq
