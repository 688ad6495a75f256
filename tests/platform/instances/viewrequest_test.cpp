// SPDX-License-Identifier: GPL-3.0-or-later
// The view-request record, byte for byte: other programs write it.
#include "viewrequest.h"

#include <gtest/gtest.h>

namespace {

QByteArray Record()
{
    return QByteArray(ViewRequestSize, '\0');
}

TEST(ViewRequest, FieldsAreReadAtTheirOffsetsLittleEndianAndOnlyFromWholeRecords)
{
    QByteArray r = Record();
    const QByteArray first = "/home/user/" + QByteArray(244, 'a');  // 255 bytes, its zero at 255
    const QByteArray second = "/tail.txt";
    r.replace(0, first.size(), first);
    r.replace(256, second.size(), second);
    r[300] = 'X';  // after the second part's zero: not part of the name
    r[512] = 1;
    r[513] = 2;
    r[514] = char(0x80);
    r[515] = char(0xFF);  // reserved
    const char caret[] = {0x04, 0x03, 0x02, 0x01};
    const char selection[] = {char(0xFF), char(0xFF), char(0xFF), char(0xFF)};
    r.replace(516, 4, caret, 4);
    r.replace(520, 4, selection, 4);

    const std::optional<TViewRequest> request = ParseViewRequest(r);
    ASSERT_TRUE(request);
    EXPECT_EQ(request->FileName, first + second);
    EXPECT_TRUE(request->KeepName);
    EXPECT_EQ(request->Encoding, 2);
    EXPECT_TRUE(request->BigEndian);
    EXPECT_EQ(request->CaretPos, 0x01020304u);
    EXPECT_EQ(request->SelLength, 0xFFFFFFFFu);

    r[512] = 0;
    r[514] = 0;
    EXPECT_FALSE(ParseViewRequest(r)->KeepName);
    EXPECT_FALSE(ParseViewRequest(r)->BigEndian);

    // Short, long and unterminated records are not read.
    QByteArray good = Record();
    good.replace(0, 6, "/a.txt");
    ASSERT_TRUE(ParseViewRequest(good));
    EXPECT_FALSE(ParseViewRequest(good.left(ViewRequestSize - 1)));
    EXPECT_FALSE(ParseViewRequest(good + '\0'));
    EXPECT_FALSE(ParseViewRequest(QByteArray()));

    QByteArray noFirstZero = good;
    noFirstZero.replace(0, 256, QByteArray(256, 'a'));
    EXPECT_FALSE(ParseViewRequest(noFirstZero));
    QByteArray noSecondZero = good;
    noSecondZero.replace(256, 256, QByteArray(256, 'b'));
    EXPECT_FALSE(ParseViewRequest(noSecondZero));
}

TEST(ViewRequest, BuiltRecordsSplitLongNamesAndReadBack)
{
    for (const qsizetype length : {1, 255, 256, 300, 510}) {
        TViewRequest request;
        request.FileName = '/' + QByteArray(length - 1, '\xE0');  // a Windows-1251 name stays bytes
        request.KeepName = true;
        request.Encoding = 5;
        request.BigEndian = true;
        request.CaretPos = 123456;
        request.SelLength = 7;
        const std::optional<QByteArray> record = BuildViewRequest(request);
        ASSERT_TRUE(record) << length;
        ASSERT_EQ(record->size(), ViewRequestSize);
        EXPECT_EQ(record->at(255), '\0') << length;
        EXPECT_EQ(record->at(511), '\0') << length;
        const std::optional<TViewRequest> back = ParseViewRequest(*record);
        ASSERT_TRUE(back) << length;
        EXPECT_EQ(back->FileName, request.FileName);
        EXPECT_EQ(back->Encoding, 5);
        EXPECT_TRUE(back->KeepName && back->BigEndian);
        EXPECT_EQ(back->CaretPos, 123456u);
        EXPECT_EQ(back->SelLength, 7u);
    }
    TViewRequest tooLong;
    tooLong.FileName = QByteArray(ViewRequestMaxName + 1, 'a');
    EXPECT_FALSE(BuildViewRequest(tooLong));
    TViewRequest withZero;
    withZero.FileName = QByteArray("/a\0b", 4);
    EXPECT_FALSE(BuildViewRequest(withZero));
    EXPECT_FALSE(BuildViewRequest(TViewRequest{}));
}

} // namespace
