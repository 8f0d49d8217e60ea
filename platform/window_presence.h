// Whether a top-level window with an exact title is open, in any process of
// this user, and short text messages to such a window.
//
// A window announces its title while it is open and withdraws it when it
// closes; a process that dies takes its titles with it. Any process may ask
// whether a title is open and may send a short text to the window that holds
// it: that is how keystrokes reach another program and how recognised words
// are typed into the settings window's command box. Titles and messages are
// Windows-1252 text, as the programs hold them.
#pragma once

#include <QObject>
#include <memory>
#include <string>

namespace tarvok {

class WindowPresence : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~WindowPresence() override = default;

    // From now on a window titled `title` is open, held by this object
    // (replacing the title it announced before). False, with nothing
    // announced, when the title could not be announced.
    virtual bool announce(const std::string& title) = 0;
    // The title announced last, empty when none.
    virtual std::string announced() const = 0;
    // The window has closed: its title is no longer found.
    virtual void withdraw() = 0;

    // Whether any window of this user, in this process or another, is open
    // with exactly this title. Returns within a few milliseconds.
    virtual bool isOpen(const std::string& title) const = 0;

    // Delivers a short text to the window titled `title`; false when no such
    // window is open or it did not take the text.
    virtual bool send(const std::string& title, const std::string& text) = 0;

signals:
    // A text sent to the title this object announced.
    void messageReceived(const std::string& text);
};

// The real registry: one local socket per announced title, in a folder
// only this user can enter: $XDG_RUNTIME_DIR/tarvok, else /tmp/tarvok-<uid>
// ($TARVOK_RUNTIME_DIR in place of $XDG_RUNTIME_DIR keeps a test's windows
// apart from the user's). A folder that is a link, another user's or open to
// others is not used: nothing can then be announced and nothing is found.
// Messages are at most 4096 bytes.
std::unique_ptr<WindowPresence> createWindowPresence(QObject* parent = nullptr);

}  // namespace tarvok
