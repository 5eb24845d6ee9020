#pragma once
// A column of values stored in fixed blocks: growing it never copies what it holds, so a
// long record loads without the peak of a reallocation.
#include <cstdint>
#include <memory>
#include <vector>

namespace tensiq {

template <typename T> class ChunkedColumn {
public:
    static constexpr int kBlockBits = 16;
    static constexpr std::int64_t kBlockSize = std::int64_t{1} << kBlockBits;

    void PushBack(T value) {
        if ((m_size & (kBlockSize - 1)) == 0)
            m_blocks.push_back(std::make_unique<T[]>(kBlockSize));
        m_blocks.back()[m_size & (kBlockSize - 1)] = value;
        ++m_size;
    }
    T operator[](std::int64_t i) const { return m_blocks[i >> kBlockBits][i & (kBlockSize - 1)]; }
    void Set(std::int64_t i, T value) { m_blocks[i >> kBlockBits][i & (kBlockSize - 1)] = value; }
    std::int64_t Size() const { return m_size; }
    void Clear() {
        m_blocks.clear();
        m_size = 0;
    }
    // Calls f with each stretch of contiguous values in [first, last).
    template <typename F> void ForEachSpan(std::int64_t first, std::int64_t last, F&& f) const {
        while (first < last) {
            const std::int64_t blockEnd = ((first >> kBlockBits) + 1) << kBlockBits;
            const std::int64_t end = last < blockEnd ? last : blockEnd;
            const T* block = m_blocks[first >> kBlockBits].get();
            f(block + (first & (kBlockSize - 1)),
              block + (first & (kBlockSize - 1)) + (end - first));
            first = end;
        }
    }

private:
    std::vector<std::unique_ptr<T[]>> m_blocks;
    std::int64_t m_size = 0;
};

} // namespace tensiq
