#include "Decimation.h"

namespace tensiq {

std::vector<ValueRange> Decimate(const RecordColumns& record, int series, std::int64_t first,
                                 std::int64_t count, int columns) {
    std::vector<ValueRange> out(columns > 0 ? static_cast<std::size_t>(columns) : 0);
    if (columns <= 0 || count <= 0)
        return out;
    for (int c = 0; c < columns; ++c)
        out[c] = record.Extent(series, ColumnStart(first, count, columns, c),
                               ColumnStart(first, count, columns, c + 1));
    return out;
}

} // namespace tensiq
