// SPDX-License-Identifier: GPL-3.0-or-later
// The RTF reader proper: walks the tokens with a stack of group states, fills the
// document tables and feeds the document builder.
#pragma once

#include "rtfcodepages.h"
#include "rtfdocumentbuilder.h"
#include "rtfformats.h"
#include "rtfpicture.h"
#include "rtfstate.h"
#include "rtftokenizer.h"
#include "rtfwords.h"

#include <QByteArray>
#include <QString>
#include <QTextCursor>

#include <map>
#include <vector>

namespace platform {

enum class RtfDestination : std::uint8_t {
    Body,
    FontTable,
    ColorTable,
    Pn,
    PnTextBefore,
    PnTextAfter,
    FieldInstruction,
    ListTable,
    List,
    ListLevel,
    LevelText,
    ListOverrideTable,
    ListOverride,
    Stylesheet,
    StyleEntry,
    NestTableProps,     // a nested row's properties, ending with \nestrow
};

class RtfReaderEngine {
public:
    // Groups nested deeper than this share the state of the deepest one.
    static constexpr int MaxDepth = 2048;

    RtfReaderEngine(const QByteArray& data, QTextCursor& cursor);
    void Read();

private:
    struct GroupState {
        RtfCharState ch;
        RtfParaState para;
        RtfDestination dest = RtfDestination::Body;
        int uc = 1;
        int field = 0;          // 1-based field whose instruction or result this is
        int groupStart = 0;     // offset of the group's opening brace
    };

    void Push();
    bool Pop();                 // false once the document's own group closed
    void CloseDestination(const GroupState& closed);
    bool SkipRestOfGroup();
    bool StartDestination(const RtfToken& t, RtfWord w);
    void Word(const RtfToken& t, RtfWord w);
    void CharWord(const RtfToken& t, RtfWord w);
    bool ParaWord(const RtfToken& t, RtfWord w);
    bool TableWord(const RtfToken& t, RtfWord w);
    bool HeaderWord(const RtfToken& t, RtfWord w);
    void Symbol(char c);
    void Text(const char* bytes, int n);
    void HexByte(std::uint8_t byte);
    void AppendUnits(const QString& units);
    QString* TextTarget();
    void SelectCodePage();
    void FinishFont();
    void FinishColor();
    void ReadPicture();
    // Reads a {\pict} group whose \pict was just read, up to and with its closing
    // brace; false when the data ends first.
    bool ReadPictureGroup(RtfPicture& picture, bool& known);
    void ReadObject();
    void ReadObjectPart(struct RtfObjectParts& parts);
    bool ReadResultContent(struct RtfObjectParts& parts, int depth);
    bool ReadResultGroup(struct RtfObjectParts& parts, int depth);
    QString ReadDestinationText();
    QTextCharFormat ObjectFormat(QTextCharFormat object) const;
    void StartFieldResult();

    RtfTokenizer tokens_;
    QTextCursor& cursor_;
    RtfFormatTables tables_;
    RtfDocumentBuilder builder_;
    RtfByteDecoder decoder_;
    int decoderFont_ = -2;
    int decoderAnsi_ = -1;

    GroupState cur_;
    std::vector<GroupState> stack_;
    int overflow_ = 0;
    bool ended_ = false;
    int skip_ = 0;              // characters still to drop after \uN
    int deff_ = -1;
    // Bytes the reader may still look ahead into skipped destinations for table
    // cells: a few times the data, so that the look stays linear however they nest.
    std::int64_t cellLookBudget_ = 0;
    // Whether text and paragraph, cell and row ends in the current destination
    // belong to the document: the body's, and that of a nested row's property
    // group, which some writers fill with the row's cells.
    bool InBody() const { return cur_.dest == RtfDestination::Body || cur_.dest == RtfDestination::NestTableProps; }
    RtfRowState row_;
    RtfRowState nestRow_;

    // Font table entry being read.
    int fontNumber_ = -1;
    RtfFont font_;
    QString fontName_;
    bool fontOpen_ = false;
    // Colour table entry being read.
    int red_ = 0, green_ = 0, blue_ = 0;
    bool colorGiven_ = false;
    // \pn group being read.
    int pnNumbering_ = 0, pnStart_ = 0, pnTab_ = 0;
    bool pnContinue_ = false;
    QString pnBefore_, pnAfter_;
    int lastNumbering_ = 0;
    // Word list tables being read.
    std::vector<RtfListLevel> listLevels_;
    RtfListLevel level_;
    int listId_ = 0;
    int overrideListId_ = 0, overrideLs_ = 0;
    // Paragraph styles: the formats a \sN in the text starts from.
    struct Style {
        RtfCharState ch;
        RtfParaState para;
    };
    std::map<int, Style> styles_;
    int styleNumber_ = 0;
    void ApplyStyle(int number);
    // Field instructions, by field number - 1.
    std::vector<QString> fields_;
    QString scratch_;
};

} // namespace platform
