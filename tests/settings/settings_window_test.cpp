// Form1 offscreen: its start from the settings file, its pages, captions,
// clock and option controls, its end that saves, and the COM port page.
#include "settings/settings_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSlider>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "common/text.h"
#include "platform/com_port.h"
#include "platform/media_control.h"
#include "settings/form_logic.h"
#include "tests/navigator/gps/gpsd_process.h"
#include "tests/navigator/gps/pty.h"
#include "tests/support/full_disk.h"
#include "tests/support/gpsd_ready.h"
#include "tests/support/memory_presence.h"
#include "tests/support/readouts.h"
#include "tests/support/real_audio.h"
#include "tests/support/recording_dialogs.h"
#include "tests/support/scripted_sound_device.h"
#include "tests/support/temp_prefix.h"
#include "tests/support/wait_for.h"
#include "tests/support/wav_bytes.h"

namespace tarvok::settings {
namespace {

namespace fs = std::filesystem;
using test::waitFor;

constexpr const char* kFileC = "C:\\WINDOWS\\VELKAR.DLL";
constexpr const char* kFileD = "D:\\WINDOWS\\VELKAR.DLL";

// A settings file in which every reserved position holds a letter, so a
// write that strays beyond its field shows.
std::string fileWith(std::initializer_list<std::pair<field::Field, const char*>> fields) {
    SettingsString s = SettingsString::settingsProgramTemplate();
    std::string bytes = s.bytes();
    SettingsString marked(bytes);
    for (std::size_t i = 0; i < bytes.size(); ++i) marked.writeRaw(int(i) + 1, 1, std::string(1, char('a' + i % 26)));
    for (const OptionButton& b : optionButtons()) marked.writeRaw(b.field.pos, b.field.width, s.read(b.field));
    for (auto f : {field::MapDatum,    field::PlaybackSpeed,    field::BaudRate,          field::Parity,
                   field::DataBits,    field::GpsPort,          field::SpeechSpeed,       field::CorrectionX,
                   field::CorrectionY, field::CrossSize,        field::ReportInterval,    field::PlaceNameCount,
                   field::SpeakSpeed,  field::SpeakCourse,      field::SpeakPosition,     field::SpeakWarnings,
                   field::SpeakUnit,   field::SpeakDegreesWord, field::SpeakPositionWord, field::SpeakCompass,
                   field::WhereAmI,    field::NearestDirection, field::NearestDistance,   field::ShowXY})
        marked.writeRaw(f.pos, f.width, s.read(f));
    for (auto [f, text] : fields) marked.writeRaw(f.pos, f.width, text);
    return marked.bytes();
}

class SettingsWindowTest : public ::testing::Test {
protected:
    test::TempPrefix tp;
    test::RecordingDialogs dialogs;
    test::PresenceRegistry registry;
    test::MemoryPresence presence{registry};
    std::unique_ptr<SettingsWindow> w;
    QDateTime now{QDate(2001, 12, 7), QTime(9, 5, 7)};

    void SetUp() override { fs::create_directories(tp.prefix() / "drive_c" / "WINDOWS"); }

    test::ScriptedSoundDevice* device = nullptr;  // when the window plays on one
    bool created_ = false;

    void TearDown() override { MediaControl::setPassDuration(std::chrono::microseconds(40)); }

