// A Dialogs double: records every message and answers file dialogs from a
// queue that the test fills.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace tarvok::test {

class RecordingDialogs : public Dialogs {
public:
    std::vector<std::string> messages;         // texts of critical boxes, in order
    std::vector<std::string> fileFilters;      // filters the file dialog was opened with
    std::deque<std::optional<std::string>> fileAnswers;  // next answers; empty = cancel
    std::vector<std::string> openedDocuments;
    int beeps = 0;

    void critical(const std::string& text) override { messages.push_back(text); }
    std::optional<std::string> openFile(const std::string& filter, const std::string&) override {
        fileFilters.push_back(filter);
        if (fileAnswers.empty()) return std::nullopt;
        auto a = fileAnswers.front();
        fileAnswers.pop_front();
        return a;
    }
    void beep() override { ++beeps; }
    bool openDocument(const std::string& nativePath) override {
        openedDocuments.push_back(nativePath);
        return true;
    }
};

}  // namespace tarvok::test
