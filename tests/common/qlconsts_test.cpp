// SPDX-License-Identifier: GPL-3.0-or-later
// The resource strings keep the program's exact texts and can be translated.
#include "qlconsts.h"
#include "testapp.h"

#include <QApplication>
#include <QTranslator>
#include <gtest/gtest.h>

namespace {

TEST(QlConstsTest, TextsAreKeptLetterForLetter)
{
    // Odd spellings and trailing blanks are part of the program's texts.
    EXPECT_STREQ(QlConsts::FileWritingError, "File writting error");
    EXPECT_STREQ(QlConsts::ExportNotSuccessful, "File export was not successfull");
    EXPECT_STREQ(QlConsts::TextLoadingFromMemory, "Text loading problems from memory ");
    EXPECT_STREQ(QlConsts::TextSavingToMemory, "Text saving error to memory ");
    EXPECT_STREQ(QlConsts::CannotFindFile, "Can not find the file: ");
    EXPECT_STREQ(QlConsts::ReplacementsDone, " replacements:  ");
    EXPECT_STREQ(QlConsts::TablesWillBeLost,
                 "Tables structure will be lost by code conversion.\r\nIt is recommended to save the text in RTF "
                 "format before.");
    EXPECT_STREQ(QlConsts::WaitTextLoading, "Wait... text loading");
}

// A language file stands in for quillet.ru: it knows the context and one text.
class RussianTranslator : public QTranslator {
public:
    QString translate(const char* context, const char* source, const char*, int) const override
    {
        if (QByteArray(context) == QlConsts::Context && QByteArray(source) == QlConsts::CannotFindFile)
            return QString::fromUtf8("Не могу найти файл: ");
        return {};
    }
    bool isEmpty() const override { return false; }
};

TEST(QlConstsTest, TranslationReplacesTheTextByItsContext)
{
    TestApp();
    EXPECT_EQ(Tr(QlConsts::CannotFindFile), QStringLiteral("Can not find the file: "));
    RussianTranslator russian;
    QCoreApplication::installTranslator(&russian);
    EXPECT_EQ(Tr(QlConsts::CannotFindFile), QString::fromUtf8("Не могу найти файл: "));
    EXPECT_EQ(Tr(QlConsts::TextInput), QStringLiteral("Text input")); // untranslated texts stay
    QCoreApplication::removeTranslator(&russian);
}

} // namespace
