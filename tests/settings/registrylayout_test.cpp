// SPDX-License-Identifier: GPL-3.0-or-later
// Removing the program's data, and how registry failures reach the user.
#include "qlconsts.h"
#include "recentfiles.h"
#include "registrylayout.h"
#include "registrymessages.h"
#include "scriptedprompter.h"
#include "settingsstore.h"
#include "startupoptions.h"

#include <fstream>

using namespace platform;

namespace {

class RegistryLayoutTest : public SettingsStoreTest {};

TEST_F(RegistryLayoutTest, ClearingRemovesTheProgramsKeysOnly)
{
    for (const char* key : RegistryKeys::All)
        PutIntegers(key, {{"X", 1}});
    PutIntegers("\\Software\\Tarnwick\\Other", {{"Y", 2}});
    PutIntegers("\\Software\\Elsewhere", {{"Z", 3}});
    DeleteProgramKeys();
    TRegistry reg;
    EXPECT_FALSE(reg.KeyExists(RegistryKeys::Tarnwick));
    EXPECT_TRUE(reg.KeyExists("\\Software\\Elsewhere"));
    EXPECT_FALSE(ReadStartupOptions().keyFound);
    DeleteProgramKeys(); // nothing left to remove is no failure
}

TEST_F(RegistryLayoutTest, UnreadableStoreIsReportedOnceAndKept)
{
    {
        std::ofstream out(file, std::ios::binary);
        out << "not a registry at all, but the user's own notes\n";
    }
    ScriptedPrompter script;
    script.AnswerMessage(MsgButton::Ok);
    ScopedPrompter installed(script);
    // Start-up reads the recent files, then the options: both fail, one notice.
    int reported = 0;
    for (int i = 0; i < 2; ++i) {
        try {
            i == 0 ? (void)ReadHistory() : (void)ReadStartupOptions();
            ADD_FAILURE() << "no error";
        } catch (const RegistryCorruptError& e) {
            reported += ReportRegistryError(e) ? 1 : 0;
        }
    }
    EXPECT_EQ(reported, 1);
    ASSERT_EQ(script.Asked().size(), 1u);
    EXPECT_EQ(script.Asked()[0].text, Tr(QlConsts::SettingsUnreadable) + QString::fromStdString(file));
    std::ifstream in(file);
    std::string text;
    std::getline(in, text);
    EXPECT_EQ(text, "not a registry at all, but the user's own notes");
}

} // namespace
