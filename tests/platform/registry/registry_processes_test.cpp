// SPDX-License-Identifier: GPL-3.0-or-later
// Several real processes writing one store at once, as copies of the program do:
// every write of every copy must be there afterwards.
#include "registry.h"
#include "registry_store.h"

#include <sqlite3.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

extern char** environ;

using namespace platform;

namespace {

constexpr int Processes = 4;
constexpr int WritesEach = 200;
constexpr int Rounds = 24;

class RegistryProcessesTest : public RegistryStoreTest {};

// Starts a writer copy: its id, how many writes, and the gate it waits at (if any).
pid_t StartWriter(const std::string& id, const std::string& count, const std::string& gate = {},
                  const posix_spawn_file_actions_t* actions = nullptr)
{
    std::vector<char*> argv = {const_cast<char*>(REGISTRY_WRITER), const_cast<char*>(id.c_str()),
                               const_cast<char*>(count.c_str())};
    if (!gate.empty())
        argv.push_back(const_cast<char*>(gate.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    EXPECT_EQ(::posix_spawn(&pid, REGISTRY_WRITER, actions, nullptr, argv.data(), environ), 0);
    return pid;
}

bool EndedWell(pid_t pid)
{
    int status = 0;
    return ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(RegistryProcessesTest, ConcurrentCopiesLoseNothing)
{
    // The store does not exist yet: the copies also race to create it.
    std::vector<pid_t> pids;
    for (int p = 0; p < Processes; ++p)
        pids.push_back(StartWriter(std::to_string(p), std::to_string(WritesEach)));
    for (pid_t pid : pids)
        EXPECT_TRUE(EndedWell(pid));

    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\Software\\Tarnwick\\Quillet\\Files", false));
    EXPECT_EQ(reg.GetValueNames().size(), std::size_t(Processes * (WritesEach + 1)));
    for (int p = 0; p < Processes; ++p) {
        for (int i = 0; i < WritesEach; ++i) {
            const std::string name = "P" + std::to_string(p) + "_" + std::to_string(i);
            ASSERT_TRUE(reg.ValueExists(name)) << name;
            EXPECT_EQ(reg.ReadInteger(name), i) << name;
        }
        EXPECT_EQ(reg.ReadString("Last" + std::to_string(p)), std::to_string(WritesEach - 1));
    }
    // Keys every copy created at once exist once, each with every copy's child.
    ASSERT_TRUE(reg.OpenKey("\\Software\\Shared", false));
    EXPECT_EQ(reg.GetKeyNames().size(), 10u);
    for (int k = 0; k < 10; ++k) {
        ASSERT_TRUE(reg.OpenKey("\\Software\\Shared\\K" + std::to_string(k), false));
        EXPECT_EQ(reg.GetKeyNames().size(), std::size_t(Processes));
    }
}

TEST_F(RegistryProcessesTest, CopiesClosingAtOnceCreateANewStoreAndLoseNothing)
{
    // Copies closing together on a first run all write their recent list into a
    // store that does not exist yet: each must wait for the others, as writes to
    // an existing store do, and none may lose its entry.
    int lost = 0;
    int expected = 0;
    for (int round = 0; round < Rounds; ++round) {
        const int copies = 2 + round % 9;
        const std::string store = (dir / ("round" + std::to_string(round) + ".db")).string();
        ::setenv("QUILLET_REGISTRY", store.c_str(), 1);
        int gate[2];
        ASSERT_EQ(::pipe(gate), 0);
        posix_spawn_file_actions_t actions;
        ::posix_spawn_file_actions_init(&actions);
        ::posix_spawn_file_actions_addclose(&actions, gate[1]);
        const std::string gateFd = std::to_string(gate[0]);
        std::vector<pid_t> pids;
        for (int p = 0; p < copies; ++p)
            pids.push_back(StartWriter(std::to_string(p), "1", gateFd, &actions));
        ::posix_spawn_file_actions_destroy(&actions);
        ::close(gate[0]);
        // Every copy started and waiting at the gate; then all go at once.
        ::usleep(100 * 1000);
        ::close(gate[1]);
        for (pid_t pid : pids)
            EXPECT_TRUE(EndedWell(pid)) << "round " << round;
        TRegistry reg;
        expected += copies;
        if (!reg.OpenKey("\\Software\\Tarnwick\\Quillet\\Files", false)) {
            lost += copies;
            continue;
        }
        for (int p = 0; p < copies; ++p)
            if (!reg.ValueExists("P" + std::to_string(p) + "_0"))
                ++lost;
    }
    ::setenv("QUILLET_REGISTRY", file.c_str(), 1);
    EXPECT_EQ(lost, 0) << "of " << expected;
}

TEST_F(RegistryProcessesTest, CreatingTheStoreWaitsForACopyThatIsCreatingItToo)
{
    // The moment of the race, held still: another copy has just made the file and
    // holds its write lock while it makes the store ready. A write to an existing
    // store waits for such a lock; creating the store must wait as well.
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);

    const pid_t pid = StartWriter("0", "1");
    ::usleep(500 * 1000);
    ASSERT_EQ(sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(other);

    EXPECT_TRUE(EndedWell(pid));
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\Software\\Tarnwick\\Quillet\\Files", false));
    EXPECT_TRUE(reg.ValueExists("P0_0"));
}

} // namespace
