// A main window opened on the offscreen platform in a temporary prefix, with
// a scripted sound device and recording dialogs, map and speech calls.
#pragma once

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <string>

#include "navigator/shell/main_window.h"
#include "navigator/shell/shell_calls.h"
#include "navigator/shell/sound_playback.h"
#include "tests/support/recording_dialogs.h"
#include "tests/support/scripted_sound_device.h"
#include "tests/support/temp_prefix.h"
#include "tests/support/wait_for.h"

namespace tarvok::test {

struct RecordingMapCalls : MapViewCalls {
    std::vector<std::string> calls;
    NavigatorState* state = nullptr;
    void resetForStart() override { calls.push_back("resetForStart"); }
    void showStartPicture(const QImage& p) override {
        calls.push_back("showStartPicture " + std::to_string(p.width()) + "x" + std::to_string(p.height()));
    }
    void applyZoom() override { calls.push_back("applyZoom"); }
    void zoomIn() override { calls.push_back("zoomIn"); }
    void zoomOut() override { calls.push_back("zoomOut"); }
    void zoomFull() override { calls.push_back("zoomFull"); }
    void zoomToLevel() override { calls.push_back("zoomToLevel " + std::to_string(state->targetZoomLevel)); }
    void resetZoomLevel() override {}
    int count(const std::string& prefix) const {
        int n = 0;
        for (const auto& c : calls) n += c.rfind(prefix, 0) == 0;
        return n;
    }
};

struct RecordingSpeechCalls : SpeechCalls {
    int fragmentLoads = 0;
    int statusCalls = 0;
    std::vector<std::string> unitWords;
    void loadSpeechFragments() override { ++fragmentLoads; }
    void reloadUnitWord(const std::string& dosPath) override { unitWords.push_back(dosPath); }
    void speakStatus() override { ++statusCalls; }
};

struct WindowOptions {
    char language = '1';
    char sound = '1';
    char colourScheme = '0';
    QSize screen{800, 600};
};

class ShellWindow {
public:
    explicit ShellWindow(WindowOptions o = {}) {
        // Sound waits of 250,000 passes end after a quarter of a second.
        SoundPlayback::setPassDuration(std::chrono::microseconds(1));
        SettingsString s = SettingsString::navigatorTemplate();
        s.writeChar(field::Language, o.language);
        s.writeChar(field::SoundOn, o.sound);
        s.writeChar(field::ColourScheme, o.colourScheme);
        NavigatorStart start;
        start.settingsString = s;
        start.settings = decodeForNavigator(s);
        auto dev = std::make_unique<ScriptedSoundDevice>();
        device = dev.get();
        window = std::make_unique<MainWindow>(start, prefix.paths(), dialogs, std::move(dev));
        map.state = &window->state();
        window->setMapViewCalls(&map);
        window->setSpeechCalls(&speech);
        window->setScreenSizeSource([o] { return o.screen; });
    }
    ~ShellWindow() { SoundPlayback::setPassDuration(std::chrono::microseconds(40)); }

    void open() {
        window->formLoad();
        window->activateWindow();
        QApplication::setActiveWindow(window.get());
    }

    // A control of the window by its name.
    template <class T = QWidget>
    T* control(const char* name) const {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    QLineEdit* box(const char* name) { return control<QLineEdit>(name); }
    QPushButton* button(const char* name) { return control<QPushButton>(name); }
    // Types a key into a control that has the focus, as the user does.
    void keyInto(const char* name, char key) {
        QWidget* w = control(name);
        w->setFocus();
        QTest::keyClick(w, key);
    }

    // A plain green map bitmap at `dosStem`.BMP, with its corner file when
    // `corner` is given; the native path of the bitmap.
    std::string writeMap(const std::string& dosStem, int w, int h, const std::string& corner = "") {
        QImage img(w, h, QImage::Format_RGB32);
        img.fill(Qt::darkGreen);
        const auto native = prefix.writeDos(dosStem + ".BMP", "");
        EXPECT_TRUE(img.save(QString::fromStdString(native.string()), "BMP"));
        if (!corner.empty()) prefix.writeDos(dosStem + ".des", corner);
        return native.string();
    }
    // Loads a map through the map button and its file dialog; whether the
    // window took it.
    bool loadMap(const std::string& nativeBitmap) {
        dialogs.fileAnswers.push_back(nativeBitmap);
        button("Command2")->click();
        settleMap();
        return window->state().mapLoaded == 1;
    }
    // Clicks a button and waits until a map load or search it started has
    // shown its outcome.
    void clickAndSettle(const char* name) {
        button(name)->click();
        settleMap();
    }
    // Waits until the map window has shown the outcome of its map load or
    // search (bitmaps are read on a worker).
    void settleMap() {
        QObject* map = window->findChild<QObject*>(QStringLiteral("MapWindow"));
        ASSERT_NE(map, nullptr) << "no map window (a child of the main window) to wait for";
        EXPECT_TRUE(waitFor([map] { return !map->property("mapLoading").toBool(); }, 20000));
    }

    TempPrefix prefix;
    RecordingDialogs dialogs;
    RecordingMapCalls map;
    RecordingSpeechCalls speech;
    ScriptedSoundDevice* device = nullptr;
    std::unique_ptr<MainWindow> window;
};

}  // namespace tarvok::test
