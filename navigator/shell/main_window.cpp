#include "main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTime>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <tuple>

#include "common/language.h"
#include "common/clock_texts.h"
#include "common/text.h"
#include "navigator/gps/needles.h"
#include "navigator/shell/keyboard_commands.h"
#include "navigator/shell/settings_launch.h"
#include "navigator/shell/shell_calls.h"
#include "navigator/shell/shell_texts.h"
#include "navigator/shell/shell_widgets.h"
#include "navigator/shell/sound_playback.h"
#include "platform/dialogs.h"
#include "platform/file_error_text.h"
#include "platform/screen_size.h"
#include "platform/sound_device.h"

namespace tarvok {

namespace {

QString fromCp1252(const std::string& s) { return QString::fromStdString(cp1252ToUtf8(s)); }

// The readouts that the black-and-white colour scheme turns white.
using C = MainWindowControls;
QLineEdit* C::* const kReadouts[] = {&C::speed,      &C::speedUnit,   &C::course,     &C::compassDirection,
                                     &C::accentLeft, &C::accentRight, &C::eastWest,   &C::northSouth,
                                     &C::latitude,   &C::longitude,   &C::pixelX,     &C::pixelY,
                                     &C::time,       &C::date};

// Designed colours.
const QColor kPanel(28, 32, 38);
const QColor kReadoutBase(6, 20, 12);
const QColor kReadoutText(120, 255, 150);
const QColor kBoxBase(12, 22, 32);
const QColor kBoxText(170, 200, 220);
const QColor kStatusBase(2, 6, 4);
const QColor kStatusText(255, 196, 64);

// The status line's font, and the smallest it shrinks to for a long text.
constexpr int kStatusPixelSize = 12;
constexpr int kStatusSmallestPixelSize = 7;

QFont monoFont(int pixelSize, bool bold) {
    QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

}  // namespace

MainWindow::MainWindow(NavigatorStart start, DosPaths paths, Dialogs& dialogs,
                       std::unique_ptr<SoundDevice> device, QWidget* parent)
    : QMainWindow(parent), paths_(std::move(paths)), dialogs_(dialogs), screenSize_(primaryScreenSize) {
    setWindowTitle(QStringLiteral("Tarvok"));
    setObjectName(QStringLiteral("frmMain"));
    state_.programDrive = start.programDrive;
    state_.settingsString = start.settingsString;
    state_.settings = start.settings;
    state_.screenCorrectionX = start.settings.correctionX;
    state_.screenCorrectionY = start.settings.correctionY;
    // Until the settings were read the language is English; from here on
    // it is the file's.
    sound_ = std::make_unique<SoundPlayback>(state_, paths_, std::move(device), this);

    radarTimer_.setInterval(kRadarFrameMilliseconds);
    connect(&radarTimer_, &QTimer::timeout, this, &MainWindow::radarTick);
    buildControls();
    qApp->installEventFilter(this);
}

MainWindow::~MainWindow() {
    qApp->removeEventFilter(this);
    radarTimer_.stop();
}

// ------------------------------------------------------------------ controls

void MainWindow::buildControls() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("frmMainClient"));
    central->setAutoFillBackground(true);
    QPalette pal = central->palette();
    pal.setColor(QPalette::Window, kPanel);
    pal.setColor(QPalette::WindowText, QColor(200, 210, 220));
    pal.setColor(QPalette::Button, QColor(54, 61, 70));
    pal.setColor(QPalette::ButtonText, QColor(232, 236, 240));
    pal.setColor(QPalette::Highlight, QColor(60, 170, 110));
    central->setPalette(pal);
    setCentralWidget(central);

    auto named = [this](QObject* o, const char* name) {
        o->setObjectName(QString::fromLatin1(name));
        controls_.push_back(o);
    };
    C& c = widgets_;
    auto button = [&](QPushButton*& slot, const char* name, QRect r, QWidget* parent) {
        auto* b = new QPushButton(parent);
        slot = b;
        named(b, name);
        b->setGeometry(r);
        QFont f = b->font();
        f.setBold(true);
        f.setPixelSize(12);
        b->setFont(f);
        b->setFocusPolicy(Qt::StrongFocus);
        return b;
    };
    auto box = [&](QLineEdit*& slot, const char* name, QRect r, QWidget* parent) {
        auto* e = new QLineEdit(parent);
        slot = e;
        named(e, name);
        e->setGeometry(r);
        e->setFont(monoFont(13, true));
        e->setFrame(true);
        QPalette p = e->palette();
        p.setColor(QPalette::Base, kBoxBase);
        p.setColor(QPalette::Text, kBoxText);
        e->setPalette(p);
        return e;
    };

