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
#include <QResizeEvent>
#include <QScrollBar>
#include <QSlider>
#include <QStyle>
#include <type_traits>
#include <variant>

#include "common/clock_texts.h"
#include "common/language.h"
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
QLineEdit* C::*const kReadouts[] = {
    &C::speed,      &C::speedUnit, &C::course,    &C::compassDirection, &C::accentLeft, &C::accentRight, &C::eastWest,
    &C::northSouth, &C::latitude,  &C::longitude, &C::pixelX,           &C::pixelY,     &C::time,        &C::date};

// Designed colours.
const QColor kPanel(28, 32, 38);
const QColor kReadoutBase(6, 20, 12);
const QColor kReadoutText(120, 255, 150);
const QColor kBoxBase(12, 22, 32);
const QColor kBoxText(170, 200, 220);
const QColor kStatusBase(2, 6, 4);
const QColor kStatusText(255, 196, 64);

// The fix status line under the instrument panel's dials.
constexpr int kFixStatusHeight = design::kInstrumentPanelHeight - InstrumentPanel::kDialsHeight;

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

MainWindow::MainWindow(NavigatorStart start, DosPaths paths, Dialogs& dialogs, std::unique_ptr<SoundDevice> device,
                       QWidget* parent)
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

namespace {

// How a row of the control table is built.
enum class Kind {
    Status,   // the status line (a label)
    Caption,  // an unnamed caption beside a slider
    Button,
    Box,  // a one-line text box
    CheckBox,
    Slider,      // horizontal, with the range low..high
    HScrollBar,  // with the range low..high
    VScrollBar,
    Log,  // the reception log
    InstrumentPanel,
    PlaybackPanel,
    ProgressBar,
    MapPicture,
    PictureClip,
    RadarCircle,  // `low` is its number 0..2
};

// The kinds that applyLayout places; every other control gets its row's place.
bool placedByLayout(Kind k) {
    return k == Kind::Log || k == Kind::InstrumentPanel || k == Kind::PlaybackPanel || k == Kind::MapPicture ||
           k == Kind::RadarCircle;
}

constexpr QRect kCornerBox(0, 0, design::kCornerBoxWidth, design::kCornerBoxHeight);

// The parent a control is placed in.
enum class Parent { Window, PlaybackPanel, MapPicture };

// Row flags.
enum : unsigned { ReadOnly = 1, NoFocus = 2, NoFrame = 4, Hidden = 8, BoldFont = 16 };

using Slot = std::variant<std::monostate, QLabel * C::*, QPushButton * C::*, QLineEdit * C::*, QCheckBox * C::*,
                          QSlider * C::*, QScrollBar * C::*, QPlainTextEdit * C::*, QFrame * C::*, QProgressBar * C::*,
                          InstrumentPanel * C::*, MapPicture * C::*>;

struct ControlRow {
    Kind kind;
    const char* name;  // the objectName; none for unnamed widgets
    Slot slot;         // the member of MainWindowControls it fills
    Parent parent = Parent::Window;
    QRect place{};  // empty: placed by the layout
    const char* text = nullptr;
    const char* tip = nullptr;
    int fontPixels = 0;  // 0: the kind's font
    int low = 0, high = 0;
    unsigned flags = 0;
};

// Every control, in the order they are made (which is their stacking and
// tab order, and the order of MainWindow::controls()). Buttons lie in three
// rows of three and the zoom row with the help button; the route playback
// panel's controls lie in Frame10, the corner boxes and radar circles in
// Picture1. Sizes and places that follow the screen come from applyLayout.
const ControlRow kControlTable[] = {
    {Kind::Status, "Label6", &C::status, Parent::Window, QRect(4, 4, 190, 24)},
    {Kind::Button, "Command2", &C::loadMap, Parent::Window, QRect(4, 32, 62, 26)},
    {Kind::Button, "Command13", &C::findMap, Parent::Window, QRect(68, 32, 62, 26)},
    {Kind::Button, "Command12", &C::buildMapDatabase, Parent::Window, QRect(132, 32, 62, 26)},
    {Kind::Button, "Command3", &C::goToPixel, Parent::Window, QRect(4, 60, 62, 26)},
    {Kind::Button, "Command4", &C::goToCoordinates, Parent::Window, QRect(68, 60, 62, 26)},
    {Kind::Button, "Command1", &C::routePlayback, Parent::Window, QRect(132, 60, 62, 26)},
    {Kind::Button, "Navig1", &C::navigate, Parent::Window, QRect(4, 88, 62, 26)},
    {Kind::Button, "SetupCommand", &C::setup, Parent::Window, QRect(68, 88, 62, 26)},
    {Kind::Button, "cmdQuit", &C::stop, Parent::Window, QRect(132, 88, 62, 26)},
    {Kind::Button, "Zoom0", &C::zoomFull, Parent::Window, QRect(4, 116, 46, 26)},
    {Kind::Button, "ZoomI", &C::zoomIn, Parent::Window, QRect(52, 116, 46, 26)},
    {Kind::Button, "ZoomU", &C::zoomOut, Parent::Window, QRect(100, 116, 46, 26)},
    {Kind::Button, "Command6", &C::help, Parent::Window, QRect(148, 116, 46, 26)},
    {Kind::Box, "Tijds", &C::time, Parent::Window, QRect(4, 146, 92, 22)},
    {Kind::Box, "Datum", &C::date, Parent::Window, QRect(98, 146, 96, 22)},
    {Kind::Box, "Speed", &C::speed, Parent::Window, QRect(4, 170, 52, 22)},
    {Kind::Box, "Smode", &C::speedUnit, Parent::Window, QRect(58, 170, 40, 22)},
    {Kind::Box, "Koers", &C::course, Parent::Window, QRect(100, 170, 50, 22)},
    {Kind::Box, "Windr", &C::compassDirection, Parent::Window, QRect(152, 170, 42, 22)},
    {Kind::Box, "NSText", &C::northSouth, Parent::Window, QRect(4, 194, 24, 22)},
    {Kind::Box, "Latid", &C::latitude, Parent::Window, QRect(30, 194, 164, 22)},
    {Kind::Box, "EWText", &C::eastWest, Parent::Window, QRect(4, 218, 24, 22)},
    {Kind::Box, "Longi", &C::longitude, Parent::Window, QRect(30, 218, 164, 22)},
    {Kind::Box, "Xtext", &C::pixelX, Parent::Window, QRect(4, 242, 70, 22)},
    {Kind::Box, "Ytext", &C::pixelY, Parent::Window, QRect(76, 242, 70, 22)},
    {Kind::Box, "Ztext", &C::zoomLevel, Parent::Window, QRect(148, 242, 46, 22), nullptr, nullptr, 11, 0, 0, BoldFont},
    // Text3 and Text4 hold no text; they are accent strips in the readout colour.
    {Kind::Box, "Text3", &C::accentLeft, Parent::Window, QRect(4, 268, 92, 6), nullptr, nullptr, 0, 0, 0,
     ReadOnly | NoFocus | NoFrame},
    {Kind::Box, "Text4", &C::accentRight, Parent::Window, QRect(98, 268, 96, 6), nullptr, nullptr, 0, 0, 0,
     ReadOnly | NoFocus | NoFrame},
    {Kind::CheckBox, "Check1", &C::movingMap, Parent::Window, QRect(4, 278, 116, 20), "Moving map"},
    {Kind::CheckBox, "Check2", &C::trail, Parent::Window, QRect(122, 278, 72, 20), "Trail"},
    {Kind::Caption, nullptr, {}, Parent::Window, QRect(4, 300, 44, 20), "CROSS"},
    {Kind::Caption, nullptr, {}, Parent::Window, QRect(4, 322, 44, 20), "THIN"},
    {Kind::Slider, "Slider3", &C::crossSize, Parent::Window, QRect(50, 300, 144, 20), nullptr, nullptr, 0, 0, 20},
    {Kind::Slider, "rou1", &C::thinning, Parent::Window, QRect(50, 322, 144, 20), nullptr, nullptr, 0, 0, 20},
    {Kind::Log, "Text1", &C::receiverLog},
    {Kind::InstrumentPanel, nullptr, &C::instrumentPanel},
    {Kind::PlaybackPanel, "Frame10", &C::playbackPanel},
    {Kind::Box, "Text7", &C::playbackStart, Parent::PlaybackPanel, QRect(4, 4, 182, 22), nullptr,
     "Start datum/tijd van routevertoning", 11},
    {Kind::HScrollBar, "HScroll1", &C::startHours, Parent::PlaybackPanel, QRect(4, 30, 182, 16), nullptr, nullptr, 0, 0,
     99},
    {Kind::HScrollBar, "HScroll2", &C::startMinutes, Parent::PlaybackPanel, QRect(4, 50, 182, 16), nullptr, nullptr, 0,
     0, 60},
    {Kind::Slider, "Slider1", &C::playbackSpeed, Parent::PlaybackPanel, QRect(4, 70, 182, 20), nullptr,
     "Route afspeelsnelheid (kwadratisch!)", 0, 0, 9},
    {Kind::ProgressBar, "ProgressBar1", &C::playbackProgress, Parent::PlaybackPanel, QRect(4, 94, 182, 16), nullptr,
     "Voortgang routevertoning"},
    {Kind::Button, "Play1", &C::play, Parent::PlaybackPanel, QRect(4, 114, 182, 30), "&PLAY",
     "Speel eerder verreden route af"},
    {Kind::MapPicture, nullptr, &C::mapPicture},
    {Kind::PictureClip, nullptr, {}},
    {Kind::RadarCircle, "Shape1", {}, Parent::MapPicture, {}, nullptr, nullptr, 0, 0},
    {Kind::RadarCircle, "Shape2", {}, Parent::MapPicture, {}, nullptr, nullptr, 0, 1},
    {Kind::RadarCircle, "Shape3", {}, Parent::MapPicture, {}, nullptr, nullptr, 0, 2},
    {Kind::Box, "TextLB", &C::upperLeftCorner, Parent::MapPicture, kCornerBox, nullptr, nullptr, 10, 0, 0, ReadOnly},
    {Kind::Box, "TextRB", &C::upperRightCorner, Parent::MapPicture, kCornerBox, nullptr, nullptr, 10, 0, 0, ReadOnly},
    {Kind::Box, "TextLO", &C::lowerLeftCorner, Parent::MapPicture, kCornerBox, nullptr, nullptr, 10, 0, 0, ReadOnly},
    {Kind::Box, "TextRO", &C::lowerRightCorner, Parent::MapPicture, kCornerBox, nullptr, nullptr, 10, 0, 0, ReadOnly},
    {Kind::HScrollBar, "HScroll3", &C::mapHScroll, Parent::Window, {}, nullptr, nullptr, 0, 0, 0, Hidden},
    {Kind::VScrollBar, "VScroll3", &C::mapVScroll, Parent::Window, {}, nullptr, nullptr, 0, 0, 0, Hidden},
    {Kind::Box, "Text8", &C::mapStatusLine, Parent::Window, {}, nullptr, nullptr, 12, 0, 0, ReadOnly},
};

void setColours(QWidget* w, QPalette::ColorRole groundRole, QColor ground, QPalette::ColorRole textRole, QColor text) {
    QPalette p = w->palette();
    p.setColor(groundRole, ground);
    p.setColor(textRole, text);
    w->setPalette(p);
}

}  // namespace

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

    C& c = widgets_;
    const QColor shapeColours[3] = {QColor(0, 150, 0), QColor(0, 110, 0), QColor(0, 70, 0)};
    for (const ControlRow& row : kControlTable) {
        QWidget* parent = row.parent == Parent::PlaybackPanel ? static_cast<QWidget*>(c.playbackPanel)
                          : row.parent == Parent::MapPicture  ? static_cast<QWidget*>(c.mapPicture)
                                                              : central;
        const QString text = row.text ? QString::fromLatin1(row.text) : QString();
        QObject* made = nullptr;
        switch (row.kind) {
        case Kind::Status: {
            auto* l = new QLabel(parent);
            l->setFont(monoFont(kStatusPixelSize, true));
            l->setAutoFillBackground(true);
            l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            setColours(l, QPalette::Window, kStatusBase, QPalette::WindowText, kStatusText);
            label6_ = l;
            made = l;
            break;
        }
        case Kind::Caption: {
            auto* l = new QLabel(text, parent);
            l->setFont(monoFont(10, true));
            made = l;
            break;
        }
        case Kind::Button: {
            auto* b = new QPushButton(text, parent);
            QFont f = b->font();
            f.setBold(true);
            f.setPixelSize(12);
            b->setFont(f);
            b->setFocusPolicy(Qt::StrongFocus);
            made = b;
            break;
        }
        case Kind::Box: {
            auto* e = new QLineEdit(parent);
            e->setFont(row.fontPixels ? monoFont(row.fontPixels, row.flags & BoldFont) : monoFont(13, true));
            e->setFrame(!(row.flags & NoFrame));
            e->setReadOnly(row.flags & ReadOnly);
            if (row.flags & NoFocus) e->setFocusPolicy(Qt::NoFocus);
            setColours(e, QPalette::Base, kBoxBase, QPalette::Text, kBoxText);
            made = e;
            break;
        }
        case Kind::CheckBox: made = new QCheckBox(text, parent); break;
        case Kind::Slider: {
            auto* s = new QSlider(Qt::Horizontal, parent);
            s->setRange(row.low, row.high);
            made = s;
            break;
        }
        case Kind::HScrollBar:
        case Kind::VScrollBar: {
            auto* s = new QScrollBar(row.kind == Kind::HScrollBar ? Qt::Horizontal : Qt::Vertical, parent);
            if (row.high > row.low) s->setRange(row.low, row.high);
            made = s;
            break;
        }
        case Kind::Log: {
            auto* t = new QPlainTextEdit(parent);
            t->setReadOnly(true);
            t->setFont(monoFont(10, false));
            setColours(t, QPalette::Base, kBoxBase, QPalette::Text, kBoxText);
            made = t;
            break;
        }
        case Kind::InstrumentPanel: made = picture2_ = new InstrumentPanel(parent); break;
        case Kind::PlaybackPanel: {
            auto* f = new QFrame(parent);
            f->setFrameStyle(QFrame::Panel | QFrame::Raised);
            f->setAutoFillBackground(true);
            made = frame10_ = f;
            break;
        }
        case Kind::ProgressBar: made = new QProgressBar(parent); break;
        case Kind::MapPicture: made = picture1_ = new MapPicture(parent); break;
        case Kind::PictureClip: made = picClip1_ = new PictureClip(this); break;
        case Kind::RadarCircle:
            made = shapes_[row.low] = c.radarCircles[row.low] =
                new RadarShape(shapeColours[row.low], row.low == 1 ? 2 : 1, parent);
            break;
        }
        std::visit(
            [&](auto member) {
                if constexpr (!std::is_same_v<decltype(member), std::monostate>)
                    c.*member = qobject_cast<std::remove_reference_t<decltype(c.*member)>>(made);
            },
            row.slot);
        if (auto* w = qobject_cast<QWidget*>(made)) {
            if (!placedByLayout(row.kind)) w->setGeometry(row.place);
            if (row.tip) w->setToolTip(QString::fromLatin1(row.tip));
            if (row.flags & Hidden) w->hide();
        }
        if (row.kind == Kind::Caption) continue;  // not one of the named controls
        if (row.name) made->setObjectName(QString::fromLatin1(row.name));
        controls_.push_back(made);
    }
    // The receiver's fix along the instrument panel's foot, under the dials.
    c.fixStatus = new QLabel(c.instrumentPanel);
    c.fixStatus->setObjectName(QStringLiteral("Label7"));
    c.fixStatus->setGeometry(2, InstrumentPanel::kDialsHeight, 186, kFixStatusHeight);
    c.fixStatus->setAlignment(Qt::AlignCenter);
    c.fixStatus->setFont(monoFont(11, true));
    setColours(c.fixStatus, QPalette::Window, kPanel, QPalette::WindowText, kReadoutText);
    controls_.push_back(c.fixStatus);
    c.trail->setChecked(state_.trailShown);
    controls_.push_back(sound_.get());

    // STOP and NAV stand out by colour; the readouts have their own colours.
    setColours(c.stop, QPalette::Button, QColor(150, 40, 36), QPalette::ButtonText, QColor(232, 236, 240));
    setColours(c.navigate, QPalette::Button, QColor(30, 110, 64), QPalette::ButtonText, QColor(232, 236, 240));
    for (QLineEdit* C::*readout : kReadouts)
        setColours(widgets_.*readout, QPalette::Base, kReadoutBase, QPalette::Text, kReadoutText);
    connect(c.northSouth, &QLineEdit::textChanged, this, [this] { upperCase(widgets_.northSouth); });
    connect(c.eastWest, &QLineEdit::textChanged, this, [this] { upperCase(widgets_.eastWest); });
    for (QLineEdit* corner : {c.upperLeftCorner, c.upperRightCorner, c.lowerLeftCorner, c.lowerRightCorner})
        connect(corner, &QLineEdit::textChanged, this, &MainWindow::fitCornerBoxes);

    // The zoom buttons run the map view's zoom operations; the other
    // buttons get their handlers from the map, gps, route and settings-launch
    // parts.
    connect(c.zoomIn, &QPushButton::clicked, this, [this] {
        if (map_) map_->zoomIn();
    });
    connect(c.zoomOut, &QPushButton::clicked, this, [this] {
        if (map_) map_->zoomOut();
    });
    connect(c.zoomFull, &QPushButton::clicked, this, [this] {
        if (map_) map_->zoomFull();
    });
    connect(c.stop, &QPushButton::clicked, this, &MainWindow::cmdQuitClick);
    connect(c.help, &QPushButton::clicked, this, &MainWindow::command6Click);
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
        auto* w = findChild<QWidget*>(QString::fromLatin1(t.name));
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
    // Smaller than at start is allowed down to what keeps the left column whole.
    const QSize least = minimumWindowSize(l);
    setMinimumSize(least.width(), least.height());
    resize(l.windowWidth, l.windowHeight);
    move(0, 0);
    placeControls(l);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    // Laid out again from the window's own size; the instrument panel stays
    // shown or hidden as the screen decided at start.
    if (layout_.windowWidth > 0 && size() != QSize(placed_.windowWidth, placed_.windowHeight))
        placeControls(windowLayoutForSize(width(), height(), layout_.picture2Visible));
}

