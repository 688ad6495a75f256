// SPDX-License-Identifier: GPL-3.0-or-later
// The page setup dialog: margins shown and kept in millimetres or inches, what a
// confirmed dialog stores and applies, and a cancelled one that changes nothing.
#include "testsupport.h"

#include "pagedlg.h"
#include "printer.h"
#include "qtprompter.h"
#include "printerrors.h"
#include "registry.h"
#include "registrylayout.h"

#include <tuple>

namespace {

class PageSetupTest : public PrintTest {
protected:
    TPageSetupDialog Dialog()
    {
        TPageSetupDialog dialog;
        dialog.RegPath = QString::fromLatin1(RegistryKeys::Marges);
        dialog.SaveMargins = true;
        return dialog;
    }
};

TEST_F(PageSetupTest, TheDialogShowsTheMarginsInTheirUnitSwitchingConvertsAndACancelChangesNothing)
{
    TPageSetupDialog dialog = Dialog();
    prompter.AnswerPageSetup(std::nullopt).AnswerPageSetup(std::nullopt);
    EXPECT_FALSE(dialog.Execute());
    dialog.SetMeasureUnit(TMeasureUnit::muInches);
    EXPECT_FALSE(dialog.Execute());
    ASSERT_EQ(prompter.Asked().size(), 2u);
    const QPageLayout mm = prompter.Asked()[0].pageSetup.layout;
    EXPECT_EQ(mm.units(), QPageLayout::Millimeter);
    EXPECT_DOUBLE_EQ(mm.margins().left(), 25.4);
    EXPECT_EQ(mm.pageSize().id(), QPageSize::A4);
    const QPageLayout inches = prompter.Asked()[1].pageSetup.layout;
    EXPECT_EQ(inches.units(), QPageLayout::Inch);
    EXPECT_DOUBLE_EQ(inches.margins().top(), 1.0);
    platform::TRegistry reg;
    EXPECT_FALSE(reg.KeyExists(RegistryKeys::Marges));
    EXPECT_EQ(platform::SystemPrinter().Orientation(), platform::TPrinterOrientation::poPortrait);

    // Switching the unit converts the margins, once.
    TPageSetupDialog converted;
    converted.MarginLeft = 25.4;
    converted.MarginTop = 50.8;
    converted.SetMeasureUnit(TMeasureUnit::muInches);
    converted.SetMeasureUnit(TMeasureUnit::muInches);
    EXPECT_EQ(std::tuple(converted.MarginLeft, converted.MarginTop), std::tuple(1.0, 2.0));
    converted.SetMeasureUnit(TMeasureUnit::muMillimeters);
    EXPECT_DOUBLE_EQ(converted.MarginLeft, 25.4);
}

TEST_F(PageSetupTest, AConfirmedDialogStoresWhatThePrinterThenReads)
{
    TPageSetupDialog dialog = Dialog();
    // The user switched Qt's dialog to inches and turned the paper.
    const PageSetupAnswer answer{platform::SystemPrinter().PrinterIndex(),
                                 QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Landscape,
                                             QMarginsF(1.0, 0.5, 0.75, 1.25), QPageLayout::Inch)};
    prompter.AnswerPageSetup(answer);
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.MeasureUnit(), TMeasureUnit::muInches);
    EXPECT_EQ(std::tuple(dialog.MarginLeft, dialog.MarginTop, dialog.MarginRight, dialog.MarginBottom),
              std::tuple(1.0, 0.5, 0.75, 1.25));
    EXPECT_EQ(platform::SystemPrinter().PageLayout().pageSize().id(), QPageSize::Letter);
    EXPECT_EQ(dialog.Orientation(), platform::TPrinterOrientation::poLandscape);
    {
        platform::TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(RegistryKeys::Marges, false));
        EXPECT_DOUBLE_EQ(reg.ReadFloat(MargesValue::MarginBottom), 1.25);
        EXPECT_EQ(reg.ReadInteger(MargesValue::CodeMeasurement), 1);
        EXPECT_EQ(reg.ReadInteger(MargesValue::CodeDirection), 0);
    }
    // A second dialog reads the stored inches as inches.
    TPageSetupDialog again = Dialog();
    prompter.AnswerPageSetup(std::nullopt);
    EXPECT_FALSE(again.Execute());
    EXPECT_EQ(again.MeasureUnit(), TMeasureUnit::muInches);
    EXPECT_DOUBLE_EQ(again.MarginLeft, 1.0);
    EXPECT_DOUBLE_EQ(prompter.Asked().back().pageSetup.layout.margins().left(), 1.0);
}

TEST_F(PageSetupTest, OtherUnitsOfQtsDialogAreReadInTheCurrentOne)
{
    TPageSetupDialog dialog = Dialog();
    const PageSetupAnswer answer{platform::SystemPrinter().PrinterIndex(),
                                 QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(72, 36, 72, 72),
                                             QPageLayout::Point)};
    prompter.AnswerPageSetup(answer);
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.MeasureUnit(), TMeasureUnit::muMillimeters);
    EXPECT_NEAR(dialog.MarginLeft, 25.4, 1e-6);
    EXPECT_NEAR(dialog.MarginTop, 12.7, 1e-6);
}

TEST_F(PageSetupTest, WithoutAPrinterTheDialogIsNotShown)
{
    qputenv("QUILLET_NO_PDF_PRINTER", "1");
    platform::SystemPrinter().Refresh();
    if (!platform::SystemPrinter().Printers().empty())
        GTEST_SKIP() << "this machine has printers of its own";
    TPageSetupDialog dialog = Dialog();
    try {
        dialog.Execute();
        ADD_FAILURE() << "the dialog ran";
    } catch (const ELinePrinter& error) {
        EXPECT_STREQ(error.what(), "None of installed printer");
    }
    EXPECT_TRUE(prompter.Asked().empty());
    qunsetenv("QUILLET_NO_PDF_PRINTER");
    platform::SystemPrinter().Refresh();
}

} // namespace