    // Status line.
    label6_ = c.status = new QLabel(central);
    named(label6_, "Label6");
    label6_->setGeometry(4, 4, 190, 24);
    label6_->setFont(monoFont(kStatusPixelSize, true));
    label6_->setAutoFillBackground(true);
    label6_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    QPalette lp = label6_->palette();
    lp.setColor(QPalette::Window, kStatusBase);
    lp.setColor(QPalette::WindowText, kStatusText);
    label6_->setPalette(lp);

    // Buttons: three rows of three, then the zoom row with the help button.
    const int bw = 62, bh = 26;
    struct NamedButton {
        QPushButton* C::*member;
        const char* name;
    };
    const NamedButton rows[3][3] = {
        {{&C::loadMap, "Command2"}, {&C::findMap, "Command13"}, {&C::buildMapDatabase, "Command12"}},
        {{&C::goToPixel, "Command3"}, {&C::goToCoordinates, "Command4"}, {&C::routePlayback, "Command1"}},
        {{&C::navigate, "Navig1"}, {&C::setup, "SetupCommand"}, {&C::stop, "cmdQuit"}}};
    for (int r = 0; r < 3; ++r)
        for (int k = 0; k < 3; ++k)
            button(c.*rows[r][k].member, rows[r][k].name, QRect(4 + k * (bw + 2), 32 + r * (bh + 2), bw, bh),
                   central);
    const NamedButton zoomRow[4] = {
        {&C::zoomFull, "Zoom0"}, {&C::zoomIn, "ZoomI"}, {&C::zoomOut, "ZoomU"}, {&C::help, "Command6"}};
    for (int k = 0; k < 4; ++k) button(c.*zoomRow[k].member, zoomRow[k].name, QRect(4 + k * 48, 116, 46, bh), central);
    // STOP and NAV stand out by colour.
    for (auto [b, colour] : {std::pair{c.stop, QColor(150, 40, 36)}, std::pair{c.navigate, QColor(30, 110, 64)}}) {
        QPalette bp = b->palette();
        bp.setColor(QPalette::Button, colour);
        b->setPalette(bp);
    }

    // Readouts.
    const int rh = 22;
    box(c.time, "Tijds", QRect(4, 146, 92, rh), central);
    box(c.date, "Datum", QRect(98, 146, 96, rh), central);
    box(c.speed, "Speed", QRect(4, 170, 52, rh), central);
    box(c.speedUnit, "Smode", QRect(58, 170, 40, rh), central);
    box(c.course, "Koers", QRect(100, 170, 50, rh), central);
    box(c.compassDirection, "Windr", QRect(152, 170, 42, rh), central);
    box(c.northSouth, "NSText", QRect(4, 194, 24, rh), central);
    box(c.latitude, "Latid", QRect(30, 194, 164, rh), central);
    box(c.eastWest, "EWText", QRect(4, 218, 24, rh), central);
    box(c.longitude, "Longi", QRect(30, 218, 164, rh), central);
    box(c.pixelX, "Xtext", QRect(4, 242, 70, rh), central);
    box(c.pixelY, "Ytext", QRect(76, 242, 70, rh), central);
    box(c.zoomLevel, "Ztext", QRect(148, 242, 46, rh), central)->setFont(monoFont(11, true));
    // Text3 and Text4 hold no text; they are accent strips in the readout colour.
    for (auto [slot, name, x] : {std::tuple{&c.accentLeft, "Text3", 4}, std::tuple{&c.accentRight, "Text4", 98}}) {
        QLineEdit* e = box(*slot, name, QRect(x, 268, 96 - (x == 4 ? 4 : 0), 6), central);
        e->setReadOnly(true);
        e->setFocusPolicy(Qt::NoFocus);
        e->setFrame(false);
    }
    for (QLineEdit* C::*readout : kReadouts) {
        QLineEdit* e = widgets_.*readout;
        QPalette p = e->palette();
        p.setColor(QPalette::Base, kReadoutBase);
        p.setColor(QPalette::Text, kReadoutText);
        e->setPalette(p);
    }
    connect(c.northSouth, &QLineEdit::textChanged, this, [this] { upperCase(widgets_.northSouth); });
    connect(c.eastWest, &QLineEdit::textChanged, this, [this] { upperCase(widgets_.eastWest); });

