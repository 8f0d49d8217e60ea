// The general verbs of tarvok-drive: controls, keys, dialogs, waits,
// pictures, the dump of every control and the sounds started. They work on
// whichever program is driven.
#include <QAbstractButton>
#include <QAbstractSlider>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <ostream>

#include "common/text.h"
#include "navigator/shell/shell_widgets.h"
#include "platform/media_control.h"
#include "tools/drive/drive.h"

namespace tarvok::drive {

namespace {

QWidget* widgetNamed(Driver& d, const std::string& name) {
    QWidget* w = d.program.window().findChild<QWidget*>(QString::fromStdString(name));
    if (!w) throw std::runtime_error("no control named '" + name + "'");
    return w;
}

void needArgs(const std::vector<std::string>& a, std::size_t n, const char* usage) {
    if (a.size() < n) throw std::runtime_error(std::string("usage: ") + usage);
}

// The text a control shows, as the dump and expect see it (UTF-8).
std::optional<QString> textOf(QObject* o) {
    if (auto* e = qobject_cast<QLineEdit*>(o)) return e->text();
    if (auto* l = qobject_cast<QLabel*>(o)) return l->text();
    if (auto* b = qobject_cast<QAbstractButton*>(o)) return b->text();
    if (auto* p = qobject_cast<QPlainTextEdit*>(o)) return p->toPlainText();
    return std::nullopt;
}

// Posts a key press and release to the focused control, as typed.
void postKey(QWidget* target, int key, const QString& text) {
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, text));
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier, text));
}

void postCharacter(QWidget* target, QChar c) {
    int key = c.toUpper().unicode();
    postKey(target, key, QString(c));
}

QWidget* focusTarget(Driver& d, const std::vector<std::string>& a, std::size_t i) {
    QWidget* w = i < a.size() ? widgetNamed(d, a[i]) : QApplication::focusWidget();
    if (!w) w = &d.program.window();
    w->setFocus(Qt::OtherFocusReason);
    return w;
}

StepResult waitUntil(Driver& d, bool met, long long timeoutMs, const std::string& what) {
    if (met) return StepResult::done();
    if (d.elapsedMs() > timeoutMs) return StepResult::failed("timed out waiting for " + what);
    return StepResult::pending();
}

VerbRegistration click("click", "click CONTROL            clicks a button or check box", [](Driver& d, const auto& a) {
    needArgs(a, 1, "click CONTROL");
    auto* b = qobject_cast<QAbstractButton*>(widgetNamed(d, a[0]));
    if (!b) throw std::runtime_error("'" + a[0] + "' is not a button");
    // Queued, so that a handler that waits does not hold up the script.
    QMetaObject::invokeMethod(b, &QAbstractButton::click, Qt::QueuedConnection);
    return StepResult::done();
});

VerbRegistration type("type", "type CONTROL TEXT        types the text into a box, key by key",
                      [](Driver& d, const auto& a) {
                          needArgs(a, 2, "type CONTROL TEXT");
                          QWidget* w = focusTarget(d, a, 0);
                          for (QChar c : QString::fromStdString(a[1])) postCharacter(w, c);
                          return StepResult::done();
                      });

VerbRegistration key("key", "key KEY [CONTROL]        presses a key (a character, Esc, Enter, Tab, Backspace)",
                     [](Driver& d, const auto& a) {
                         needArgs(a, 1, "key KEY [CONTROL]");
                         QWidget* w = focusTarget(d, a, 1);
                         const std::string& k = a[0];
                         if (k == "Esc") postKey(w, Qt::Key_Escape, QString(QChar(27)));
                         else if (k == "Enter") postKey(w, Qt::Key_Return, QStringLiteral("\r"));
                         else if (k == "Tab") postKey(w, Qt::Key_Tab, QStringLiteral("\t"));
                         else if (k == "Backspace") postKey(w, Qt::Key_Backspace, QString(QChar(8)));
                         else if (k.size() == 1) postCharacter(w, QChar(k[0]));
                         else throw std::runtime_error("unknown key '" + k + "'");
                         return StepResult::done();
                     });

