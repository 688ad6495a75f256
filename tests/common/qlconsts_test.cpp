// SPDX-License-Identifier: GPL-3.0-or-later
// The resource strings are shown in the language the user chose.
#include "qlconsts.h"
#include "testapp.h"

#include <QApplication>
#include <QTranslator>
#include <gtest/gtest.h>

namespace {

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
    EXPECT_EQ(Tr(QlConsts::CannotFindFile), QStringLiteral("Can not find the file: "));
}

} // namespace