    auto* check1 = c.movingMap = new QCheckBox(QStringLiteral("Moving map"), central);
    named(check1, "Check1");
    check1->setGeometry(4, 278, 190, 20);
    auto slider = [&](QSlider*& slot, const char* name, QRect r, int lo, int hi, QWidget* parent) {
        auto* s = slot = new QSlider(Qt::Horizontal, parent);
        named(s, name);
        s->setGeometry(r);
        s->setRange(lo, hi);
        return s;
    };
    // The sliders with small captions of their own.
    for (auto [caption, y] : {std::pair{"CROSS", 300}, std::pair{"THIN", 322}}) {
        auto* l = new QLabel(QString::fromLatin1(caption), central);
        l->setGeometry(4, y, 44, 20);
        l->setFont(monoFont(10, true));
    }
    slider(c.crossSize, "Slider3", QRect(50, 300, 144, 20), 0, 20, central);
    slider(c.thinning, "rou1", QRect(50, 322, 144, 20), 0, 20, central);

    auto* text1 = c.receiverLog = new QPlainTextEdit(central);
    named(text1, "Text1");
    text1->setReadOnly(true);
    text1->setFont(monoFont(10, false));
    QPalette tp = text1->palette();
    tp.setColor(QPalette::Base, kBoxBase);
    tp.setColor(QPalette::Text, kBoxText);
    text1->setPalette(tp);

    picture2_ = new InstrumentPanel(central);
    controls_.push_back(picture2_);

    // The route playback panel, in the instrument panel's place when shown.
    auto* frame10 = c.playbackPanel = new QFrame(central);
    named(frame10, "Frame10");
    frame10->setFrameStyle(QFrame::Panel | QFrame::Raised);
    frame10->setAutoFillBackground(true);
    frame10_ = frame10;
    auto* text7 = box(c.playbackStart, "Text7", QRect(4, 4, 182, 22), frame10);
    text7->setFont(monoFont(11, false));
    text7->setToolTip(QStringLiteral("Start datum/tijd van routevertoning"));
    auto scroll = [&](QScrollBar*& slot, const char* name, QRect r, Qt::Orientation o, QWidget* parent) {
        auto* s = slot = new QScrollBar(o, parent);
        named(s, name);
        s->setGeometry(r);
        return s;
    };
    scroll(c.startHours, "HScroll1", QRect(4, 30, 182, 16), Qt::Horizontal, frame10)->setRange(0, 99);
    scroll(c.startMinutes, "HScroll2", QRect(4, 50, 182, 16), Qt::Horizontal, frame10)->setRange(0, 60);
    slider(c.playbackSpeed, "Slider1", QRect(4, 70, 182, 20), 0, 9, frame10)
        ->setToolTip(QStringLiteral("Route afspeelsnelheid (kwadratisch!)"));
    auto* progress = c.playbackProgress = new QProgressBar(frame10);
    named(progress, "ProgressBar1");
    progress->setGeometry(4, 94, 182, 16);
    progress->setToolTip(QStringLiteral("Voortgang routevertoning"));
    auto* play1 = button(c.play, "Play1", QRect(4, 114, 182, 30), frame10);
    play1->setText(QStringLiteral("&PLAY"));
    play1->setToolTip(QStringLiteral("Speel eerder verreden route af"));

