// A copy of a program writing the registry: `registry_writer <id> <count>` writes
// its own values and shared keys, each through a fresh accessor; exit 0 on success.
#include "registry.h"

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace platform;

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    const std::string id = argv[1];
    const int count = std::atoi(argv[2]);
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
