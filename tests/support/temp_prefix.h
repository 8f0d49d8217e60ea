// A temporary drive prefix for one test: TARVOK_PREFIX points at it while the
// object lives, so no test touches the user's own prefix; TARVOK_RUNTIME_DIR
// points at a private folder of its own, so the windows a test announces and
// looks for are its own, never the user's.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/dos_path.h"

namespace tarvok::test {

class TempPrefix {
public:
    TempPrefix();
    ~TempPrefix();
    TempPrefix(const TempPrefix&) = delete;
    TempPrefix& operator=(const TempPrefix&) = delete;

    const std::filesystem::path& root() const { return root_; }
    // The prefix folder itself (not yet created: first-run tests need that).
    const std::filesystem::path& prefix() const { return prefix_; }
    DosPaths paths() const { return DosPaths(prefix_); }
    // The folder TARVOK_RUNTIME_DIR names while the object lives.
    const std::filesystem::path& runtimeDir() const { return runtime_; }

    // Writes a file at a DOS path, creating its folders.
    std::filesystem::path writeDos(std::string_view dosPath, std::string_view bytes) const;
    // Reads a whole file at a DOS path ("" when it does not exist).
    std::string readDos(std::string_view dosPath) const;

private:
    std::filesystem::path root_;
    std::filesystem::path prefix_;
    std::filesystem::path runtime_;
    std::string previous_;
    bool hadPrevious_ = false;
    std::string previousRuntime_;
    bool hadPreviousRuntime_ = false;
};

std::string readFile(const std::filesystem::path& p);
// Writes a whole file, creating its folders.
void writeFile(const std::filesystem::path& p, std::string_view bytes);

}  // namespace tarvok::test
