// A WindowPresence double: the windows of every object made on one registry,
// plus titles a test opens and closes for windows of "other programs", all
// in memory. Messages to an object's title arrive at once; messages to
// another program's title are recorded.
#pragma once

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/window_presence.h"

namespace tarvok::test {

class MemoryPresence;

class PresenceRegistry {
public:
    // A window of another program opens or closes.
    void open(const std::string& title) { ++others_[title]; }
    void close(const std::string& title) {
        if (others_[title] > 0) --others_[title];
    }

    // Texts sent to other programs' windows: (title, text).
    std::vector<std::pair<std::string, std::string>> sent;
    // How many times any object asked whether a title is open.
    int lookups = 0;

private:
    friend class MemoryPresence;
    std::map<std::string, int> others_;
    std::vector<MemoryPresence*> holders_;
};

class MemoryPresence : public WindowPresence {
public:
    explicit MemoryPresence(PresenceRegistry& registry, QObject* parent = nullptr)
        : WindowPresence(parent), registry_(registry) {
        registry_.holders_.push_back(this);
    }
    ~MemoryPresence() override {
        auto& h = registry_.holders_;
        h.erase(std::remove(h.begin(), h.end(), this), h.end());
    }

    bool announce(const std::string& title) override {
        title_ = title;
        return true;
    }
    std::string announced() const override { return title_; }
    void withdraw() override { title_.clear(); }

    bool isOpen(const std::string& title) const override {
        ++registry_.lookups;
        if (holder(title)) return true;
        auto it = registry_.others_.find(title);
        return it != registry_.others_.end() && it->second > 0;
    }

    bool send(const std::string& title, const std::string& text) override {
        if (MemoryPresence* h = holder(title)) {
            emit h->messageReceived(text);
            return true;
        }
        if (!isOpen(title)) return false;
        registry_.sent.emplace_back(title, text);
        return true;
    }

private:
    MemoryPresence* holder(const std::string& title) const {
        if (title.empty()) return nullptr;
        for (MemoryPresence* p : registry_.holders_)
            if (p->title_ == title) return p;
        return nullptr;
    }

    PresenceRegistry& registry_;
    std::string title_;
};

}  // namespace tarvok::test