    // The window on `sound`, by default a device whose every prompt ends at
    // once; not loaded yet.
    SettingsWindow& create(std::unique_ptr<SoundDevice> sound = nullptr) {
        if (!sound) {
            auto scripted = std::make_unique<test::ScriptedSoundDevice>();
            scripted->completeOnPlay = true;
            device = scripted.get();
            sound = std::move(scripted);
        }
        w = std::make_unique<SettingsWindow>(tp.paths(), dialogs, &presence, nullptr, std::move(sound));
        w->setClock([this] { return now; });
        w->setDeviceRoots(tp.root() / "dev", tp.root() / "sys");
        w->setGpsdPort(1);  // nothing answers there
        created_ = true;
        return *w;
    }
    // Loads the window (a new one unless create() just made it) and lets
    // its greeting end.
    SettingsWindow& open(QSize screen = QSize(1024, 768)) {
        if (!created_) create();
        created_ = false;
        w->setScreenSizeSource([screen] { return screen; });
        w->formLoad();
        EXPECT_TRUE(waitFor([&] { return !w->startingUp(); }));
        return *w;
    }
    // Writes the settings file on C: with `fields` set, then opens the window.
    SettingsWindow& openWith(std::initializer_list<std::pair<field::Field, const char*>> fields) {
        tp.writeDos(kFileC, fileWith(fields));
        return open();
    }
    template <class T = QWidget>
    T* c(const char* name) {
        T* found = w->control<T>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    std::string text(const char* box) { return utf8ToCp1252(c<QLineEdit>(box)->text().toStdString()); }
    void click(const char* button) { c<QAbstractButton>(button)->click(); }
    // The sound files started since the last look.
    std::vector<std::string> started() { return w->sound().takeStartedSounds(); }
    // Clicks `button` with prompts that end only when told (or at their
    // bound) and runs `meanwhile` 20 ms into the first prompt's wait;
    // returns how long the click took.
    long long clickWhilePrompting(const char* button, std::function<void()> meanwhile) {
        device->completeOnPlay = false;
        QTimer::singleShot(20, w.get(), std::move(meanwhile));
        QElapsedTimer t;
        t.start();
        click(button);
        return t.elapsed();
    }
    // Closes the window by its close box and waits for the unload.
    void closeWindow() {
        QSignalSpy unloaded(w.get(), &SettingsWindow::unloaded);
        w->close();
        EXPECT_EQ(unloaded.count(), 1);
    }
};

TEST_F(SettingsWindowTest, NoSettingsFileShowsTheMessageOpensAndCreatesTheFileOnC) {
    open();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0], joinMessageLines(filesNotFoundLines()));
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->drive(), 'C');
    // The built-in values are English.
    EXPECT_EQ(w->windowTitle().toStdString(), "TARVOK - SETTINGS");
    EXPECT_TRUE(presence.isOpen("TARVOK - SETTINGS"));
    closeWindow();
    EXPECT_FALSE(presence.isOpen("TARVOK - SETTINGS"));
    std::string written = tp.readDos(kFileC);
    EXPECT_EQ(written.size(), 145u);
    EXPECT_EQ(written, SettingsString::settingsProgramTemplate().bytes());
    EXPECT_FALSE(tp.paths().exists(kFileD));
}

TEST_F(SettingsWindowTest, AMissingPrefixIsMadeFirstAndOpensWithoutMessage) {
    fs::remove_all(tp.prefix());
    ASSERT_TRUE(provisionForSettings(tp.paths(), dialogs));
    EXPECT_EQ(tp.readDos(kFileC), SettingsString::settingsProgramTemplate().bytes());
    open();
    EXPECT_TRUE(dialogs.messages.empty());
    closeWindow();
    EXPECT_EQ(tp.readDos(kFileC).size(), 145u);
}

TEST_F(SettingsWindowTest, SpeedUnitKmhToKnotsChangesOnlyByte10) {
    const std::string before = fileWith({{field::SpeedUnit, "1"}, {field::Language, "0"}});
    tp.writeDos(kFileC, before);
    open();
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(text("SnText"), " kmh");
    click("Scomm1");
    click("Scomm1");
    EXPECT_EQ(text("SnText"), " kts");
    closeWindow();
    std::string after = tp.readDos(kFileC);
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i) EXPECT_EQ(after[i], i == 9 ? '3' : before[i]) << "byte " << i + 1;
}

TEST_F(SettingsWindowTest, AFileOnDOnlyIsReadAndWrittenBackOnD) {
    tp.writeDos(kFileD, fileWith({{field::Language, "0"}, {field::GpsPort, "2"}}));
    open();
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(w->drive(), 'D');
    EXPECT_EQ(text("CText1"), "COM-2");
    click("Command5");
    closeWindow();
    EXPECT_EQ(tp.readDos(kFileD).substr(39, 1), "3");
    EXPECT_FALSE(tp.paths().exists(kFileC));
}

TEST_F(SettingsWindowTest, AnyBytesOpenAndAreWrittenBackUnchanged) {
    // Every byte value somewhere in the options, the hour offset not numeric.
    std::string bytes(145, ' ');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = char((i * 37 + 11) % 256);
    bytes[9] = '7';  // a speed unit code that is not listed
    tp.writeDos(kFileC, bytes);
    open();
    EXPECT_EQ(text("SnText"), "");
    EXPECT_EQ(text("GMText").substr(0, 1), "+");
    for (int page = 1; page <= kPages; ++page) w->pageButtonClick(page);
    closeWindow();
    EXPECT_EQ(tp.readDos(kFileC), bytes);
}

