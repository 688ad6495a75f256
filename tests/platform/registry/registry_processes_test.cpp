// Several real processes writing one store at once, as copies of the program do:
// every write of every copy must be there afterwards.
#include "registry.h"
#include "registry_store.h"

#include <spawn.h>
#include <sys/wait.h>

#include <string>
#include <vector>

extern char** environ;

using namespace platform;

namespace {

constexpr int Processes = 4;
constexpr int WritesEach = 200;

class RegistryProcessesTest : public RegistryStoreTest {};

TEST_F(RegistryProcessesTest, ConcurrentCopiesLoseNothing)
{
    // The store does not exist yet: the copies also race to create it.
    std::vector<pid_t> pids;
    const std::string count = std::to_string(WritesEach);
    for (int p = 0; p < Processes; ++p) {
        const std::string id = std::to_string(p);
        std::vector<char*> argv = {const_cast<char*>(REGISTRY_WRITER), const_cast<char*>(id.c_str()),
                                   const_cast<char*>(count.c_str()), nullptr};
        pid_t pid = 0;
        ASSERT_EQ(::posix_spawn(&pid, REGISTRY_WRITER, nullptr, nullptr, argv.data(), environ), 0);
        pids.push_back(pid);
    }
    for (pid_t pid : pids) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }

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

} // namespace
