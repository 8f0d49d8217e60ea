#include "temp_prefix.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

namespace tarvok::test {

TempPrefix::TempPrefix() {
    std::string tmpl = (fs::temp_directory_path() / "tarvok-test-XXXXXX").string();
    if (!::mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    root_ = tmpl;
    prefix_ = root_ / "prefix";
    if (const char* p = std::getenv("TARVOK_PREFIX")) {
        hadPrevious_ = true;
        previous_ = p;
    }
    ::setenv("TARVOK_PREFIX", prefix_.c_str(), 1);
    if (const char* r = std::getenv("TARVOK_RUNTIME_DIR")) {
        hadPreviousRuntime_ = true;
        previousRuntime_ = r;
    }
    std::string runTmpl = (fs::temp_directory_path() / "tarvok-test-run-XXXXXX").string();
    if (!::mkdtemp(runTmpl.data())) throw std::runtime_error("mkdtemp failed");
    runtime_ = runTmpl;
    ::setenv("TARVOK_RUNTIME_DIR", runtime_.c_str(), 1);
}

TempPrefix::~TempPrefix() {
    if (hadPrevious_) ::setenv("TARVOK_PREFIX", previous_.c_str(), 1);
    else ::unsetenv("TARVOK_PREFIX");
    if (hadPreviousRuntime_) ::setenv("TARVOK_RUNTIME_DIR", previousRuntime_.c_str(), 1);
    else ::unsetenv("TARVOK_RUNTIME_DIR");
    std::error_code ec;
    fs::permissions(root_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(root_, ec);
    fs::remove_all(runtime_, ec);
}

fs::path TempPrefix::writeDos(std::string_view dosPath, std::string_view bytes) const {
    fs::path p = paths().toNative(dosPath);
    fs::create_directories(p.parent_path());
    writeFile(p, bytes);
    return p;
}

std::string TempPrefix::readDos(std::string_view dosPath) const { return readFile(paths().toNative(dosPath)); }

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void writeFile(const fs::path& p, std::string_view bytes) {
    std::error_code ignored;
    if (p.has_parent_path()) fs::create_directories(p.parent_path(), ignored);
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace tarvok::test
