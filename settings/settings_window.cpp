#include "settings/settings_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTabBar>

#include "common/text.h"
#include "platform/com_port.h"
#include "platform/dialogs.h"
#include "platform/gpsd_probe.h"
#include "platform/media_control.h"
#include "platform/screen_size.h"
#include "platform/window_presence.h"
#include "settings/form_logic.h"
#include "settings/port_settings.h"
#include "settings/prompts.h"

namespace tarvok::settings {

namespace {

QString fromCp1252(std::string_view s) { return QString::fromStdString(cp1252ToUtf8(s)); }
std::string toCp1252(const QString& s) { return utf8ToCp1252(s.toStdString()); }
QColor qcolour(Rgb c) { return QColor(c.r, c.g, c.b); }

// The COM port number of field 40, 0 when it is none of 1 to 4.
int portNumberIn(const SettingsString& s) {
    int n = roundToInt32Clamped(numericValue(s.read(field::GpsPort)));
    return n >= 1 && n <= 4 ? n : 0;
}

const QColor kWindowBack(24, 28, 34);
const QColor kPanelBack(40, 46, 54);
const QColor kBoxBack(0, 0, 0);

QFont boxFont() {
    QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    f.setPixelSize(13);
    f.setBold(true);
    return f;
}

// The drawn clock and calendar of the two speech buttons.
QIcon drawnIcon(bool clock) {
    QPixmap p(20, 20);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(QColor(230, 230, 230), 2));
    if (clock) {
        g.drawEllipse(QRectF(2, 2, 16, 16));
        g.drawLine(QPointF(10, 10), QPointF(10, 5));
        g.drawLine(QPointF(10, 10), QPointF(14, 12));
    } else {
        g.drawRect(QRectF(3, 4, 14, 13));
        g.fillRect(QRectF(3, 4, 14, 4), QColor(200, 60, 60));
        g.drawLine(QPointF(7, 11), QPointF(13, 11));
    }
    return QIcon(p);
}

}  // namespace

// Picture1: the screen-correction preview, drawn dot by dot.
class PreviewPicture : public QWidget {
public:
    explicit PreviewPicture(QWidget* parent)
        : QWidget(parent), image_(kPreviewWidth, kPreviewHeight, QImage::Format_RGB32) {
        setObjectName(QStringLiteral("Picture1"));
        setFixedSize(kPreviewWidth, kPreviewHeight);
        image_.fill(Qt::black);
    }
    void redraw(int hScroll, int vScroll) {
        image_.fill(Qt::black);
        for (const Dot& d : previewDots(hScroll, vScroll))
            if (image_.rect().contains(d.x, d.y)) image_.setPixelColor(d.x, d.y, qcolour(d.colour));
        update();
    }
    const QImage& image() const { return image_; }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, image_); }

private:
    QImage image_;
};

SettingsWindow::SettingsWindow(DosPaths paths, Dialogs& dialogs, WindowPresence* presence, QWidget* parent,
                               std::unique_ptr<SoundDevice> soundDevice)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint),
      paths_(std::move(paths)),
      dialogs_(dialogs),
      presence_(presence),
      screenSize_(primaryScreenSize),
      now_([] { return QDateTime::currentDateTime(); }) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(fromCp1252(settings::windowTitle(Language::Dutch)));
    setAttribute(Qt::WA_ShowWithoutActivating);
    timer1_.setObjectName(QStringLiteral("Timer1"));
    timer1_.setInterval(1000);
    connect(&timer1_, &QTimer::timeout, this, &SettingsWindow::timer1Timer);
    probe_ = new GpsdProbe(this);
    mmControl1_ = new MediaControl(paths_, soundDevice ? std::move(soundDevice) : createSoundDevice(), this);
    buildControls();
    setUpVoiceCommands();
    qApp->installEventFilter(this);
}

SettingsWindow::~SettingsWindow() {
    qApp->removeEventFilter(this);
    timer1_.stop();
}

void SettingsWindow::setDeviceRoots(std::filesystem::path dev, std::filesystem::path sys) {
    devRoot_ = std::move(dev);
    sysRoot_ = std::move(sys);
}

// ------------------------------------------------------------------ controls