TEST_F(SettingsWindowTest, EscapeStopAndCloseBoxAllSave) {
    const char* ways[] = {"escape", "stop", "closebox"};
    for (int page = 1; page <= kPages; ++page)
        for (const char* way : ways) {
            openWith({{field::MenuStyle, "1"}, {field::Language, "0"}});
            w->pageButtonClick(page);
            w->optionButtonClick(*optionButton("Menu1"));
            QSignalSpy unloaded(w.get(), &SettingsWindow::unloaded);
            if (std::string_view(way) == "escape") QTest::keyClick(w.get(), Qt::Key_Escape);
            else if (std::string_view(way) == "stop") click("Command6");
            else w->close();
            EXPECT_EQ(unloaded.count(), 1) << way << " on page " << page;
            EXPECT_TRUE(w->stopFlag());
            EXPECT_FALSE(w->isVisible());
            EXPECT_EQ(tp.readDos(kFileC).substr(31, 1), "2") << way << " on page " << page;
        }
}

TEST_F(SettingsWindowTest, FailedSaveIsToldInTheWindowsLanguageAndTheOldFileStays) {
    const std::string old = fileWith({{field::Language, "0"}});
    tp.writeDos(kFileC, old);
    open();
    click("Scomm1");
    test::FullDisk full;
    closeWindow();
    full.lift();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].find("NIET opgeslagen"), std::string::npos) << dialogs.messages[0];
    EXPECT_NE(dialogs.messages[0].find(kFileC), std::string::npos);
    EXPECT_EQ(tp.readDos(kFileC), old);
}

TEST_F(SettingsWindowTest, AnUnreadableFileIsToldAndNotReplaced) {
    // A file whose first byte cannot be read, for root as well.
    fs::path file = tp.paths().toNative(kFileC);
    fs::create_symlink("/proc/self/mem", file);
    open();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].find("niet leesbaar"), std::string::npos) << dialogs.messages[0];
    click("Scomm1");
    closeWindow();
    EXPECT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(fs::is_symlink(file));
    EXPECT_EQ(fs::read_symlink(file), "/proc/self/mem");
}

TEST_F(SettingsWindowTest, PlacedAtTheTopLeftOnTopWithTheContentPanelCentred) {
    for (auto [screen, panel] : {std::pair{QSize(1024, 768), QPoint(192, 124)},
                                 {QSize(640, 480), QPoint(0, 0)},
                                 {QSize(1920, 1080), QPoint(640, 280)}}) {
        tp.writeDos(kFileC, fileWith({}));
        open(screen);
        EXPECT_EQ(w->pos(), QPoint(0, 0));
        EXPECT_EQ(w->size(), QSize(screen.width(), screen.height() - 25));
        EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint);
        EXPECT_TRUE(w->testAttribute(Qt::WA_ShowWithoutActivating));
        EXPECT_EQ(c("Frame100")->geometry(), QRect(panel, QSize(640, 480)));
        closeWindow();
    }
}

TEST_F(SettingsWindowTest, CaptionsInBothLanguagesAndTheLanguageSwitch) {
    openWith({{field::Language, "1"},
              {field::SoundOn, "0"},
              {field::MenuStyle, "2"},
              {field::KeyboardSize, "2"},
              {field::ColourScheme, "1"},
              {field::AutoMapSearch, "1"},
              {field::CloseWindows, "0"}});
    auto captionOf = [&](const char* name) {
        QWidget* x = c(name);
        if (auto* b = qobject_cast<QAbstractButton*>(x)) return utf8ToCp1252(b->text().toStdString());
        return utf8ToCp1252(qobject_cast<QLabel*>(x)->text().toStdString());
    };
    auto checkCaptions = [&](Language l) {
        for (const Caption& cap : languageCaptions())
            EXPECT_EQ(captionOf(cap.control), inLanguage(l, cap.dutch, cap.english)) << cap.control;
        for (const CheckBox& cb : checkBoxes()) EXPECT_EQ(captionOf(cb.name), inLanguage(l, cb.dutch, cb.english));
        for (int t = 1; t <= kPages; ++t)
            EXPECT_EQ(c<QTabBar>("TabStrip1")->tabText(t - 1).toStdString(), tabText(t, l));
        for (const auto& [name, caption] : fixedCaptions()) EXPECT_EQ(captionOf(name), caption);
        EXPECT_EQ(captionOf("SNDCheck5"), "\"kmh...\"");
        EXPECT_EQ(w->windowTitle().toStdString(), windowTitle(l));
    };
    checkCaptions(Language::English);
    EXPECT_TRUE(presence.isOpen("TARVOK - SETTINGS"));
    const char* displays[] = {"Ttaal1", "SNDText1", "MText", "Toetsje", "zw1", "Tzoek1", "AWText"};
    std::vector<std::string> english;
    for (const char* d : displays) english.push_back(text(d));
    EXPECT_EQ(english, (std::vector<std::string>{"English", "OFF", "HIGH", "LARGE", "B&W", "ON", " OFF"}));

    click("Command4");
    checkCaptions(Language::Dutch);
    std::vector<std::string> dutch;
    for (const char* d : displays) dutch.push_back(text(d));
    EXPECT_EQ(dutch, (std::vector<std::string>{"NL", "UIT", "HOOG", "GROOT", "Z/W", "AAN", " UIT"}));
    EXPECT_EQ(presence.announced(), "TARVOK - INSTELLINGEN");
    EXPECT_TRUE(presence.isOpen("TARVOK - INSTELLINGEN"));
    EXPECT_FALSE(presence.isOpen("TARVOK - SETTINGS"));
    closeWindow();
    EXPECT_EQ(tp.readDos(kFileC).substr(4, 1), "0");
}

