// SPDX-License-Identifier: GPL-3.0-or-later
// The RTF tokenizer: bytes to tokens, with bounded words, numbers and binary runs.
#include "rtftokenizer.h"

#include "rtfhex.h"

#include <cstring>

namespace platform {

namespace {

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

bool RtfToken::Is(const char* name) const
{
    return kind == RtfTokenKind::ControlWord && std::strcmp(word, name) == 0;
}

RtfTokenizer::RtfTokenizer(const QByteArray& data)
    : data_(data.constData()), size_(int(data.size()))
{
}

bool RtfTokenizer::Next(RtfToken& token)
{
    // Line ends carry no meaning in RTF outside binary data.
    while (pos_ < size_ && (data_[pos_] == '\r' || data_[pos_] == '\n'))
        ++pos_;
    if (pos_ >= size_) {
        token.kind = RtfTokenKind::End;
        return false;
    }
    const char c = data_[pos_];
    if (c == '{') {
        ++pos_;
        token.kind = RtfTokenKind::GroupStart;
        return true;
    }
    if (c == '}') {
        ++pos_;
        token.kind = RtfTokenKind::GroupEnd;
        return true;
    }
    if (c != '\\') {
        token.kind = RtfTokenKind::Text;
        token.textBegin = pos_;
        while (pos_ < size_) {
            const char t = data_[pos_];
            if (t == '\\' || t == '{' || t == '}' || t == '\r' || t == '\n')
                break;
            ++pos_;
        }
        token.textEnd = pos_;
        return true;
    }
    ++pos_;
    if (pos_ >= size_) {
        token.kind = RtfTokenKind::End;
        return false;
    }
    const char s = data_[pos_];
    if (IsLetter(s)) {
        token.kind = RtfTokenKind::ControlWord;
        int n = 0;
        while (pos_ < size_ && IsLetter(data_[pos_])) {
            if (n < MaxWordLength)
                token.word[n++] = data_[pos_];
            ++pos_;
        }
        token.word[n] = 0;
        token.wordLength = n;
        token.hasParameter = false;
        token.parameter = 0;
        bool negative = false;
        if (pos_ + 1 < size_ && data_[pos_] == '-' && IsDigit(data_[pos_ + 1])) {
            negative = true;
            ++pos_;
        }
        if (pos_ < size_ && IsDigit(data_[pos_])) {
            token.hasParameter = true;
            std::int64_t value = 0;
            while (pos_ < size_ && IsDigit(data_[pos_])) {
                if (value < 0x80000000LL)
                    value = value * 10 + (data_[pos_] - '0');
                ++pos_;
            }
            if (negative)
                value = -value;
            // Saturate: huge numbers become the largest the reader can hold.
            if (value > 0x7fffffffLL)
                value = 0x7fffffffLL;
            if (value < -0x7fffffffLL)
                value = -0x7fffffffLL;
            token.parameter = std::int32_t(value);
        }
        if (pos_ < size_ && data_[pos_] == ' ')
            ++pos_;
        return true;
    }
    if (s == '\'') {
        ++pos_;
        const int hi = pos_ < size_ ? HexValue(data_[pos_]) : -1;
        const int lo = pos_ + 1 < size_ ? HexValue(data_[pos_ + 1]) : -1;
        if (hi < 0 || lo < 0) {
            // A broken escape: drop it and whatever single hex digit it had.
            if (hi >= 0)
                ++pos_;
            token.kind = RtfTokenKind::ControlSymbol;
            token.word[0] = 0;
            token.wordLength = 0;
            return true;
        }
        pos_ += 2;
        token.kind = RtfTokenKind::HexByte;
        token.byte = std::uint8_t(hi * 16 + lo);
        return true;
    }
    ++pos_;
    if (s == '\r' || s == '\n') {
        // A backslash before a line end is a paragraph mark.
        token.kind = RtfTokenKind::ControlWord;
        std::strcpy(token.word, "par");
        token.wordLength = 3;
        token.hasParameter = false;
        return true;
    }
    token.kind = RtfTokenKind::ControlSymbol;
    token.word[0] = s;
    token.word[1] = 0;
    token.wordLength = 1;
    return true;
}

bool RtfTokenizer::SkipGroup()
{
    std::int64_t depth = 1;
    RtfToken token;
    while (pos_ < size_) {
        const char c = data_[pos_];
        if (c == '{') {
            ++depth;
            ++pos_;
        } else if (c == '}') {
            ++pos_;
            if (--depth == 0)
                return true;
        } else if (c == '\\') {
            Next(token);
            if (token.Is("bin") && token.parameter > 0)
                TakeBinary(token.parameter);
        } else {
            ++pos_;
        }
    }
    return false;
}

bool RtfTokenizer::GroupHolds(std::initializer_list<const char*> words, std::int64_t& budget) const
{
    RtfTokenizer ahead(*this);
    std::int64_t depth = 1;
    RtfToken token;
    bool found = false;
    while (!found && depth > 0 && ahead.pos_ < size_ && ahead.pos_ - pos_ < budget) {
        const char c = data_[ahead.pos_];
        if (c == '{') {
            ++depth;
            ++ahead.pos_;
        } else if (c == '}') {
            --depth;
            ++ahead.pos_;
        } else if (c == '\\') {
            ahead.Next(token);
            if (token.Is("bin") && token.parameter > 0)
                ahead.TakeBinary(token.parameter);
            else if (token.kind == RtfTokenKind::ControlWord)
                for (const char* word : words)
                    found = found || token.Is(word);
        } else {
            ++ahead.pos_;
        }
    }
    budget -= ahead.pos_ - pos_;
    return found;
}

QByteArray RtfTokenizer::TakeBinary(std::int64_t n)
{
    if (n <= 0)
        return {};
    const std::int64_t available = size_ - pos_;
    const int count = int(n < available ? n : available);
    QByteArray bytes(data_ + pos_, count);
    pos_ += count;
    return bytes;
}

} // namespace platform