    // The map view and what sits in or around it.
    picture1_ = new MapPicture(central);
    controls_.push_back(picture1_);
    picClip1_ = new PictureClip(this);
    controls_.push_back(picClip1_);
    const QColor shapeColours[3] = {QColor(0, 150, 0), QColor(0, 110, 0), QColor(0, 70, 0)};
    for (int i = 0; i < 3; ++i) {
        shapes_[i] = new RadarShape(shapeColours[i], i == 1 ? 2 : 1, picture1_);
        named(shapes_[i], i == 0 ? "Shape1" : i == 1 ? "Shape2" : "Shape3");
        c.radarCircles[i] = shapes_[i];
    }
    for (auto [slot, name] : {std::pair{&c.upperLeftCorner, "TextLB"}, std::pair{&c.upperRightCorner, "TextRB"},
                              std::pair{&c.lowerLeftCorner, "TextLO"}, std::pair{&c.lowerRightCorner, "TextRO"}}) {
        QLineEdit* e = box(*slot, name, QRect(0, 0, design::kCornerBoxWidth, design::kCornerBoxHeight), picture1_);
        e->setFont(monoFont(10, false));
        e->setReadOnly(true);
    }
    scroll(c.mapHScroll, "HScroll3", QRect(), Qt::Horizontal, central)->hide();
    scroll(c.mapVScroll, "VScroll3", QRect(), Qt::Vertical, central)->hide();
    QLineEdit* text8 = box(c.mapStatusLine, "Text8", QRect(), central);
    text8->setFont(monoFont(12, false));
    text8->setReadOnly(true);

    controls_.push_back(sound_.get());

    // The zoom buttons run the map view's zoom operations; the other
    // buttons get their handlers from the map, gps, route and settings-launch
    // parts.
    connect(c.zoomIn, &QPushButton::clicked, this, [this] { if (map_) map_->zoomIn(); });
    connect(c.zoomOut, &QPushButton::clicked, this, [this] { if (map_) map_->zoomOut(); });
    connect(c.zoomFull, &QPushButton::clicked, this, [this] { if (map_) map_->zoomFull(); });
    connect(c.stop, &QPushButton::clicked, this, &MainWindow::cmdQuitClick);
    connect(c.help, &QPushButton::clicked, this, &MainWindow::command6Click);
}

void MainWindow::SpeakStatus() {
    if (speech_) speech_->speakStatus();
}

void MainWindow::upperCase(QLineEdit* box) {
    QString upper = box->text().toUpper();
    if (upper == box->text()) return;
    int cursor = box->cursorPosition();
    box->setText(upper);
    box->setCursorPosition(cursor);
}

void MainWindow::setLanguageTexts() {
    char lang = state_.settings.language;
    if (lang != '0' && lang != '1') return;
    const Language language = languageOf(lang);
    for (const ControlTexts& t : mainWindowTexts()) {
        QWidget* w = control(t.name);
        if (!w) continue;
        if (const char* caption = t.caption(language))
            if (auto* b = qobject_cast<QPushButton*>(w)) b->setText(fromCp1252(caption));
        if (const char* tip = t.tooltip(language)) w->setToolTip(fromCp1252(tip));
    }
    setStatus(shellStatusText(ShellStatus::Welcome, language));
    state_.soundFolder = soundFolderOf(language);
}

void MainWindow::applyColourScheme() {
    if (state_.settings.colourScheme != '1') return;
    for (QLineEdit* C::*readout : kReadouts) {
        QLineEdit* e = widgets_.*readout;
        QPalette p = e->palette();
        p.setColor(QPalette::Base, QColor(255, 255, 255));
        // Dark text, so the readouts stay legible on their white ground.
        p.setColor(QPalette::Text, QColor(0, 0, 0));
        e->setPalette(p);
    }
}