QSize MainWindow::minimumWindowSize(const WindowLayout& l) {
    const WindowLayout least = smallestWindowLayout(l.picture2Visible);
    return {std::min(least.windowWidth, l.windowWidth), std::min(least.windowHeight, l.windowHeight)};
}

void MainWindow::placeControls(const WindowLayout& l) {
    placed_ = l;
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
    fitCornerBoxes();
    widgets_.mapStatusLine->setGeometry(p1.x, l.text8Top, p1.width, design::kText8Height);

    // The left column: the reception log fills what the instrument panel
    // leaves; the panel (or the route panel in its place) sits at the bottom.
    const int bottom = l.windowHeight - 4;
    const int panelHeight = design::kInstrumentPanelHeight;
    picture2_->setGeometry(4, bottom - panelHeight, 190, panelHeight);
    if (frame10_->isHidden()) picture2_->setVisible(l.picture2Visible);  // the route panel keeps its place
    frame10_->setGeometry(4, bottom - 150, 190, 150);
    int logBottom = l.picture2Visible ? bottom - panelHeight - 4 : bottom;
    widgets_.receiverLog->setGeometry(4, design::kLogTop, 190,
                                      std::max(design::kLogLeast, logBottom - design::kLogTop));
}

void MainWindow::fitCornerBoxes() {
    const int ch = design::kCornerBoxHeight;
    const int rightEdge = layout_.textRBLeft + design::kCornerBoxWidth;
    auto fit = [&](QLineEdit* e, bool right, int top) {
        // The line edit's text area: its frame and a 2-pixel margin a side.
        const int frame = e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, e);
        const QMargins m = e->textMargins();
        const int needed = e->fontMetrics().horizontalAdvance(e->text()) + 2 * frame + 4 + m.left() + m.right() + 1;
        const int width = std::max(design::kCornerBoxWidth, needed);
        e->setGeometry(right ? rightEdge - width : 0, top, width, ch);
        e->setCursorPosition(0);
    };
    fit(widgets_.upperLeftCorner, false, 0);
    fit(widgets_.upperRightCorner, true, 0);
    fit(widgets_.lowerLeftCorner, false, layout_.textLOTop);
    fit(widgets_.lowerRightCorner, true, layout_.textLOTop);
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

