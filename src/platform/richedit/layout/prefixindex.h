// SPDX-License-Identifier: GPL-3.0-or-later
// Heights (or line counts) of a document's blocks in a Fenwick tree: the top of
// any block and the block at any height in O(log n), one block's value changed in O(log n).
#pragma once

#include <vector>

namespace platform {

template <typename T> class BasicPrefixIndex {
public:
    // Replaces every height (O(n)).
    void Assign(std::vector<T> heights);
    int Size() const { return int(heights.size()); }
    T Height(int index) const { return heights[std::size_t(index)]; }
    void SetHeight(int index, T height);
    // The sum of the heights before index (index may be Size()).
    T Before(int index) const;
    T Total() const { return total; }
    // The block whose span [Before(i), Before(i + 1)) holds y; 0 above the first,
    // the last one below the end. -1 when there are none.
    int Find(T y) const;

private:
    std::vector<T> heights;
    std::vector<T> tree;   // tree[i - 1] sums heights (i - lowbit(i), i]
    T total = 0;
};

using PrefixIndex = BasicPrefixIndex<double>;
// Display lines per block: the first line of any block and the block of any line.
using LineIndex = BasicPrefixIndex<int>;

} // namespace platform