void SettingsWindow::buildControls() {
    QPalette wp = palette();
    wp.setColor(QPalette::Window, kWindowBack);
    wp.setColor(QPalette::WindowText, QColor(220, 225, 230));
    wp.setColor(QPalette::Button, QColor(62, 70, 80));
    wp.setColor(QPalette::ButtonText, QColor(240, 240, 240));
    setPalette(wp);
    setAutoFillBackground(true);

    auto named = [](QWidget* w, const char* name, QRect r) {
        w->setObjectName(QString::fromLatin1(name));
        w->setGeometry(r);
        return w;
    };
    auto frame = [&](const char* name, QRect r, QWidget* parent) {
        auto* f = new QFrame(parent);
        named(f, name, r);
        f->setFrameStyle(QFrame::Panel | QFrame::Raised);
        f->setAutoFillBackground(true);
        QPalette p = f->palette();
        p.setColor(QPalette::Window, kPanelBack);
        f->setPalette(p);
        return f;
    };
    auto label = [&](const char* name, QRect r, QWidget* parent) {
        return static_cast<QLabel*>(named(new QLabel(parent), name, r));
    };
    auto button = [&](const char* name, QRect r, QWidget* parent) {
        auto* b = static_cast<QPushButton*>(named(new QPushButton(parent), name, r));
        QFont f = b->font();
        f.setBold(true);
        f.setPixelSize(12);
        b->setFont(f);
        return b;
    };
    auto box = [&](const char* name, QRect r, QWidget* parent) {
        auto* e = static_cast<QLineEdit*>(named(new QLineEdit(parent), name, r));
        e->setReadOnly(true);
        e->setFocusPolicy(Qt::NoFocus);
        e->setFont(boxFont());
        QPalette p = e->palette();
        p.setColor(QPalette::Base, kBoxBack);
        p.setColor(QPalette::Text, QColor(0, 255, 0));
        e->setPalette(p);
        return e;
    };
    auto slider = [&](const char* name, QRect r, QWidget* parent) {
        auto* s = static_cast<QSlider*>(named(new QSlider(Qt::Horizontal, parent), name, r));
        const Slider* sl = settings::slider(name);
        s->setRange(sl->minimum, sl->maximum);
        s->setTickPosition(QSlider::TicksBelow);
        s->setPageStep(1);
        connect(s, &QSlider::valueChanged, this, [this, sl](int v) {
            if (!filling_) writeSlider(*sl, session_.string, v);
        });
        return s;
    };

    // An option button with its display box beside it, both 28 high.
    auto option = [&](const char* name, const char* display, QPoint at, int width, QWidget* parent) {
        QPushButton* b = button(name, QRect(at, QSize(width, 28)), parent);
        box(display, QRect(at.x() + width + 6, at.y(), 130, 28), parent);
        return b;
    };

    frame100_ = frame("Frame100", QRect(0, 0, kContentWidth, kContentHeight), this);
    QWidget* c = frame100_;

    // Map product.
    QFrame* f01 = frame("Frame01", QRect(8, 8, 312, 100), c);
    label("Label1", QRect(8, 4, 200, 18), f01);
    option("KCommand1", "CDtext1", {8, 26}, 96, f01);
    control("CDtext1")->resize(194, 28);

    // Clock and date.
    QFrame* f03 = frame("Frame03", QRect(328, 8, 304, 100), c);
    label("Label8", QRect(8, 4, 140, 18), f03);
    label("Label19", QRect(8, 22, 240, 18), f03);
    box("Klokje", QRect(8, 42, 104, 26), f03);
    box("Dagje", QRect(116, 42, 124, 26), f03);
    QPushButton* c11 = button("Command11", QRect(246, 42, 26, 26), f03);
    QPushButton* c12 = button("Command12", QRect(274, 42, 26, 26), f03);
    c11->setIcon(drawnIcon(true));
    c12->setIcon(drawnIcon(false));
    button("COMM_GMT", QRect(8, 70, 64, 26), f03);
    box("GMText", QRect(76, 70, 64, 26), f03);

    // Page buttons, explanations, command box, tabs.
    auto* check1 = static_cast<QCheckBox*>(named(new QCheckBox(c), "Check1", QRect(10, 118, 126, 22)));
    check1->setChecked(false);
    QFrame* f02 = frame("Frame02", QRect(8, 147, 128, 250), c);
    for (int page = 1; page <= kPages; ++page) {
        std::string name = "Mtoets" + integerText(page);
        QPushButton* b = button(name.c_str(), QRect(6, 6 + (page - 1) * 48, 116, 42), f02);
        connect(b, &QPushButton::clicked, this, [this, page] { pageButtonClick(page); });
    }
    QLineEdit* jtext = box("JText1", QRect(8, 404, 128, 28), c);
    jtext->setReadOnly(false);
    jtext->setFocusPolicy(Qt::StrongFocus);
    auto* tabs = static_cast<QTabBar*>(named(new QTabBar(c), "TabStrip1", QRect(144, 116, 488, 30)));
    tabs->setExpanding(true);
    tabs->setDrawBase(false);
    for (int t = 1; t <= kPages; ++t) tabs->addTab(QString());
    connect(tabs, &QTabBar::currentChanged, this, [this] {
        if (!filling_) tabStripClick();
    });

    const QRect page(twipsToPixels(kPageLeftTwips), twipsToPixels(kPageTopTwips), 488, 325);
    // Page 1, general.
    QFrame* f1 = frame("Frame1", page, c);
    QFrame* f11 = frame("Frame11", QRect(4, 4, 236, 112), f1);
    label("Label18", QRect(8, 4, 200, 18), f11);
    option("Command4", "Ttaal1", {8, 22}, 84, f11);
    label("Label2", QRect(8, 56, 200, 18), f11);
    option("Scomm1", "SnText", {8, 74}, 84, f11);
    QFrame* f13 = frame("Frame13", QRect(4, 122, 236, 66), f1);
    label("Label5", QRect(8, 4, 200, 18), f13);
    option("Command2", "AWText", {8, 26}, 84, f13);
    QPushButton* stop = button("Command6", QRect(4, 268, 236, 50), f1);
    QPalette sp = stop->palette();
    sp.setColor(QPalette::Button, QColor(150, 40, 36));
    stop->setPalette(sp);
    QFrame* f12 = frame("Frame12", QRect(248, 4, 236, 150), f1);
    label("Label6", QRect(8, 4, 200, 18), f12);
    picture1_ = new PreviewPicture(f12);
    picture1_->move(8, 26);
    auto* v1 = static_cast<QScrollBar*>(
        named(new QScrollBar(Qt::Vertical, f12), "VScroll1", QRect(8 + kPreviewWidth + 2, 26, 16, kPreviewHeight)));
    auto* h1 = static_cast<QScrollBar*>(
        named(new QScrollBar(Qt::Horizontal, f12), "HScroll1", QRect(8, 26 + kPreviewHeight + 2, kPreviewWidth, 16)));
    for (QScrollBar* s : {h1, v1}) {
        s->setRange(0, kScrollMax);
        s->setPageStep(20);
        connect(s, &QScrollBar::valueChanged, this, [this] { showCorrections(!filling_); });
    }
    box("Xwaarde", QRect(120, 26, 100, 26), f12);
    box("Ywaarde", QRect(120, 58, 100, 26), f12);

    // Page 2, ports.
    QFrame* f2 = frame("Frame2", page, c);
    label("Label7", QRect(8, 4, 200, 18), f2);
    int row = 0;
    for (const PortButton& pb : portButtons()) {
        QPushButton* b = option(pb.button, pb.display, {8, 26 + row++ * 32}, 90, f2);
        const PortButton* entry = &pb;
        connect(b, &QPushButton::clicked, this, [this, entry] { portButtonClick(*entry); });
    }
    connect(button("Command3", QRect(8, 160, 226, 32), f2), &QPushButton::clicked, this,
            &SettingsWindow::command3Click);
    label("Label20", QRect(244, 4, 236, 18), f2);
    box("ComLink1", QRect(244, 26, 236, 28), f2)->setFont(QFont());
    named(new QComboBox(f2), "PortList1", QRect(244, 60, 236, 28));
    connect(button("Search1", QRect(244, 94, 114, 28), f2), &QPushButton::clicked, this, &SettingsWindow::searchPorts);
    connect(button("Attach1", QRect(366, 94, 114, 28), f2), &QPushButton::clicked, this, &SettingsWindow::attachPort);
    label("PortInfo1", QRect(244, 128, 236, 64), f2)->setWordWrap(true);
    connect(probe_, &GpsdProbe::finished, this, [this](bool answered) {
        auto* list = control<QComboBox>("PortList1");
        if (answered) list->addItem(QStringLiteral("gpsd://localhost:%1").arg(gpsdPort_));
        control<QLabel>("PortInfo1")->setText(list->count() ? QString() : fromCp1252(nothingFoundText(language())));
        control("Attach1")->setEnabled(list->count() > 0);
    });

    // Page 3, maps.
    QFrame* f3 = frame("Frame3", page, c);
    label("Label3", QRect(8, 4, 300, 18), f3);
    option("Routesave", "RSText1", {8, 26}, 90, f3);
    option("Garm1", "DText1", {8, 58}, 90, f3);
    QFrame* f31 = frame("Frame31", QRect(4, 96, 300, 90), f3);
    label("Label11", QRect(8, 4, 280, 18), f31);
    option("Command7", "plekje", {8, 26}, 90, f31);
    QFrame* f32 = frame("Frame32", QRect(4, 96, 300, 90), f3);
    label("Label16", QRect(8, 4, 280, 18), f32);
    label("Label17", QRect(8, 26, 200, 18), f32);
    slider("Slider5", QRect(8, 48, 280, 30), f32);

    // Page 4, sound.
    QFrame* f4 = frame("Frame4", page, c);
    QFrame* f41 = frame("Frame41", QRect(4, 4, 236, 62), f4);
    label("Label9", QRect(8, 4, 200, 18), f41);
    option("Soundcom", "SNDText1", {8, 26}, 90, f41);
    label("Label4", QRect(248, 4, 236, 18), f4);
    const char* soundSliders[3][2] = {{"Label15", "Slider2"}, {"Label13", "Slider3"}, {"Label14", "Slider4"}};
    for (int i = 0; i < 3; ++i) {
        label(soundSliders[i][0], QRect(248, 26 + i * 52, 236, 18), f4);
        slider(soundSliders[i][1], QRect(248, 46 + i * 52, 230, 28), f4);
    }
    QFrame* f6 = frame("Frame6", QRect(4, 72, 236, 164), f4);
    int i = 0;
    for (const CheckBox& cb : checkBoxes()) {
        auto* b = static_cast<QCheckBox*>(
            named(new QCheckBox(f6), cb.name, QRect(8 + (i % 2) * 114, 6 + (i / 2) * 26, 112, 22)));
        const CheckBox* entry = &cb;
        connect(b, &QCheckBox::clicked, this, [this, entry](bool ticked) {
            session_.string.writeRaw(entry->field.pos, entry->field.width, ticked ? "1" : "0");
            showSoundChecks();
        });
        ++i;
    }

    // Page 5, miscellaneous.
    QFrame* f5 = frame("Frame5", page, c);
    label("Label10", QRect(8, 4, 200, 18), f5);
    QFrame* f7 = frame("Frame7", QRect(4, 24, 236, 44), f5);
    option("Command10", "Tzoek1", {8, 8}, 90, f7);
    QFrame* f51 = frame("Frame51", QRect(4, 76, 236, 112), f5);
    const char* misc[3][2] = {{"Menu1", "MText"}, {"command8", "Toetsje"}, {"Command9", "zw1"}};
    for (int r = 0; r < 3; ++r) option(misc[r][0], misc[r][1], {8, 8 + r * 34}, 90, f51);
    label("Label12", QRect(248, 24, 236, 18), f5);
    slider("Slider1", QRect(248, 46, 230, 30), f5);

    // Every option button cycles its value through the one table.
    for (const OptionButton& b : optionButtons()) {
        auto* w = control<QPushButton>(b.button);
        const OptionButton* entry = &b;
        connect(w, &QPushButton::clicked, this, [this, entry] { optionButtonClick(*entry); });
    }
    connect(stop, &QPushButton::clicked, this, &SettingsWindow::command6Click);
    connect(c11, &QPushButton::clicked, this, [this] {
        QTime t = now_().time();
        speak(timeSpeech(t.hour(), t.minute(), t.second()));
    });
    connect(c12, &QPushButton::clicked, this, [this] {
        QDate d = now_().date();
        speak(dateSpeech(d.day(), d.month(), d.year()));
    });

    for (const auto& [name, caption] : fixedCaptions()) control<QPushButton>(name)->setText(fromCp1252(caption));
    for (const auto& [name, tip] : toolTips()) control(name)->setToolTip(fromCp1252(tip));
    for (int p = 1; p <= kPages; ++p) control(pageFrame(p).c_str())->hide();
}

