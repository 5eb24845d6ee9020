#pragma once
// Min/max decimation: a chart column shows the smallest and the largest value of the frames
// that fall into it, so no peak is lost however many frames share a pixel.
#include "RecordColumns.h"

#include <vector>

namespace tensiq {

// Frames [first, first + count) spread over `columns` pixel columns; column c takes the
// frames from first + c * count / columns up to the next column's first (none when zoomed in
// further than a frame per column).
std::vector<ValueRange> Decimate(const RecordColumns& record, int series, std::int64_t first,
                                 std::int64_t count, int columns);

// The first frame of pixel column c, as Decimate divides them.
inline std::int64_t ColumnStart(std::int64_t first, std::int64_t count, int columns, int c) {
    return first + count * c / columns;
}

} // namespace tensiq