TEST_F(SettingsWindowTest, PagesByButtonTabAndTheirAltKey) {
    openWith({{field::Language, "0"}});
    EXPECT_EQ(w->pageCode(), 0);
    EXPECT_TRUE(c("Frame1")->isVisible());
    QSignalSpy spoken(w.get(), &SettingsWindow::speakRequested);
    for (int page = 1; page <= kPages; ++page) {
        w->pageButtonClick(page);
        EXPECT_EQ(w->pageCode(), 100 * page);
        for (int p = 1; p <= kPages; ++p)
            EXPECT_EQ(c(pageFrame(p).c_str())->isVisible(), p == page) << page << "/" << p;
        EXPECT_EQ(c(pageFrame(page).c_str())->pos(), QPoint(144, 147));
        // The Alt+letter keystroke reaches the window and selects the tab.
        ASSERT_TRUE(waitFor([&] { return c<QTabBar>("TabStrip1")->currentIndex() == page - 1; }, 2000)) << page;
    }
    EXPECT_EQ(spoken.count(), 0);  // explanations not asked for
    c<QCheckBox>("Check1")->setChecked(true);
    w->pageButtonClick(5);
    ASSERT_EQ(spoken.count(), 1);
    EXPECT_EQ(spoken[0][0].value<std::vector<std::string>>(),
              explanationPrompts(Explanation::MiscPage, w->settingsString()));
    // A real Alt+P at the window selects the ports tab, which shows its page.
    QTest::keyClick(w.get(), Qt::Key_P, Qt::AltModifier);
    EXPECT_EQ(c<QTabBar>("TabStrip1")->currentIndex(), 1);
    EXPECT_EQ(w->pageCode(), 200);
    EXPECT_TRUE(c("Frame2")->isVisible());
    c<QTabBar>("TabStrip1")->setCurrentIndex(3);
    EXPECT_EQ(w->pageCode(), 400);
    EXPECT_TRUE(c("Frame4")->isVisible());
    closeWindow();
}

TEST_F(SettingsWindowTest, MapsPageSubPanelByMapProduct) {
    for (const char* product : {"1", "2", "3", "4", "5", "6", "7"}) {
        openWith({{field::MapProduct, product}});
        w->pageButtonClick(3);
        bool first = std::string_view(product) <= "2";
        EXPECT_EQ(c("Frame31")->isVisible(), first) << product;
        EXPECT_EQ(c("Frame32")->isVisible(), !first) << product;
        // Changing the product re-picks only when the page is shown again
        // (after the page button's own keystroke has been handled).
        ASSERT_TRUE(waitFor([&] { return c<QTabBar>("TabStrip1")->currentIndex() == 2; }, 2000));
        click("KCommand1");
        EXPECT_EQ(c("Frame31")->isVisible(), first) << product;
        closeWindow();
    }
}

TEST_F(SettingsWindowTest, ClockTextsAndWhiteInBlackAndWhite) {
    openWith({{field::ColourScheme, "0"}});
    test::expectReadouts(*w, {{"Klokje", " 09:05:07"}, {"Dagje", " 07-12-2001"}});
    EXPECT_EQ(c<QLineEdit>("Klokje")->palette().color(QPalette::Text), QColor(0, 255, 255));
    EXPECT_EQ(c<QLineEdit>("SnText")->palette().color(QPalette::Text), QColor(0, 255, 0));
    EXPECT_EQ(c<QLineEdit>("AWText")->palette().color(QPalette::Text), QColor(255, 255, 0));
    click("Command9");
    now = now.addSecs(3600);
    w->timer1Timer();
    EXPECT_EQ(text("Klokje"), " 10:05:07");
    for (const char* box : {"Klokje", "Dagje", "SnText", "AWText"})
        EXPECT_EQ(c<QLineEdit>(box)->palette().color(QPalette::Text), QColor(255, 255, 255)) << box;
    // The one-second timer runs the clock by itself.
    now = QDateTime(QDate(2024, 2, 29), QTime(23, 59, 58));
    EXPECT_TRUE(waitFor([&] { return text("Klokje") == " 23:59:58"; }, 10000));
    EXPECT_EQ(text("Dagje"), " 29-02-2024");
    closeWindow();
}