void SettingsWindow::setBox(const char* name, const std::string& cp1252) {
    control<QLineEdit>(name)->setText(fromCp1252(cp1252));
}

std::string SettingsWindow::boxText(const char* name) const { return toCp1252(control<QLineEdit>(name)->text()); }

Language SettingsWindow::language() const { return languageIn(session_.string); }

void SettingsWindow::yieldOnce() { QCoreApplication::processEvents(); }

// ------------------------------------------------------------------ start

void SettingsWindow::formLoad() {
    // 1.
    session_ = SettingsSession{};
    // 2. The settings; the built-in ones when no file could be read.
    session_ = openSettings(paths_, dialogs_);
    SettingsProgramOptions options = decodeForSettingsProgram(session_.string);
    filling_ = true;
    control<QSlider>("Slider5")->setValue(options.crossSize);
    control<QSlider>("Slider3")->setValue(options.reportInterval);
    control<QSlider>("Slider4")->setValue(options.placeNameCount);
    filling_ = false;
    // 3.
    yieldOnce();
    // 4. At the screen's top left, as wide as the screen and 25 pixels less
    // high, on top, shown without taking the focus.
    QSize screen = screenSize_();
    Placement p = placement(screen.width(), screen.height());
    move(0, 0);
    resize(p.windowWidth, std::max(1, p.windowHeight));
    // 5.
    frame100_->move(p.panelLeft, p.panelTop);
    // 6.
    setCaptions();
    showAllOptions();
    // 7.
    showPage(1);
    // 8.
    filling_ = true;
    control<QScrollBar>("HScroll1")->setValue(hScrollOfCorrection(options.correctionX));
    control<QScrollBar>("VScroll1")->setValue(vScrollOfCorrection(options.correctionY));
    filling_ = false;
    showCorrections(false);
    show();
    // 9.
    timer1Timer();
    timer1_.start();
    // 10.
    setBox("BText1", options.baudRate);
    setBox("Ptext1", options.parity);
    setBox("Ntext1", options.dataBits);
    filling_ = true;
    control<QSlider>("Slider1")->setValue(options.playbackSpeed);
    control<QSlider>("Slider2")->setValue(options.speechSpeed);
    filling_ = false;
    // 11 and 12 wait for prompts: they run once the window is up.
    startingUp_ = true;
    QTimer::singleShot(0, this, &SettingsWindow::finishStartUp);
}

