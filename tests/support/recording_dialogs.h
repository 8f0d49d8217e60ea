// A Dialogs double: records every message and answers file dialogs from a
// queue that the test fills, questions through `answer` (by default the
// last choice, so a test that does not care never waits in a loop).
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace tarvok::test {

class RecordingDialogs : public Dialogs {
public:
    std::vector<std::string> messages;                   // texts of critical boxes, in order
    std::vector<std::string> fileFilters;                // filters the file dialog was opened with
    std::vector<std::string> fileFolders;                // and the folders it started in
    std::deque<std::optional<std::string>> fileAnswers;  // next answers; empty = cancel
    std::vector<std::string> openedDocuments;
    bool documentsOpen = true;           // false: as a desktop without a program for the file type
    std::vector<std::string> questions;  // texts of questions, in order
    std::function<std::size_t(const std::string& text)> answer;
    int beeps = 0;

    void critical(const std::string& text) override { messages.push_back(text); }
    std::size_t ask(const std::string& text, const std::vector<std::string>& choices) override {
        questions.push_back(text);
        return answer ? answer(text) : choices.size() - 1;
    }
    std::optional<std::string> openFile(const std::string& filter, const std::string& folder) override {
        fileFilters.push_back(filter);
        fileFolders.push_back(folder);
        if (fileAnswers.empty()) return std::nullopt;
        auto a = fileAnswers.front();
        fileAnswers.pop_front();
        return a;
    }
    void beep() override { ++beeps; }
    bool openDocument(const std::string& nativePath) override {
        openedDocuments.push_back(nativePath);
        return documentsOpen;
    }
};

}  // namespace tarvok::test