namespace {
// The box of each readout, in the order of Readout.
QLineEdit* C::*const kReadoutBoxes[] = {
    &C::time,       &C::date,     &C::speed,    &C::speedUnit, &C::course, &C::compassDirection,
    &C::northSouth, &C::latitude, &C::eastWest, &C::longitude, &C::pixelX, &C::pixelY};
}  // namespace

std::string MainWindow::readout(Readout box) const {
    return utf8ToCp1252((widgets_.*kReadoutBoxes[static_cast<int>(box)])->text().toStdString());
}

void MainWindow::setReadout(Readout box, const std::string& text) {
    QLineEdit* e = widgets_.*kReadoutBoxes[static_cast<int>(box)];
    const QString shown = fromCp1252(text);
    if (e->text() != shown) e->setText(shown);
}

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
    case KeyCommand::SoundSwitchedOff: yieldOnce(); break;
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
    case KeyCommand::Trail: widgets_.trail->setChecked(state_.trailShown); break;
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
    showInstrumentPanel();
    state_.currentSoundName = "Route2.WAV";
    sound_->playSound();
}

void MainWindow::showPlaybackPanel() {
    picture2_->hide();
    frame10_->show();
}

void MainWindow::showInstrumentPanel() {
    frame10_->hide();
    // The instrument panel comes back, except on a screen too narrow for it.
    picture2_->setVisible(layout_.picture2Visible);
}

void MainWindow::bringToFront() {
    if (!isActiveWindow()) raise();
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
    // Where that cannot be done the user is told where the guide is.
    const std::string guide = state_.programFolder() + "\\USERNav4.HTM";
    const std::string native = paths_.toNative(guide).string();
    const bool missing = !paths_.exists(guide);
    if (!missing && dialogs_.openDocument(native)) return;
    dialogs_.critical(joinMessageLines(userGuideNotShownLines(state_.language(), missing, utf8ToCp1252(native))));
}

// -------------------------------------------------------------------- SETUP

void MainWindow::attachSettingsLaunch(SettingsLaunch& launch) {
    launch.setCalls({[this] { return languageOf(state_.settings.language); },
                     [this](const std::string& text) { setStatus(text); },
                     [this] {
                         state_.currentSoundName = "Instel1.WAV";
                         sound_->playSound();
                     },
                     [this] { reloadSettings(); }, [this](const std::string& text) { dialogs_.critical(text); }});
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