void SettingsWindow::finishStartUp() {
    // 11.
    greet();
    startingUp_ = false;
    if (ended_) return;
    // 12.
    stop_ = false;
    startVoiceCommands();
}

// "INstart1.WAV", "INcdrom0.WAV" and the map product's prompt. Each prompt
// already yields after it ends, so no yield of its own lies between them.
void SettingsWindow::greet() { speak(explanationPrompts(Explanation::Greeting, session_.string)); }

void SettingsWindow::speak(const std::vector<std::string>& prompts) {
    if (prompts.empty() || ended_) return;
    emit speakRequested(prompts);
    for (const std::string& prompt : prompts) {
        const unsigned before = mmControl1_->soundsStarted();
        playPrompt(prompt);
        // More than this prompt started: a click during its wait played its
        // own prompts, and those stay the last word.
        if (ended_ || mmControl1_->soundsStarted() > before + 1) return;
    }
}

// One check of the 120,000 is one pass of MMControl1's wait, counted as
// MediaControl::passDuration() (40 microseconds): a prompt that never
// reports its end, such as a missing file, holds the window at most 4.8
// seconds, and the window stays usable while it waits.
void SettingsWindow::playPrompt(const std::string& prompt) {
    currentPrompt_ = prompt;
    const std::string_view soundSwitch = session_.string.read(field::SoundOn);
    mmControl1_->playPrompt(soundSwitch.empty() ? '0' : soundSwitch[0], promptFolder(session_.drive, language()),
                            prompt);
}