void MainWindow::applyLayout(const WindowLayout& l) {
    layout_ = l;
    resize(l.windowWidth, l.windowHeight);
    move(0, 0);
    const LayoutRect& p1 = l.picture1;
    picture1_->setGeometry(p1.x, p1.y, p1.width, p1.height);
    auto place = [](QWidget* w, const LayoutRect& r) { w->setGeometry(r.x, r.y, r.width, r.height); };
    place(widgets_.mapHScroll, l.hScroll3);
    place(widgets_.mapVScroll, l.vScroll3);
    // Shapes lie in the inner area, which begins inside the frame.
    QPoint inner = picture1_->contentsRect().topLeft();
    for (int i = 0; i < 3; ++i)
        shapes_[i]->setGeometry(l.shape[i].x + inner.x(), l.shape[i].y + inner.y(), l.shape[i].width,
                                l.shape[i].height);
    const int cw = design::kCornerBoxWidth, ch = design::kCornerBoxHeight;
    widgets_.upperLeftCorner->setGeometry(0, 0, cw, ch);
    widgets_.upperRightCorner->setGeometry(l.textRBLeft, 0, cw, ch);
    widgets_.lowerLeftCorner->setGeometry(0, l.textLOTop, cw, ch);
    widgets_.lowerRightCorner->setGeometry(l.textRBLeft, l.textLOTop, cw, ch);
    widgets_.mapStatusLine->setGeometry(p1.x, l.text8Top, p1.width, design::kText8Height);

    // The left column: the reception log fills what the instrument panel
    // leaves; the panel (or the route panel in its place) sits at the bottom.
    const int bottom = l.windowHeight - 4;
    picture2_->setGeometry(4, bottom - 88, 190, 88);
    picture2_->setVisible(l.picture2Visible);
    frame10_->setGeometry(4, bottom - 150, 190, 150);
    int logBottom = l.picture2Visible ? bottom - 92 : bottom;
    widgets_.receiverLog->setGeometry(4, 346, 190, std::max(20, logBottom - 346));
}

void MainWindow::setStatus(const std::string& text) {
    const QString shown = fromCp1252(text);
    // A long text gets a smaller font rather than losing its end.
    QFont font = monoFont(kStatusPixelSize, true);
    const int room = label6_->contentsRect().width();
    while (font.pixelSize() > kStatusSmallestPixelSize && QFontMetrics(font).horizontalAdvance(shown) > room)
        font.setPixelSize(font.pixelSize() - 1);
    if (font != label6_->font()) label6_->setFont(font);
    label6_->setText(shown);
}

std::string MainWindow::status() const { return utf8ToCp1252(label6_->text().toStdString()); }

void MainWindow::yieldOnce() { QCoreApplication::processEvents(); }

void MainWindow::showClock() {
    QTime t = QTime::currentTime();
    widgets_.time->setText(fromCp1252(clockText(t.hour(), t.minute(), t.second())));
}

// --------------------------------------------------------------- opening

void MainWindow::formLoad() {
    // 1. Start values; the map view's own (bitmap size, position pixel,
    // busy and scroll flags) are reset by the map view.
    state_.navigationActive = 0;
    state_.playbackActive = 0;
    state_.targetZoomLevel = 0;
    state_.mapLoaded = 0;
    if (map_) map_->resetForStart();
    // 2. Captions, tooltips, welcome text and sound folder by language.
    setLanguageTexts();
    // 3.
    frame10_->hide();
    state_.announcementCounter = 0;
    // 4. Date, and the route playback start time in Text7.
    QDateTime now = QDateTime::currentDateTime();
    QDate d = now.date();
    QTime t = now.time();
    widgets_.date->setText(fromCp1252(dateText(d.day(), d.month(), d.year())));
    state_.routePlaybackStart = now.toSecsSinceEpoch();
    widgets_.playbackStart->setText(fromCp1252(dateText(d.day(), d.month(), d.year()) + " " +
                                                    timeOfDayText(t.hour(), t.minute(), t.second()) + "  "));
    // 5. Sliders from the settings; key preview on.
    widgets_.playbackSpeed->setValue(state_.settings.playbackSpeed);
    widgets_.crossSize->setValue(state_.settings.crossSize);
    state_.keyPreview = true;
    // 6.
    applyColourScheme();
    // 7. Screen size and layout.
    QSize screen = screenSize_();
    state_.screenWidth = screen.width();
    state_.screenHeight = screen.height();
    applyLayout(computeWindowLayout(state_.screenWidth, state_.screenHeight));
    // 8.
    show();
    yieldOnce();
    // 9. The needles in their rest positions: speed 0 and course 0.
    picture2_->clearDrawing();
    for (const gps::NeedleLine& l : gps::needleLines(0, 0))
        picture2_->drawLine(l.from.x, l.from.y, l.to.x, l.to.y, QColor(l.r, l.g, l.b));
    // 10. The welcome sound, not waited for; then the spoken fragments.
    if (state_.settings.soundOn == '1') {
        sound_->start(state_.soundPath("Welkom5.WAV"));
        welcomeSound_ = sound_->soundsStarted();
        welcomeStarted_ = true;
        if (speech_) speech_->loadSpeechFragments();
    }
    // 11.
    if (map_) map_->resetZoomLevel();
    showClock();
    d = QDate::currentDate();
    widgets_.date->setText(fromCp1252(dateText(d.day(), d.month(), d.year()) + " "));
    // 12. The start picture, shown whole in the map view.
    picClip1_->setPicture(drawStartPicture());
    picture1_->showStretched(picClip1_->picture());
    if (map_) {
        map_->showStartPicture(picClip1_->picture());
        map_->applyZoom();
    }
    // 13.
    setStatus(shellStatusText(ShellStatus::PleaseLoadMap, state_.language()));
    // 14. The radar screen until the first map; 15 follows from there.
    startRadar();
}