TEST_F(SettingsWindowTest, OptionButtonsSpeakOnlyWhenAskedAndStoreAtOnce) {
    openWith({{field::MapProduct, "7"}, {field::HourOffset, "23"}, {field::Language, "0"}});
    QSignalSpy spoken(w.get(), &SettingsWindow::speakRequested);
    for (const OptionButton& b : optionButtons())
        if (std::string_view(b.button) != "Command4") click(b.button);
    EXPECT_EQ(spoken.count(), 0);
    test::expectReadouts(*w, {{"CDtext1", " 1:   EASY-TRAVEL"}, {"GMText", "+0"}});
    EXPECT_EQ(w->settingsString().read(field::HourOffset), "0 ");
    c<QCheckBox>("Check1")->setChecked(true);
    click("Scomm1");
    ASSERT_EQ(spoken.count(), 1);
    EXPECT_EQ(spoken[0][0].value<std::vector<std::string>>(),
              explanationPrompts(Explanation::SpeedUnit, w->settingsString()));
    click("Command10");  // a button without a prompt
    click("COMM_GMT");
    EXPECT_EQ(spoken.count(), 1);
    // Clock speech asks regardless of Check1.
    c<QCheckBox>("Check1")->setChecked(false);
    click("Command11");
    click("Command12");
    ASSERT_EQ(spoken.count(), 3);
    EXPECT_EQ(spoken[1][0].value<std::vector<std::string>>(), timeSpeech(9, 5, 7));
    EXPECT_EQ(spoken[2][0].value<std::vector<std::string>>(), dateSpeech(7, 12, 2001));
    closeWindow();
}

TEST_F(SettingsWindowTest, CheckBoxesSlidersAndScreenCorrection) {
    openWith({{field::CorrectionX, "-15  "},
              {field::CorrectionY, "35   "},
              {field::SpeakCourse, "0"},
              {field::ReportInterval, "04"},
              {field::PlaybackSpeed, "9"}});
    EXPECT_EQ(std::pair(c<QScrollBar>("HScroll1")->value(), c<QScrollBar>("VScroll1")->value()), std::pair(185, 165));
    test::expectReadouts(*w, {{"Xwaarde", " -15"}, {"Ywaarde", " 35"}});
    EXPECT_EQ(std::tuple(c<QSlider>("Slider3")->value(), c<QSlider>("Slider1")->value(),
                         c<QSlider>("Slider1")->maximum(), c<QSlider>("Slider2")->maximum()),
              std::tuple(4, 9, 9, 9));

    struct Row {
        std::function<void()> act;
        field::Field f;
        const char* stored;
    } rows[] = {
        {[&] { click("SNDCheck2"); }, field::SpeakCourse, "1"},
        {[&] { click("SNDCheck2"); }, field::SpeakCourse, "0"},
        {[&] { c<QSlider>("Slider3")->setValue(7); }, field::ReportInterval, "07"},
        {[&] { c<QSlider>("Slider1")->setValue(3); }, field::PlaybackSpeed, "3"},
        {[&] { c<QScrollBar>("HScroll1")->setValue(400); }, field::CorrectionX, "200  "},
        {[&] { c<QScrollBar>("VScroll1")->setValue(0); }, field::CorrectionY, "200  "},
        {[&] { c<QScrollBar>("HScroll1")->setValue(185); }, field::CorrectionX, "-15  "},
    };
    for (const Row& r : rows) {
        r.act();
        EXPECT_EQ(w->settingsString().read(r.f), r.stored) << "position " << r.f.pos;
    }
    EXPECT_EQ(text("Xwaarde"), " -15");
    // The preview's cross sits at HScroll1 x 3.06 and VScroll1 x 2.8 twips.
    QImage shot = c("Picture1")->grab().toImage();
    EXPECT_EQ(shot.pixelColor(int(std::lround(185 * 3.06 / 15)), 0), QColor(200, 0, 0));
    closeWindow();
}