void SettingsWindow::setCaptions() {
    const Language l = language();
    for (const Caption& c : languageCaptions()) {
        QWidget* w = control(c.control);
        QString text = fromCp1252(inLanguage(l, c.dutch, c.english));
        if (auto* b = qobject_cast<QAbstractButton*>(w)) b->setText(text);
        else if (auto* label = qobject_cast<QLabel*>(w)) label->setText(text);
    }
    for (const CheckBox& cb : checkBoxes())
        control<QCheckBox>(cb.name)->setText(fromCp1252(inLanguage(l, cb.dutch, cb.english)));
    auto* tabs = control<QTabBar>("TabStrip1");
    for (int t = 1; t <= kPages; ++t) tabs->setTabText(t - 1, fromCp1252(tabText(t, l)));
    std::string title = settings::windowTitle(l);
    setWindowTitle(fromCp1252(title));
    if (presence_) presence_->announce(title);
    show();
}

// Every display box from the string, in the current language.
void SettingsWindow::showAllOptions() {
    const Language l = language();
    for (const OptionButton& b : optionButtons())
        if (auto text = displayText(b, currentValue(b, session_.string), l)) setBox(b.display, *text);
    setBox("CText1", portDisplay(session_.string.read(field::GpsPort)));
    showSoundChecks();
    applyColourScheme();
    showComLink();
}

