// One entry of the recent-files list: the file, the encoding it was shown in,
// the caret position and whether it was big-endian UTF-16.
#pragma once

#include <QString>

#include <cstdint>

struct THistItem {
    QString FileName;
    std::int32_t Kod = 0;
    std::int32_t Pos = 0;
    bool Uni = false;
};