TEST_F(SettingsWindowTest, PortButtonsWorkOnTheirBoxes) {
    openWith({{field::BaudRate, "33600"}, {field::Parity, " "}, {field::DataBits, "8"}});
    EXPECT_EQ(text("BText1"), "33600");
    // Each click, the box it shows in and the field it stores.
    struct Row {
        const char* button;
        const char* box;
        const char* shown;
        field::Field f;
        const char* stored;
    } rows[] = {
        {"Rate1", "BText1", "300", field::BaudRate, "300  "}, {"Par1", "Ptext1", "0", field::Parity, "0"},
        {"Par1", "Ptext1", "1", field::Parity, "1"},          {"Bit1", "Ntext1", "4", field::DataBits, "4"},
        {"Rate1", "BText1", "600", field::BaudRate, "600  "}, {"Command3", "BText1", "4800", field::BaudRate, "4800 "},
    };
    for (const Row& r : rows) {
        click(r.button);
        EXPECT_EQ(text(r.box), r.shown) << r.button;
        EXPECT_EQ(w->settingsString().read(r.f), r.stored) << r.button;
    }
    EXPECT_EQ(w->settingsString().read(field::GpsPort), "1");
    test::expectReadouts(*w, {{"BText1", "4800"}, {"Ptext1", "1"}, {"Ntext1", "8"}, {"CText1", "COM-1"}});
    QSignalSpy spoken(w.get(), &SettingsWindow::speakRequested);
    c<QCheckBox>("Check1")->setChecked(true);
    click("Command3");
    click("Rate1");
    ASSERT_EQ(spoken.count(), 2);
    EXPECT_EQ(spoken[0][0].value<std::vector<std::string>>()[1], "IN4800.WAV");
    EXPECT_EQ(spoken[1][0].value<std::vector<std::string>>(), std::vector<std::string>{"IN9600.WAV"});
    closeWindow();
}

TEST_F(SettingsWindowTest, PortsPageShowsWhereTheComPortLeadsAndAttachesIt) {
    // Two receivers on a pty each: one seen as a USB serial device, one
    // served by a real gpsd.
    test::Pty usb, served;
    ASSERT_TRUE(usb.ok() && served.ok());
    fs::create_directories(tp.root() / "dev" / "serial" / "by-id");
    fs::create_symlink(usb.slaveName(), tp.root() / "dev" / "ttyUSB0");
    fs::create_symlink("../../ttyUSB0", tp.root() / "dev" / "serial" / "by-id" / "usb-GPS_Receiver-if00");
    tp.writeDos(kFileC, fileWith({{field::Language, "1"}, {field::GpsPort, "2"}}));
    test::GpsdProcess gpsd(served.slaveName());
    ASSERT_TRUE(gpsd.started());
    ASSERT_TRUE(test::gpsdAnswers(gpsd.port()));
    w = std::make_unique<SettingsWindow>(tp.paths(), dialogs, &presence);
    w->setScreenSizeSource([] { return QSize(1024, 768); });
    w->setDeviceRoots(tp.root() / "dev", tp.root() / "sys");
    w->setGpsdPort(gpsd.port());
    w->formLoad();
    EXPECT_EQ(text("ComLink1"), "COM2: /dev/ttyS1");
    w->pageButtonClick(2);
    auto* list = c<QComboBox>("PortList1");
    const std::string gpsdText = "gpsd://localhost:" + std::to_string(gpsd.port());
    ASSERT_TRUE(waitFor([&] { return list->count() == 3; }, 5000)) << list->count();
    EXPECT_EQ(list->itemText(0).toStdString(), (tp.root() / "dev/serial/by-id/usb-GPS_Receiver-if00").string());
    EXPECT_EQ(list->itemText(1).toStdString(), (tp.root() / "dev/ttyUSB0").string());
    EXPECT_EQ(list->itemText(2).toStdString(), gpsdText);

    list->setCurrentIndex(0);
    click("Attach1");
    PortTarget t = resolveComPort(tp.prefix(), 2);
    EXPECT_EQ(t.kind, PortTarget::Kind::Serial);
    EXPECT_EQ(t.device, fs::canonical(usb.slaveName()).string());
    EXPECT_EQ(text("ComLink1"), "COM2: " + t.device);
    EXPECT_NE(c<QLabel>("PortInfo1")->text().toStdString().find("attached"), std::string::npos);

    list->setCurrentIndex(2);
    click("Attach1");
    t = resolveComPort(tp.prefix(), 2);
    EXPECT_EQ(t.kind, PortTarget::Kind::Gpsd);
    EXPECT_EQ(t.port, gpsd.port());
    EXPECT_EQ(text("ComLink1"), "COM2: " + gpsdText);
    closeWindow();
}