VerbRegistration setText("set-text", "set-text CONTROL TEXT    replaces a box's text at once",
                         [](Driver& d, const auto& a) {
                             needArgs(a, 2, "set-text CONTROL TEXT");
                             auto* e = qobject_cast<QLineEdit*>(widgetNamed(d, a[0]));
                             if (!e) throw std::runtime_error("'" + a[0] + "' is not a text box");
                             e->setText(QString::fromStdString(a[1]));
                             return StepResult::done();
                         });

VerbRegistration expectMessage("expect-message",
                               "expect-message [TEXT] [MS]  waits for the next message box; checks its text "
                               "(\\r\\n between lines)",
                               [](Driver& d, const auto& a) {
                                   long long timeout = numberArg(a, 1, kDefaultTimeoutMs);
                                   if (d.dialogs.messages.size() <= d.dialogs.messagesTaken)
                                       return waitUntil(d, false, timeout, "a message box");
                                   std::string got = d.dialogs.messages[d.dialogs.messagesTaken++];
                                   if (!a.empty() && utf8ToCp1252(a[0]) != got)
                                       return StepResult::failed("message was '" + cp1252ToUtf8(got) + "'");
                                   return StepResult::done();
                               });

VerbRegistration fileAnswer("file", "file PATH|cancel         answers the next file dialog",
                            [](Driver& d, const auto& a) {
                                needArgs(a, 1, "file PATH|cancel");
                                if (a[0] == "cancel") d.dialogs.fileAnswers.push_back(std::nullopt);
                                else d.dialogs.fileAnswers.push_back(a[0]);
                                return StepResult::done();
                            });

VerbRegistration questionAnswer("answer",
                                "answer N                  answers the next question with its choice N (0 first)",
                                [](Driver& d, const auto& a) {
                                    needArgs(a, 1, "answer N");
                                    const long long n = numberArg(a, 0, 0);
                                    if (n < 0) throw std::runtime_error("answer: N must not be negative");
                                    d.dialogs.questionAnswers.push_back(static_cast<std::size_t>(n));
                                    return StepResult::done();
                                });

VerbRegistration waitStatus("wait-status", "wait-status TEXT [MS]    waits until the status line shows TEXT",
                            [](Driver& d, const auto& a) {
                                needArgs(a, 1, "wait-status TEXT [MS]");
                                const std::optional<std::string> status = d.program.status();
                                if (!status) throw std::runtime_error("the program has no status line");
                                return waitUntil(d, *status == utf8ToCp1252(a[0]), numberArg(a, 1, kDefaultTimeoutMs),
                                                 "status '" + a[0] + "' (it shows '" + cp1252ToUtf8(*status) + "')");
                            });

VerbRegistration expectText("expect", "expect CONTROL TEXT [MS] waits until a control shows TEXT",
                            [](Driver& d, const auto& a) {
                                needArgs(a, 2, "expect CONTROL TEXT [MS]");
                                std::optional<QString> t = textOf(widgetNamed(d, a[0]));
                                if (!t) throw std::runtime_error("'" + a[0] + "' shows no text");
                                return waitUntil(d, t->toStdString() == a[1], numberArg(a, 2, kDefaultTimeoutMs),
                                                 a[0] + " '" + a[1] + "' (it shows '" + t->toStdString() + "')");
                            });

VerbRegistration waitEnded("wait-ended", "wait-ended [MS]          waits until the program has ended",
                           [](Driver& d, const auto& a) {
                               return waitUntil(d, d.program.ended(), numberArg(a, 0, kDefaultTimeoutMs),
                                                "the program to end");
                           });

VerbRegistration sleepVerb("sleep", "sleep MS                 lets the window run for MS milliseconds",
                           [](Driver& d, const auto& a) {
                               needArgs(a, 1, "sleep MS");
                               return d.elapsedMs() >= numberArg(a, 0, 0) ? StepResult::done() : StepResult::pending();
                           });

