// Message boxes, the file dialog, the beep and the shell's "open", behind one
// interface so that tests can answer them.
#pragma once

#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace tarvok {

// The lines of a message joined by carriage return and line feed, the last
// line without one.
std::string joinMessageLines(const std::vector<std::string>& lines);

// "desc|pattern|desc|pattern" (Windows-1252) as a Qt name filter list:
// "Bitmaps (*.bmp);;All files (*.*)". Patterns separated by ';' become
// blank-separated. An odd trailing description without pattern is dropped.
std::string qtNameFilter(const std::string& windowsFilter);

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A critical message box titled "TARVOK" showing `text` (Windows-1252,
    // lines joined by CR LF). Returns when the user has closed it.
    virtual void critical(const std::string& text) = 0;

    // A question in the same box, answered with one of `choices` (button
    // texts, Windows-1252): returns the index of the one chosen. The first
    // choice is the safe one: it is also the answer when the box is closed
    // without a choice (Escape, the close box).
    virtual std::size_t ask(const std::string& text, const std::vector<std::string>& choices) = 0;

    // The file-open dialog. `filter` is in the "desc|pattern" form, `folder`
    // the native folder to start in. Returns the chosen native path, or
    // nothing when the user cancels.
    virtual std::optional<std::string> openFile(const std::string& filter, const std::string& folder) = 0;

    virtual void beep() = 0;

    // Opens a document with the desktop's default program; false when that
    // could not be started.
    virtual bool openDocument(const std::string& nativePath) = 0;
};

// The real dialogs, parented to `parent` (may be null).
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    void critical(const std::string& text) override;
    std::size_t ask(const std::string& text, const std::vector<std::string>& choices) override;
    std::optional<std::string> openFile(const std::string& filter, const std::string& folder) override;
    void beep() override;
    bool openDocument(const std::string& nativePath) override;

private:
    QWidget* parent_;
};

}  // namespace tarvok
