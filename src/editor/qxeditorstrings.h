// SPDX-License-Identifier: GPL-3.0-or-later
// TqxEditorStrings: the editor's text as a list of lines laid over the control,
// and the stream path that loads and saves it through the encodings. It holds no
// lines itself, only the editor's encoding state.
#pragma once

#include "enctypes.h"
#include "streams.h"

#include <QString>
#include <QStringList>

#include <cstdint>

class TqxEditor;

class TqxEditorStrings {
public:
    explicit TqxEditorStrings(TqxEditor* editor) : Editor(editor) {}

    // Lines as the control counts them: with word wrap a paragraph is several lines.
    int Count() const;
    QString Get(int index) const;          // whole, however long, without its line end
    void Put(int index, const QString& s);
    void Insert(int index, const QString& s);
    void Delete(int index);
    int Add(const QString& s);
    void Clear();
    QString Text() const;                  // every line followed by CR LF
    void SetTextStr(const QString& value); // no OnChange per line
    void AddStrings(const QStringList& strings);
    void Assign(const QStringList& strings);
    QStringList ToStringList() const;
    void BeginUpdate();
    void EndUpdate();

    // The stream path. The caller sets Encoding, DosAdd, UniType and Selection first.
    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream);
    void LoadFromFile(const QString& fileName);
    void SaveToFile(const QString& fileName);

    TqxEditor* Editor;
    TEnc Encoding = Win;
    TDosAdd DosAdd = daNone;
    TUniType UniType = Little;
    bool Selection = false;
    bool AutoEncoding = true;

protected:
    virtual void SetUpdateState(bool updating);

private:
    void StreamIn(TStream& stream);
    int updateCount = 0;
};
