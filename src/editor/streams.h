// SPDX-License-Identifier: GPL-3.0-or-later
// Byte streams of the stream path: an in-memory stream and a read-only stream over
// a regular file that never reads past the size the file had when it was opened.
#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <vector>

// A seekable byte stream. Read answers fewer bytes than asked only at the end.
class TStream {
public:
    virtual ~TStream() = default;
    virtual std::size_t Read(std::uint8_t* buffer, std::size_t count) = 0;
    virtual std::size_t Write(const std::uint8_t* buffer, std::size_t count) = 0;
    virtual std::int64_t Position() const = 0;
    virtual void SetPosition(std::int64_t position) = 0;
    virtual std::int64_t Size() const = 0;
};

class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::vector<std::uint8_t> bytes) : data(std::move(bytes)) {}

    std::size_t Read(std::uint8_t* buffer, std::size_t count) override;
    std::size_t Write(const std::uint8_t* buffer, std::size_t count) override;
    std::int64_t Position() const override { return position; }
    void SetPosition(std::int64_t value) override;
    std::int64_t Size() const override { return std::int64_t(data.size()); }

    void Clear();
    const std::vector<std::uint8_t>& Bytes() const { return data; }

private:
    std::vector<std::uint8_t> data;
    std::size_t position = 0;
};

// Reading a file for loading. Opening refuses anything but a regular file (a FIFO
// would block, a device never end) and fails with EFOpenError in the program's
// words. Reads stop at the size seen at opening, so a file that grows meanwhile
// cannot outgrow the checks made on that size; CheckUnchanged reports a file that
// was changed while it was read. A file whose size reads as 0 may still hold data
// (the kernel's /proc and /sys files): it is read to its end at opening, at most
// unknownSizeLimit + 1 bytes, and its size is what was read.
class TFileReadStream : public TStream {
public:
    explicit TFileReadStream(const QString& fileName, std::int64_t unknownSizeLimit = DefaultUnknownSizeLimit);
    static constexpr std::int64_t DefaultUnknownSizeLimit = std::int64_t(64) << 20;
    ~TFileReadStream() override;
    TFileReadStream(const TFileReadStream&) = delete;
    TFileReadStream& operator=(const TFileReadStream&) = delete;

    std::size_t Read(std::uint8_t* buffer, std::size_t count) override;
    std::size_t Write(const std::uint8_t* buffer, std::size_t count) override;
    std::int64_t Position() const override { return position; }
    void SetPosition(std::int64_t value) override;
    std::int64_t Size() const override { return size; }

    // Reads up to count bytes at offset without moving the position.
    std::size_t ReadAt(std::int64_t offset, std::uint8_t* buffer, std::size_t count) const;
    // Raises EReadError when the file's size or time stamp differ from those at opening.
    void CheckUnchanged() const;

private:
    void ReadWhole(std::int64_t limit);

    QString name;
    int fd = -1;
    bool whole = false;   // read at opening: the bytes are in contents
    std::vector<std::uint8_t> contents;
    std::int64_t size = 0;
    std::int64_t position = 0;
    std::int64_t mtimeNs = 0;
};