TEST_F(SettingsWindowTest, PortsPageSaysWhenNothingIsFound) {
    openWith({{field::Language, "0"}});
    w->pageButtonClick(2);
    ASSERT_TRUE(
        waitFor([&] { return c<QLabel>("PortInfo1")->text().toStdString() == nothingFoundText(Language::Dutch); }));
    EXPECT_FALSE(c("Attach1")->isEnabled());
    closeWindow();
}

// ---------------------------------------------------------------- prompts

constexpr const char* kDutchSounds = "C:\\TARVOK\\GELUID\\";
constexpr const char* kEnglishSounds = "C:\\TARVOK\\SOUND\\";

// The prompt files as DOS paths in a sound folder.
std::vector<std::string> in(const std::string& folder, std::vector<std::string> names) {
    for (std::string& n : names) n = folder + n;
    return names;
}

std::vector<int> codesOf(const QSignalSpy& notices) {
    std::vector<int> codes;
    for (const QList<QVariant>& n : notices) codes.push_back(n.at(0).toInt());
    return codes;
}

TEST_F(SettingsWindowTest, GreetingAndSpeedButtonPlayFromTheFolderOfTheLanguage) {
    for (auto [language, folder] : {std::pair{"0", kDutchSounds}, {"1", kEnglishSounds}}) {
        openWith({{field::Language, language}, {field::SpeedUnit, "3"}, {field::MapProduct, "3"}});
        // The greeting, then the start of voice commands, with no recogniser running.
        EXPECT_EQ(started(), in(folder, {"INstart1.WAV", "INcdrom0.WAV", "INcdrom3.WAV", "INfout5.WAV"})) << language;
        click("Scomm1");  // to "1"; explanations not asked for
        c<QCheckBox>("Check1")->setChecked(true);
        for (int i = 0; i < 3; ++i) click("Scomm1");
        EXPECT_EQ(started(), in(folder, {"INsnel2.WAV", "INsnel3.WAV", "INsnel1.WAV"})) << language;
        closeWindow();
    }
}

TEST_F(SettingsWindowTest, ButtonsStartTheirPromptFilesInOrder) {
    tp.writeDos(kFileC, fileWith({{field::Language, "0"},
                                  {field::SpeedUnit, "2"},
                                  {field::CloseWindows, "1"},
                                  {field::CorrectionX, "-15  "},
                                  {field::CorrectionY, "0    "},
                                  {field::KeyboardSize, "2"},
                                  {field::MenuStyle, "3"},
                                  {field::ColourScheme, "0"}}));
    now = QDateTime(QDate(2001, 12, 7), QTime(9, 5, 41));
    open();
    started();
    struct Row {
        bool check1;
        const char* button;
        std::vector<std::string> prompts;
    } rows[] = {
        {false, "Command11", {"Hetis2.WAV", "09.WAV", "Uur1.WAV", "05.WAV", "Minuten.WAV"}},
        {false, "Command12", {"Hetis1.WAV", "07.WAV", "December.WAV", "20.WAV", "01.WAV"}},
        {false, "Mtoets1", {}},
        {false, "Command3", {}},
        {true,
         "Mtoets1",
         {"INsnel2.WAV", "INtaal1.WAV", "INslot2.WAV", "INXcorr.WAV", "INmin2.WAV", "15.WAV", "INmeter.WAV",
          "INYcorr.WAV", "0.WAV", "INmeter.WAV"}},
        {true, "Mtoets5", {"INkeyb1.WAV", "INmenu3.WAV", "INkleur1.WAV"}},
        {true,
         "Command3",
         {"INpoort.WAV", "IN4800.WAV", "INparit1.WAV", "1.WAV", "INbits1.WAV", "8.WAV", "INcompo.WAV", "INCOM-1.WAV"}},
        {true, "Command9", {"INkleur0.WAV"}},
    };
    for (const Row& r : rows) {
        c<QCheckBox>("Check1")->setChecked(r.check1);
        click(r.button);
        EXPECT_EQ(started(), in(kDutchSounds, r.prompts)) << r.button << " " << r.check1;
    }
    closeWindow();
}

TEST_F(SettingsWindowTest, SoundSwitchOffStartsNothingAtAll) {
    openWith({{field::SoundOn, "0"}});
    c<QCheckBox>("Check1")->setChecked(true);
    for (int page = 1; page <= kPages; ++page) w->pageButtonClick(page);
    for (const char* button : {"Scomm1", "Command2", "Command3", "Rate1", "Command11", "Command12"}) click(button);
    EXPECT_TRUE(started().empty());
    EXPECT_TRUE(device->calls.empty()) << device->calls.front();
    closeWindow();
}

