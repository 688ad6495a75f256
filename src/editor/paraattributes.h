// SPDX-License-Identifier: GPL-3.0-or-later
// TParaAttributes: the paragraph format of the paragraphs the selection touches,
// one format get per property read and one set per write naming only that property.
#pragma once

#include "richeditconsts.h"

#include <cstdint>

class TqxEditor;

class TParaAttributes {
public:
    explicit TParaAttributes(TqxEditor* editor) : Editor(editor) {}

    std::uint8_t Alignment() const;             // 0 left, 1 right, 2 centre, 3 justify
    void SetAlignment(std::uint8_t value);
    std::uint8_t Numbering() const;             // PFN_*
    void SetNumbering(std::uint8_t value);
    void SetNumberingStyle(std::uint8_t index); // 0..4: PFNS_PAREN .. PFNS_NONUMBER
    void SetNumberingStart(std::uint16_t value);
    void SetNumberingTab(double points);
    double FirstIndent() const;                 // points
    void SetFirstIndent(double points);
    void SetLeftIndent(double points);
    void SetRightIndent(double points);
    std::uint8_t LineSpacingRule() const;
    void SetLineSpacing(std::uint8_t rule, double points);
    bool InTable() const;

    TqxEditor* Editor;

private:
    platform::PARAFORMAT2 Get() const;
    void Set(const platform::PARAFORMAT2& format);
};
