// Form1's voice commands: the recogniser types recognised phrases into the
// command box JText1 (as messages to the window's title); the listening loop
// takes a steady text as one command, and the window answers it here.
#include <QAbstractButton>
#include <QEvent>
#include <QLineEdit>
#include <random>

#include "platform/media_control.h"
#include "platform/window_presence.h"
#include "settings/form_logic.h"
#include "settings/prompts.h"
#include "settings/settings_window.h"

namespace tarvok::settings {

namespace {

// Reports clicks and double clicks on a widget, which lets them through.
class ClickWatcher : public QObject {
public:
    ClickWatcher(QObject* parent, std::function<void(bool doubleClick)> clicked)
        : QObject(parent), clicked_(std::move(clicked)) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonPress) clicked_(false);
        else if (event->type() == QEvent::MouseButtonDblClick) clicked_(true);
        return false;
    }

private:
    std::function<void(bool)> clicked_;
};

double systemRandom() {
    static std::mt19937_64 generator{std::random_device{}()};
    return std::uniform_real_distribution<double>(0.0, 1.0)(generator);
}

}  // namespace

void SettingsWindow::setUpVoiceCommands() {
    random_ = systemRandom;
    auto* box = control<QLineEdit>("JText1");
    box->installEventFilter(new ClickWatcher(box, [this](bool twice) { twice ? jtext1DblClick() : jtext1Click(); }));
    if (!presence_) return;
    listening_ = new ListeningLoop(*this, *presence_, this);
    connect(presence_, &WindowPresence::messageReceived, this, &SettingsWindow::typeIntoCommandBox);
    connect(box, &QLineEdit::textChanged, listening_, &ListeningLoop::commandTextChanged);
}

// The last step of the start: listen when the recogniser is there, else say
// that it is not.
void SettingsWindow::startVoiceCommands() {
    if (!listening_ || !listening_->startAtLaunch()) speak({"INfout5.WAV"});
}

void SettingsWindow::jtext1Click() {
    if (!listening_) return;
    stop_ = false;
    listening_->run();
}

void SettingsWindow::jtext1DblClick() { jtext1Click(); }

// A recognised phrase is typed at the end of the box, as dictation types.
void SettingsWindow::typeIntoCommandBox(const std::string& text) { setBox("JText1", boxText("JText1") + text); }

std::string SettingsWindow::commandText() const { return boxText("JText1"); }

void SettingsWindow::setCommandText(const std::string& text) { setBox("JText1", text); }

void SettingsWindow::showCommandColours(const CommandBoxColours& colours) {
    auto* box = control<QLineEdit>("JText1");
    QPalette p = box->palette();
    p.setColor(QPalette::Base, QColor(colours.background.r, colours.background.g, colours.background.b));
    p.setColor(QPalette::Text, QColor(colours.text.r, colours.text.g, colours.text.b));
    box->setPalette(p);
}

void SettingsWindow::listeningStarts() { pageCode_ = 0; }

void SettingsWindow::closeSound() {
    mmControl1_->close();
    mmControl1_->setCompletionCode(1);
}

void SettingsWindow::handleCommand() {
    const std::string text = settings::commandText(boxText("JText1"));
    setBox("JText1", text);
    const std::optional<VoiceCommand> command = voiceCommandOf(text);
    if (!command) return speakErrorReply();
    if (int page = pageOfCommand(*command)) return voicePage(page);
    if (std::optional<DialogAnswer> answer = answerOf(*command)) return answerChangeDialog(*answer);
    switch (*command) {
    case VoiceCommand::Welcome: speak({"INwelkom.WAV"}); break;
    case VoiceCommand::SayWhat: speak({"INzegwat.WAV"}); break;
    case VoiceCommand::PromptAgain:
        if (!currentPrompt_.empty()) speak({currentPrompt_});
        break;
    case VoiceCommand::Time: control<QAbstractButton>("Command11")->click(); break;
    case VoiceCommand::Date: control<QAbstractButton>("Command12")->click(); break;
    case VoiceCommand::Repeat: speak({"INherha1.WAV"}); break;
    case VoiceCommand::Name: speak({"INnaam1.WAV"}); break;
    case VoiceCommand::Help: speak({"INhelp02.WAV"}); break;
    case VoiceCommand::Stop:
        speak({"INeinde0.WAV"});
        command6Click();
        break;
    default: break;
    }
}

// A page chosen by voice explains itself whether or not Check1 is ticked.
void SettingsWindow::voicePage(int page) {
    pageCode_ = settings::pageCode(page);
    showPage(page);
    speak(explanationPrompts(pageExplanation(page), session_.string));
}

void SettingsWindow::answerChangeDialog(DialogAnswer answer) {
    const DialogStep* step = dialogStep(pageCode_, answer);
    if (!step) return speakErrorReply();
    if (answer == DialogAnswer::No && step->value) moveValue(step->value);
    pageCode_ = step->next;
    speak(stepPrompts(*step, session_.string));
}

// The value moves as a click on its button moves it, without the button's
// own explanation.
void SettingsWindow::moveValue(const char* button) {
    if (const OptionButton* b = optionButton(button)) changeOption(*b);
    else if (const PortButton* p = portButton(button)) changePort(*p);
}

void SettingsWindow::speakErrorReply() { speak({errorReply(random_())}); }

}  // namespace tarvok::settings