VerbRegistration stateVerb("state",
                           "state FLAG VALUE         sets a shared flag of the program (navigator: navigationActive, "
                           "playbackActive, mapLoaded, stopRequest)",
                           [](Driver& d, const auto& a) {
                               needArgs(a, 2, "state FLAG VALUE");
                               d.program.setState(a[0], numberArg(a, 1, 0));
                               return StepResult::done();
                           });

VerbRegistration grab("grab", "grab FILE.png            saves a picture of the window", [](Driver& d, const auto& a) {
    needArgs(a, 1, "grab FILE.png");
    if (!d.program.window().grab().save(QString::fromStdString(a[0]), "PNG"))
        return StepResult::failed("cannot write " + a[0]);
    d.out << "grabbed " << a[0] << std::endl;
    return StepResult::done();
});

QJsonObject describe(QObject* o) {
    QJsonObject j;
    j["name"] = o->objectName();
    j["class"] = QString::fromLatin1(o->metaObject()->className());
    if (auto* w = qobject_cast<QWidget*>(o)) {
        j["visible"] = w->isVisible();
        j["enabled"] = w->isEnabled();
        if (!w->toolTip().isEmpty()) j["tooltip"] = w->toolTip();
    }
    if (std::optional<QString> t = textOf(o)) j["text"] = *t;
    if (auto* b = qobject_cast<QAbstractButton*>(o); b && b->isCheckable()) j["checked"] = b->isChecked();
    if (auto* s = qobject_cast<QAbstractSlider*>(o)) j["value"] = s->value();
    if (auto* p = qobject_cast<QProgressBar*>(o)) j["value"] = p->value();
    if (auto* c = qobject_cast<PictureClip*>(o)) {
        j["width"] = c->picture().width();
        j["height"] = c->picture().height();
    }
    return j;
}

VerbRegistration dump("dump", "dump [FILE.json]         every control's name, text and visibility as JSON",
                      [](Driver& d, const auto& a) {
                          QJsonArray all;
                          for (QObject* o : d.program.controls()) all.append(describe(o));
                          QByteArray json = QJsonDocument(all).toJson(QJsonDocument::Indented);
                          if (a.empty()) {
                              d.out << json.toStdString() << std::flush;
                              return StepResult::done();
                          }
                          QFile f(QString::fromStdString(a[0]));
                          if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(json) != json.size())
                              return StepResult::failed("cannot write " + a[0]);
                          return StepResult::done();
                      });

// Whether a started sound is the one a script names: a name without a
// backslash stands for the file name alone.
bool soundMatches(const std::string& started, const std::string& named) {
    if (named.find('\\') != std::string::npos) return started == named;
    return dosFileNameOf(started) == named;
}

std::string soundList(const std::vector<std::string>& files) {
    std::string list;
    for (const std::string& f : files) {
        if (!list.empty()) list += ' ';
        list += cp1252ToUtf8(f);
    }
    return list.empty() ? "none" : list;
}

VerbRegistration sounds("sounds",
                        "sounds [FILE ...]        prints the sound files started since the last sounds step; with "
                        "files, waits until exactly those were started, in order (a name without \\ matches the "
                        "file name)",
                        [](Driver& d, const auto& a) {
                            for (std::string& f : d.program.mediaControl().takeStartedSounds())
                                d.soundsTaken.push_back(std::move(f));
                            const std::vector<std::string> got = d.soundsTaken;
                            auto finish = [&](StepResult r) {
                                d.soundsTaken.clear();
                                return r;
                            };
                            if (a.empty()) {
                                for (const std::string& f : got) d.out << "sound " << cp1252ToUtf8(f) << std::endl;
                                return finish(StepResult::done());
                            }
                            bool prefix = got.size() <= a.size();
                            for (std::size_t i = 0; prefix && i < got.size(); ++i)
                                prefix = soundMatches(got[i], utf8ToCp1252(a[i]));
                            if (prefix && got.size() == a.size()) return finish(StepResult::done());
                            if (prefix && d.elapsedMs() <= kDefaultTimeoutMs) return StepResult::pending();
                            return finish(StepResult::failed("sounds started: " + soundList(got)));
                        });

}  // namespace
}  // namespace tarvok::drive
