// SPDX-License-Identifier: GPL-3.0-or-later
// Heights of a document's blocks in a Fenwick tree: the top of any block and the
// block at any height in O(log n), one block's height changed in O(log n).
#pragma once

#include <vector>

namespace platform {

class PrefixIndex {
public:
    // Replaces every height (O(n)).
    void Assign(std::vector<double> heights);
    int Size() const { return int(heights.size()); }
    double Height(int index) const { return heights[std::size_t(index)]; }
    void SetHeight(int index, double height);
    // The sum of the heights before index (index may be Size()).
    double Before(int index) const;
    double Total() const { return total; }
    // The block whose span [Before(i), Before(i + 1)) holds y; 0 above the first,
    // the last one below the end. -1 when there are none.
    int Find(double y) const;

private:
    std::vector<double> heights;
    std::vector<double> tree;   // tree[i - 1] sums heights (i - lowbit(i), i]
    double total = 0;
};

} // namespace platform
