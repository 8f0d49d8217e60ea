#include "dos_path.h"

#include <cstdlib>
#include <system_error>
#include <vector>

#include "common/text.h"

namespace fs = std::filesystem;

namespace tarvok {

namespace {

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// A name as Windows compares it: trailing blanks and dots dropped.
std::string_view windowsName(std::string_view name) {
    while (!name.empty() && (name.back() == ' ' || name.back() == '.')) name.remove_suffix(1);
    return name;
}

bool sameName(std::string_view a, std::string_view b) {
    a = windowsName(a);
    b = windowsName(b);
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    return true;
}

std::vector<std::string> splitComponents(std::string_view path) {
    std::vector<std::string> parts;
    std::string cur;
    for (char c : path) {
        if (c == '\\' || c == '/') {
            if (!cur.empty()) parts.push_back(cur);
            cur.clear();
        } else {
            cur.push_back(c);
        }
    }
    if (!cur.empty()) parts.push_back(cur);
    return parts;
}

}  // namespace

DosPaths::DosPaths(fs::path prefix) {
    std::error_code ec;
    prefix_ = prefix.is_absolute() ? prefix : fs::absolute(prefix, ec);
    prefix_ = prefix_.lexically_normal();
    if (!prefix_.empty() && prefix_.filename().empty()) prefix_ = prefix_.parent_path();
}

fs::path DosPaths::defaultPrefix() {
    if (const char* p = std::getenv("TARVOK_PREFIX"); p && *p) return fs::path(p);
    if (const char* x = std::getenv("XDG_DATA_HOME"); x && *x) return fs::path(x) / "tarvok";
    if (const char* h = std::getenv("HOME"); h && *h) return fs::path(h) / ".local/share/tarvok";
    return fs::current_path() / "tarvok";
}

fs::path DosPaths::driveRoot(char drive) const {
    char d = lowerAscii(drive);
    if (d == 'z') return fs::path("/");
    if (d >= 'a' && d <= 'y') return prefix_ / (std::string("drive_") + d);
    return {};
}

fs::path DosPaths::toNative(std::string_view dosPath) const {
    fs::path current;
    std::string_view rest = dosPath;
    if (rest.size() >= 2 && rest[1] == ':') {
        current = driveRoot(rest[0]);
        if (current.empty()) current = prefix_ / "invalid_drive";
        rest.remove_prefix(2);
    } else {
        std::error_code ec;
        current = fs::current_path(ec);
    }
    const fs::path root = current;
    bool lookingUp = true;
    for (const std::string& part : splitComponents(rest)) {
        if (part == ".") continue;
        if (part == "..") {
            // As on Windows, ".." never climbs above the drive's root.
            if (current != root) current = current.parent_path();
            continue;
        }
        std::string wanted(windowsName(part));
        if (wanted.empty()) continue;
        std::string native = cp1252ToUtf8(wanted);
        if (lookingUp) {
            std::error_code ec;
            fs::path exact = current / native;
            if (fs::exists(fs::symlink_status(exact, ec))) {
                current = exact;
                continue;
            }
            bool found = false;
            fs::directory_iterator it(current, ec), end;
            for (; !ec && it != end; it.increment(ec)) {
                std::string name = it->path().filename().string();
                if (sameName(utf8ToCp1252(name), wanted)) {
                    current = it->path();
                    found = true;
                    break;
                }
            }
            if (found) continue;
            lookingUp = false;
        }
        current /= native;
    }
    return current;
}

bool DosPaths::exists(std::string_view dosPath) const {
    std::error_code ec;
    return fs::exists(toNative(dosPath), ec);
}

std::string DosPaths::toDos(const fs::path& native) const {
    std::error_code ec;
    fs::path abs = native.is_absolute() ? native : fs::absolute(native, ec);
    abs = abs.lexically_normal();
    for (char d : {'c', 'd'}) {
        fs::path root = driveRoot(d).lexically_normal();
        fs::path rel = abs.lexically_relative(root);
        if (!rel.empty() && *rel.begin() != "..") {
            std::string out(1, static_cast<char>(d - 'a' + 'A'));
            out += ":";
            for (const auto& part : rel) {
                if (part == ".") continue;
                out += "\\";
                out += utf8ToCp1252(part.string());
            }
            if (out.size() == 2) out += "\\";
            return out;
        }
    }
    std::string out = "Z:";
    for (const auto& part : abs.relative_path()) {
        if (part.empty()) continue;
        out += "\\";
        out += utf8ToCp1252(part.string());
    }
    if (out.size() == 2) out += "\\";
    return out;
}

std::string dosFolderOf(std::string_view dosPath) {
    std::size_t slash = dosPath.find_last_of('\\');
    if (slash == std::string_view::npos) return {};
    return std::string(dosPath.substr(0, slash + 1));
}

std::string_view dosFileNameOf(std::string_view dosPath) {
    const std::size_t slash = dosPath.find_last_of('\\');
    return slash == std::string_view::npos ? dosPath : dosPath.substr(slash + 1);
}

}  // namespace tarvok