// The sound display: every check box from its field, and the sound switch.
void SettingsWindow::showSoundChecks() {
    for (const CheckBox& cb : checkBoxes())
        control<QCheckBox>(cb.name)->setChecked(isTicked(session_.string, cb.field));
    const OptionButton& sound = *optionButton("Soundcom");
    if (auto text = displayText(sound, currentValue(sound, session_.string), language())) setBox(sound.display, *text);
}

void SettingsWindow::applyColourScheme() {
    std::optional<SchemeColours> colours = schemeColours(session_.string.read(field::ColourScheme));
    if (!colours) return;
    for (const char* name : schemeBoxes()) {
        std::string_view n(name);
        Rgb c = n == "AWText"                                      ? colours->closeWindows
                : (n == "GMText" || n == "Klokje" || n == "Dagje") ? colours->clock
                                                                   : colours->boxes;
        auto* e = control<QLineEdit>(name);
        QPalette p = e->palette();
        p.setColor(QPalette::Text, qcolour(c));
        e->setPalette(p);
    }
}

// ------------------------------------------------------------------ pages

void SettingsWindow::showPage(int page) {
    for (int p = 1; p <= kPages; ++p) {
        QWidget* f = control(pageFrame(p).c_str());
        if (p != page) f->hide();
    }
    QWidget* shown = control(pageFrame(page).c_str());
    shown->move(twipsToPixels(kPageLeftTwips), twipsToPixels(kPageTopTwips));
    shown->show();
    if (page == 3) {
        bool first = mapsPageShowsFrame31(session_.string.read(field::MapProduct));
        control("Frame31")->setVisible(first);
        control("Frame32")->setVisible(!first);
    }
    if (page == 2) {
        showComLink();
        searchPorts();
    }
}

void SettingsWindow::pageButtonClick(int page) {
    sendKeys(pageLetter(page));
    pageCode_ = settings::pageCode(page);
    showPage(page);
    if (control<QCheckBox>("Check1")->isChecked()) speak(explanationPrompts(pageExplanation(page), session_.string));
}

void SettingsWindow::tabStripClick() {
    int page = control<QTabBar>("TabStrip1")->currentIndex() + 1;
    pageCode_ = settings::pageCode(page);
    showPage(page);
}

void SettingsWindow::sendKeys(char letter) {
    if (!letter) return;
    QCoreApplication::postEvent(this, new QKeyEvent(QEvent::KeyPress, Qt::Key_A + (letter - 'A'), Qt::AltModifier,
                                                    QString(QChar(letter).toLower())));
}

// ---------------------------------------------------------------- options

void SettingsWindow::optionButtonClick(const OptionButton& b) {
    OptionChange change = changeOption(b);
    if (control<QCheckBox>("Check1")->isChecked()) speak(change.prompts);
}

OptionChange SettingsWindow::changeOption(const OptionButton& b) {
    OptionChange change = pressOptionButton(b, session_.string);
    if (change.display) setBox(b.display, *change.display);
    std::string_view name(b.button);
    if (name == "Command4") {
        // The language switch: captions and every display in the new language.
        setCaptions();
        showAllOptions();
    }
    if (name == "Command9") applyColourScheme();
    if (name == "KCommand1") yieldOnce();
    return change;
}

void SettingsWindow::showCorrections(bool store) {
    int h = control<QScrollBar>("HScroll1")->value();
    int v = control<QScrollBar>("VScroll1")->value();
    if (store) {
        session_.string.writeLeftAligned(field::CorrectionX, integerText(correctionOfHScroll(h)));
        session_.string.writeLeftAligned(field::CorrectionY, integerText(correctionOfVScroll(v)));
    }
    picture1_->redraw(h, v);
    setBox("Xwaarde", correctionBoxText(correctionOfHScroll(h)));
    setBox("Ywaarde", correctionBoxText(correctionOfVScroll(v)));
}

