// An in-memory stand-in for the window-presence registry: titles announced
// by any MemoryPresence of this process are open until withdrawn.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "platform/window_presence.h"

namespace tarvok::test {

class MemoryPresence : public WindowPresence {
public:
    std::vector<std::string> announcements;  // every title announced, in order

    ~MemoryPresence() override { withdraw(); }
    bool announce(const std::string& title) override {
        withdraw();
        title_ = title;
        open().insert(title);
        announcements.push_back(title);
        return true;
    }
    std::string announced() const override { return title_; }
    void withdraw() override {
        if (!title_.empty()) open().erase(open().find(title_));
        title_.clear();
    }
    bool isOpen(const std::string& title) const override { return open().count(title) > 0; }
    bool send(const std::string& title, const std::string&) override { return isOpen(title); }

private:
    static std::multiset<std::string>& open() {
        static std::multiset<std::string> titles;
        return titles;
    }
    std::string title_;
};

}  // namespace tarvok::test