void MainWindow::startRadar() {
    if (state_.mapLoaded == 1) {
        QTimer::singleShot(0, this, &MainWindow::finishFormLoad);
        return;
    }
    QSize inner = picture1_->innerSize();
    radarCentre_ = radarCentre(inner.width(), inner.height());
    picture1_->draw(radarDial(radarCentre_));
    sweepStep_ = 0;
    radarTimer_.start();
}

void MainWindow::radarTick() {
    if (state_.mapLoaded == 1) {
        radarTimer_.stop();
        // The rest of the opening sequence runs from the event queue, not
        // inside this tick.
        QTimer::singleShot(0, this, &MainWindow::finishFormLoad);
        return;
    }
    // The frame's steps drawn as one, so only the sweep's own cells repaint.
    RadarDrawing d = radarSweepFrame(radarCentre_, sweepStep_, kRadarStepsPerFrame);
    picture1_->draw(d);
    if (d.refreshClock) {
        shapes_[1]->update();
        showClock();
    }
    sweepStep_ = (sweepStep_ + kRadarStepsPerFrame) % kSweepSteps;
}

void MainWindow::finishFormLoad() {
    if (formLoadFinished_ || ended_) return;
    formLoadFinished_ = true;
    // 15. Wait for the welcome sound and close it. When another sound has
    // been started since, the welcome sound is already over and that sound
    // (and whoever waits for it) is left alone.
    if (state_.settings.soundOn == '1' && welcomeStarted_ && sound_->soundsStarted() == welcomeSound_) {
        sound_->waitForEnd(SoundPlayback::kPlaySoundPasses);
        if (sound_->soundsStarted() == welcomeSound_ && !ended_) {
            sound_->close();
            sound_->setCompletionCode(1);
        }
    }
    emit formLoadDone();
}

// ---------------------------------------------------------------- keyboard

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !state_.keyPreview) return false;
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w || w->window() != this) return false;
    // A key travels from the focused widget up to its parents; it is
    // previewed once, at the widget it is given to first.
    QWidget* first = QApplication::focusWidget();
    if (!first || first->window() != this) first = this;
    if (w != first) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    // Alt and Ctrl combinations are shortcuts (the buttons' "&" letters),
    // not typed characters.
    if (key->modifiers() & (Qt::AltModifier | Qt::ControlModifier)) return false;
    int ascii = 0;
    if (key->key() == Qt::Key_Escape) ascii = 27;
    else if (key->text().size() == 1 && key->text()[0].unicode() < 128) ascii = key->text()[0].unicode();
    if (ascii) formKeyPress(ascii);
    return false;
}

void MainWindow::formKeyPress(int keyAscii) {
    KeyOutcome o = applyKey(state_, keyAscii);
    if (!o.status.empty()) setStatus(o.status);
    if (o.endSoundWaits) sound_->setCompletionCode(1);
    switch (o.command) {
    case KeyCommand::None: break;
    case KeyCommand::Escape:
        dialogs_.beep();
        yieldOnce();
        close();
        break;
    case KeyCommand::ScreenCorrection: yieldOnce(); break;
    case KeyCommand::SoundSwitchedOff:
        yieldOnce();
        break;
    case KeyCommand::SoundSwitchedOn:
        if (speech_) speech_->loadSpeechFragments();
        yieldOnce();
        break;
    case KeyCommand::ZoomIn:
        if (map_) map_->zoomIn();
        break;
    case KeyCommand::ZoomOut:
        if (map_) map_->zoomOut();
        yieldOnce();
        break;
    case KeyCommand::ZoomFull:
        if (map_) map_->zoomFull();
        break;
    case KeyCommand::ZoomToLevel:
        if (map_) map_->zoomToLevel();
        break;
    case KeyCommand::SpeedUnit:
        if (!o.unitWordFile.empty() && speech_) speech_->reloadUnitWord(o.unitWordFile);
        break;
    case KeyCommand::Interval: break;
    }
}

