// SPDX-License-Identifier: GPL-3.0-or-later
// Splits RTF bytes into groups, control words, control symbols and text runs,
// with hard limits so that hostile input cannot make it loop or grow.
#pragma once

#include <QByteArray>
#include <cstdint>
#include <initializer_list>

namespace platform {

enum class RtfTokenKind { End, GroupStart, GroupEnd, ControlWord, ControlSymbol, HexByte, Text };

struct RtfToken {
    RtfTokenKind kind = RtfTokenKind::End;
    // ControlWord: the letters (at most MaxWordLength); ControlSymbol: the one character.
    char word[33] = {};
    int wordLength = 0;
    bool hasParameter = false;
    std::int32_t parameter = 0;
    // HexByte: the byte; Text: the run [textBegin, textEnd) of the input.
    std::uint8_t byte = 0;
    int textBegin = 0;
    int textEnd = 0;

    bool Is(const char* name) const;
};

class RtfTokenizer {
public:
    // Control words are at most 32 letters long; longer ones are cut, the rest skipped.
    static constexpr int MaxWordLength = 32;

    explicit RtfTokenizer(const QByteArray& data);

    bool Next(RtfToken& token);
    // Skips to just after the brace that closes the group whose opening brace was
    // already read; answers false when the data ends first.
    bool SkipGroup();
    // Whether the rest of the group whose opening brace was already read holds
    // one of the control words (at any depth), looking at no more than budget
    // bytes, which it lowers by what it looked at. Reads nothing.
    bool GroupHolds(std::initializer_list<const char*> words, std::int64_t& budget) const;
    // The next n bytes as binary data (\binN), clipped to what remains.
    QByteArray TakeBinary(std::int64_t n);

    int Position() const { return pos_; }
    const char* Data() const { return data_; }
    int Size() const { return size_; }

private:
    const char* data_;
    int size_;
    int pos_ = 0;
};

} // namespace platform
