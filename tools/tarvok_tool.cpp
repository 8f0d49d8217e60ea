// tarvok-tool: command-line access to the navigator's file formats.
#include <cstdio>
#include <exception>

#include "tools/tool_verbs.h"

namespace tarvok::tool {
std::map<std::string, Verb>& verbs() {
    static std::map<std::string, Verb> table;
    return table;
}
}  // namespace tarvok::tool

namespace {
void usage() {
    std::fprintf(stderr, "usage: tarvok-tool VERB [ARGS]\n");
    for (const auto& [name, verb] : tarvok::tool::verbs()) std::fprintf(stderr, "  %s\n", verb.usage.c_str());
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        usage();
        return 2;
    }
    auto& table = tarvok::tool::verbs();
    auto it = table.find(argv[1]);
    if (it == table.end()) {
        std::fprintf(stderr, "tarvok-tool: unknown verb '%s'\n", argv[1]);
        usage();
        return 2;
    }
    std::vector<std::string> args(argv + 2, argv + argc);
    try {
        return it->second.run(args);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tarvok-tool %s: %s\n", argv[1], e.what());
        return 1;
    }
}