// -------------------------------------------------------------------- STOP

void MainWindow::stopNavigation() {
    state_.navigationActive = 0;
    state_.stopRequest = true;
    setStatus(shellStatusText(ShellStatus::NavigationStopped, state_.language()));
    state_.currentSoundName = "Navig2.WAV";
    sound_->playSound();
}

void MainWindow::stopPlayback() {
    state_.playbackActive = 0;
    state_.stopRequest = true;
    setStatus(shellStatusText(ShellStatus::PlaybackStopped, state_.language()));
    frame10_->hide();
    // The instrument panel comes back, except on a screen too narrow for it.
    picture2_->setVisible(layout_.picture2Visible);
    state_.currentSoundName = "Route2.WAV";
    sound_->playSound();
}

void MainWindow::stopActiveMode() {
    if (state_.navigationActive == 1) stopNavigation();
    else if (state_.playbackActive == 1) stopPlayback();
}

void MainWindow::cmdQuitClick() {
    if (ended_) return;
    if (state_.navigationActive == 1 || state_.playbackActive == 1) {
        stopActiveMode();
        return;
    }
    setStatus(shellStatusText(ShellStatus::Goodbye, state_.language()));
    state_.currentSoundName = "Totziens.WAV";
    sound_->playSound();
    state_.stopRequest = true;
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    QMainWindow::closeEvent(event);
    if (!event->isAccepted() || ended_) return;
    ended_ = true;
    state_.stopRequest = true;
    radarTimer_.stop();
    sound_->abortWaits();
    sound_->close();
    emit ended();
}

// -------------------------------------------------------------- user guide

void MainWindow::command6Click() {
    // The guide opens in the desktop's viewer for the file type; the
    // program folder on the program drive holds it.
    std::string guide = std::string(1, state_.programDrive) + ":\\tarvok\\USERNav4.HTM";
    dialogs_.openDocument(paths_.toNative(guide).string());
}

// -------------------------------------------------------------------- SETUP

void MainWindow::attachSettingsLaunch(SettingsLaunch& launch) {
    launch.setCalls({[this] { return languageOf(state_.settings.language); },
                     [this](const std::string& text) { setStatus(text); },
                     [this] {
                         state_.currentSoundName = "Instel1.WAV";
                         sound_->playSound();
                     },
                     [this] { reloadSettings(); },
                     [this](const std::string& text) { dialogs_.critical(text); }});
    connect(widgets_.setup, &QPushButton::clicked, &launch, &SettingsLaunch::setupCommandClick);
    connect(this, &MainWindow::ended, &launch, &SettingsLaunch::stop);
}

void MainWindow::reloadSettings() {
    // A missing file leaves the settings as they are, silently; one that is
    // there but cannot be read is told, so the user knows the changes made
    // in the settings program did not take effect.
    int error = 0;
    switch (loadSettings(paths_, state_.programDrive, state_.settingsString, &error)) {
    case LoadResult::Loaded: break;
    case LoadResult::Missing: return;
    case LoadResult::Unreadable:
        dialogs_.critical(joinMessageLines(settingsNotReloadedLines(
            state_.language(), fileErrorText(settingsFileDosPath(state_.programDrive), error, state_.language()))));
        return;
    }
    state_.settings = decodeForNavigator(state_.settingsString);
    state_.screenCorrectionX = state_.settings.correctionX;
    state_.screenCorrectionY = state_.settings.correctionY;
    widgets_.playbackSpeed->setValue(state_.settings.playbackSpeed);
    widgets_.crossSize->setValue(state_.settings.crossSize);
    // The spoken fragments follow the new speed unit and sound switch, as
    // the K, M, T and G keys make them do.
    if (state_.settings.soundOn == '1' && speech_) speech_->loadSpeechFragments();
}

}  // namespace tarvok
