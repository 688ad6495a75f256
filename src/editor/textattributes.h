// SPDX-License-Identifier: GPL-3.0-or-later
// TTextAttributes: the character format of the selection or of the default text,
// one format get per property read and one set per write naming only that property.
#pragma once

#include "editortypes.h"
#include "richeditconsts.h"

#include <QString>

#include <cstdint>

class TqxEditor;

class TTextAttributes {
public:
    enum TAttributeKind : std::uint8_t { atSelected = 0, atDefaultText = 1 };

    TTextAttributes(TqxEditor* editor, TAttributeKind kind) : Editor(editor), Kind(kind) {}

    TColor Color() const;
    void SetColor(TColor value);
    QString Name() const;
    void SetName(const QString& value);
    int Size() const;                      // points
    void SetSize(int value);
    TFontCharset Charset() const;
    void SetCharset(TFontCharset value);
    TFontPitch Pitch() const;
    void SetPitch(TFontPitch value);
    TColor BackColor() const;
    void SetBackColor(TColor value);
    std::uint16_t Language() const;
    void SetLanguage(std::uint16_t value);
    std::uint8_t SubSuperscript() const;   // 0 normal, 1 subscript, 2 superscript
    void SetSubSuperscript(std::uint8_t value);
    double Offset() const;                 // points; positive raises
    void SetOffset(double value);
    std::uint8_t UnderlineType() const;    // CFU_*
    void SetUnderlineType(std::uint8_t value);
    bool SmallCaps() const;
    void SetSmallCaps(bool value);
    bool AllCaps() const;
    void SetAllCaps(bool value);
    bool Hidden() const;
    void SetHidden(bool value);
    bool Link() const;
    void SetLink(bool value);
    TFontStyles Style() const;
    void SetStyle(TFontStyles value);

    void Assign(const TTextAttributes& source);
    void Assign(const TFont& source);
    void AssignTo(TTextAttributes& dest) const;
    void AssignTo(TFont& dest) const;

    TqxEditor* Editor;
    TAttributeKind Kind;

private:
    platform::CHARFORMAT2 Get() const;
    void Set(const platform::CHARFORMAT2& format);
    void SetEffect(std::uint32_t bit, bool on);
};

// Points to twips, rounded to the nearest integer with halves to the even one.
std::int32_t PointsToTwips(double points);