TEST_F(SettingsWindowTest, AClickDuringAPromptCutsItOffAndTheRestOfItsListIsDropped) {
    openWith({{field::Language, "0"}, {field::SpeedUnit, "1"}});
    started();
    c<QCheckBox>("Check1")->setChecked(true);
    // A 4.8-second bound per prompt: the first wait ends with the code the
    // second prompt's end sets.
    const long long ms = clickWhilePrompting("Mtoets1", [&] {
        EXPECT_EQ(w->pageCode(), 100);
        QTimer::singleShot(20, w.get(), [&] { device->notify(SoundDevice::Successful); });
        click("Scomm1");
    });
    EXPECT_LT(ms, 2000);
    EXPECT_EQ(started(), in(kDutchSounds, {"INsnel1.WAV", "INsnel2.WAV"}));
    EXPECT_EQ(w->currentPrompt(), "INsnel2.WAV");
    EXPECT_EQ(w->settingsString().read(field::SpeedUnit), "2");
    closeWindow();
}

TEST_F(SettingsWindowTest, ClosingDuringAPromptSavesAndEndsAtOnce) {
    openWith({{field::Language, "1"}, {field::SpeedUnit, "1"}});
    started();
    click("Scomm1");
    c<QCheckBox>("Check1")->setChecked(true);
    QSignalSpy unloaded(w.get(), &SettingsWindow::unloaded);
    const long long ms = clickWhilePrompting("Mtoets1", [&] { w->close(); });
    EXPECT_LT(ms, 2000);
    EXPECT_EQ(unloaded.count(), 1);
    EXPECT_EQ(tp.readDos(kFileC).substr(9, 1), "2");
    EXPECT_EQ(started(), in(kEnglishSounds, {"INsnel2.WAV"}));
}

TEST_F(SettingsWindowTest, AMissingPromptHoldsTheWindowOnlyForItsBoundAndTheNextOnePlays) {
    MediaControl::setPassDuration(std::chrono::microseconds(5));  // 120,000 checks: 0.6 s
    tp.writeDos(kFileC, fileWith({{field::Language, "0"}, {field::MapProduct, "3"}}));
    for (const char* name : {"INcdrom0.WAV", "INcdrom3.WAV", "INfout5.WAV"})
        tp.writeDos(std::string(kDutchSounds) + name, test::wavBytes(50));
    create(std::make_unique<SilentSoundDevice>());
    QSignalSpy notices(&w->sound(), &MediaControl::notified);
    // Start-up has returned and the window is shown and usable while
    // "INstart1.WAV" is waited for.
    QTimer::singleShot(150, w.get(), [&] {
        EXPECT_TRUE(w->startingUp() && w->isVisible());
        click("Mtoets2");
    });
    QElapsedTimer t;
    t.start();
    open();
    EXPECT_GE(t.elapsed(), 550);
    EXPECT_LT(t.elapsed(), 2500);
    EXPECT_EQ(w->pageCode(), 200);
    EXPECT_EQ(codesOf(notices), (std::vector<int>{SoundDevice::Failure, 1, 1, 1}));
    EXPECT_EQ(started(), in(kDutchSounds, {"INstart1.WAV", "INcdrom0.WAV", "INcdrom3.WAV", "INfout5.WAV"}));
    closeWindow();
}

// The greeting through Qt Multimedia to the PulseAudio null sink of the
// test script: each prompt's own end notice ends its wait.
using PromptsOnTheAudioOutput = test::OnRealAudio<SettingsWindowTest>;

TEST_F(PromptsOnTheAudioOutput, TheGreetingPlaysToItsEnd) {
    tp.writeDos(kFileC, fileWith({{field::Language, "1"}, {field::MapProduct, "3"}}));
    tp.writeDos(std::string(kEnglishSounds) + "INstart1.WAV", test::wavBytes(200, 16000));
    for (const char* name : {"INcdrom0.WAV", "INcdrom3.WAV", "INfout5.WAV"})
        tp.writeDos(std::string(kEnglishSounds) + name, test::wavBytes(50, 16000));
    create(std::make_unique<AudioSinkDevice>());
    QSignalSpy notices(&w->sound(), &MediaControl::notified);
    QElapsedTimer t;
    t.start();
    open();
    EXPECT_GE(t.elapsed(), 290);
    EXPECT_LT(t.elapsed(), 4500);
    EXPECT_EQ(codesOf(notices), (std::vector<int>{1, 1, 1, 1}));
    EXPECT_EQ(started(), in(kEnglishSounds, {"INstart1.WAV", "INcdrom0.WAV", "INcdrom3.WAV", "INfout5.WAV"}));
    closeWindow();
}

}  // namespace
}  // namespace tarvok::settings