// ------------------------------------------------------------------ ports

void SettingsWindow::portButtonClick(const PortButton& b) {
    PortChange change = changePort(b);
    if (control<QCheckBox>("Check1")->isChecked()) speak(change.prompts);
}

PortChange SettingsWindow::changePort(const PortButton& b) {
    PortChange change = pressPortButton(b, boxText(b.display), session_.string);
    setBox(b.display, change.text);
    if (b.kind == PortButton::Kind::ComPort) showComLink();
    return change;
}

void SettingsWindow::command3Click() {
    PortDefaults d = resetPortDefaults(session_.string);
    setBox("BText1", d.baud);
    setBox("Ptext1", d.parity);
    setBox("Ntext1", d.dataBits);
    setBox("CText1", d.port);
    showComLink();
    if (control<QCheckBox>("Check1")->isChecked()) speak(explanationPrompts(Explanation::PortsPage, session_.string));
}

void SettingsWindow::showComLink() {
    int n = portNumberIn(session_.string);
    setBox("ComLink1", n ? comLinkText(n, resolveComPort(paths_.prefix(), n).describe()) : std::string());
    control("Attach1")->setEnabled(n && control<QComboBox>("PortList1")->count() > 0);
}

void SettingsWindow::searchPorts() {
    auto* list = control<QComboBox>("PortList1");
    list->clear();
    for (const std::string& d : detectSerialDevices(devRoot_, sysRoot_)) list->addItem(QString::fromStdString(d));
    control<QLabel>("PortInfo1")->setText(fromCp1252(searchingText(language())));
    control("Attach1")->setEnabled(list->count() > 0);
    probe_->start(QStringLiteral("localhost"), gpsdPort_);
}

void SettingsWindow::attachPort() {
    int n = portNumberIn(session_.string);
    std::string target = control<QComboBox>("PortList1")->currentText().toStdString();
    if (!n || target.empty()) return;
    AttachResult r = attachComPort(paths_.prefix(), n, target);
    control<QLabel>("PortInfo1")
        ->setText(fromCp1252(r.ok ? attachedText(language(), n, target) : attachFailedText(language(), r.error)));
    showComLink();
}

// ------------------------------------------------------------------ clock

void SettingsWindow::timer1Timer() {
    QDateTime now = now_();
    QTime t = now.time();
    QDate d = now.date();
    setBox("Klokje", clockBoxText(t.hour(), t.minute(), t.second()));
    setBox("Dagje", dateBoxText(d.day(), d.month(), d.year()));
    if (session_.string.read(field::ColourScheme) == "1")
        for (const char* name : {"Klokje", "Dagje"}) {
            auto* e = control<QLineEdit>(name);
            QPalette p = e->palette();
            p.setColor(QPalette::Text, Qt::white);
            e->setPalette(p);
        }
    yieldOnce();
}

// -------------------------------------------------------------------- end

void SettingsWindow::command6Click() {
    stop_ = true;
    yieldOnce();
    close();
}

bool SettingsWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w || w->window() != this) return false;
    // A key travels from the focused widget up to its parents: act once, at
    // the first widget it reaches.
    QWidget* first = QApplication::focusWidget();
    if (!first || first->window() != this) first = this;
    if (w != first && w != this) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
        close();
        return true;
    }
    // Alt and a page letter chooses that page's tab; a visible button with
    // the same letter has taken the key before it gets here.
    if (key->modifiers() == Qt::AltModifier && key->key() >= Qt::Key_A && key->key() <= Qt::Key_Z) {
        if (int page = pageOfLetter(char('A' + (key->key() - Qt::Key_A)))) {
            control<QTabBar>("TabStrip1")->setCurrentIndex(page - 1);
            return true;
        }
    }
    return false;
}

void SettingsWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (event->isAccepted()) formUnload();
}

void SettingsWindow::formUnload() {
    if (ended_) return;
    ended_ = true;
    stop_ = true;
    timer1_.stop();
    saveAtUnload(paths_, dialogs_, session_);
    // A prompt still playing stops, and its wait ends, so the program ends
    // at once.
    mmControl1_->close();
    mmControl1_->abortWaits();
    // The title goes only after the file is written: whoever waits for the
    // window to close then reads the new settings.
    if (presence_) presence_->withdraw();
    emit unloaded();
}

}  // namespace tarvok::settings
