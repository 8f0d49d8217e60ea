// The verbs of tarvok-tool. Each tool_<verb>.cpp defines one verb and
// registers it with a static VerbRegistration.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace tarvok::tool {

// A verb gets its arguments (without the verb itself) and returns the exit code.
using VerbFunction = std::function<int(const std::vector<std::string>& args)>;

struct Verb {
    std::string usage;  // one line: "nmea FILE|-   check what a receiver sends"
    VerbFunction run;
};

std::map<std::string, Verb>& verbs();

struct VerbRegistration {
    VerbRegistration(const std::string& name, std::string usage, VerbFunction run) {
        verbs()[name] = Verb{std::move(usage), std::move(run)};
    }
};

}  // namespace tarvok::tool
