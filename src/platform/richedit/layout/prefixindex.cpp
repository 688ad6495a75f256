// SPDX-License-Identifier: GPL-3.0-or-later
// The Fenwick tree of block heights.
#include "prefixindex.h"

#include <algorithm>

namespace platform {

template <typename T> void BasicPrefixIndex<T>::Assign(std::vector<T> values)
{
    heights = std::move(values);
    const std::size_t n = heights.size();
    tree.assign(heights.begin(), heights.end());
    total = 0;
    for (std::size_t i = 1; i <= n; ++i) {
        total += heights[i - 1];
        const std::size_t parent = i + (i & (~i + 1));
        if (parent <= n)
            tree[parent - 1] += tree[i - 1];
    }
}

template <typename T> void BasicPrefixIndex<T>::SetHeight(int index, T height)
{
    const T delta = height - heights[std::size_t(index)];
    if (delta == 0)
        return;
    heights[std::size_t(index)] = height;
    total += delta;
    const std::size_t n = tree.size();
    for (std::size_t i = std::size_t(index) + 1; i <= n; i += i & (~i + 1))
        tree[i - 1] += delta;
}

template <typename T> T BasicPrefixIndex<T>::Before(int index) const
{
    T sum = 0;
    for (std::size_t i = std::size_t(index); i > 0; i -= i & (~i + 1))
        sum += tree[i - 1];
    return sum;
}

template <typename T> int BasicPrefixIndex<T>::Find(T y) const
{
    const std::size_t n = tree.size();
    if (n == 0)
        return -1;
    if (y < 0)
        return 0;
    std::size_t step = 1;
    while (step * 2 <= n)
        step *= 2;
    // Descends to the last position whose prefix sum is at most y.
    std::size_t pos = 0;
    T left = y;
    for (; step > 0; step /= 2) {
        if (pos + step <= n && tree[pos + step - 1] <= left) {
            pos += step;
            left -= tree[pos - 1];
        }
    }
    return int(std::min(pos, n - 1));
}

template class BasicPrefixIndex<double>;
template class BasicPrefixIndex<int>;

} // namespace platform
