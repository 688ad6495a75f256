// SPDX-License-Identifier: GPL-3.0-or-later
// A copy of a program writing the registry: `registry_writer <id> <count> [<gate>]`
// writes its own values and shared keys, each through a fresh accessor; exit 0 on
// success. With a gate (the reading end of a pipe, by number), it starts writing
// only when the test closes the pipe, so that many copies hit a store that does
// not exist yet at the same moment.
#include "registry.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

using namespace platform;

namespace {

void WaitForGate(const char* gate)
{
    // The read ends for every copy at once, when the test closes the pipe.
    const int fd = std::atoi(gate);
    char c = 0;
    while (::read(fd, &c, 1) > 0) {
    }
    ::close(fd);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 4)
        return 2;
    const std::string id = argv[1];
    const int count = std::atoi(argv[2]);
    if (argc == 4)
        WaitForGate(argv[3]);
    try {
        for (int i = 0; i < count; ++i) {
            TRegistry reg(HKEY_CURRENT_USER);
            if (!reg.OpenKey("\\Software\\Tarnwick\\Quillet\\Files", true))
                return 3;
            reg.WriteInteger("P" + id + "_" + std::to_string(i), i);
            reg.WriteString("Last" + id, std::to_string(i));

            TRegistry shared(HKEY_CURRENT_USER);
            shared.CreateKey("\\Software\\Shared\\K" + std::to_string(i % 10) + "\\From" + id);
        }
    } catch (const RegistryError& e) {
        std::fprintf(stderr, "%s (%s)\n", e.what(), e.Detail().c_str());
        return 1;
    }
    return 0;
}
