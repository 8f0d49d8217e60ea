// The SETUP verbs of tarvok-drive. `settings-script` has SETUP start the
// settings window as a second tarvok-drive process that runs a script of
// its own (--program set), so one script can change settings the way a
// user does and watch the navigator take them over; `setup-grace` shortens
// the grace period SETUP gives the settings window to appear; `wait-setup`
// waits until SETUP has seen the settings window close and reloaded.
#include <QCoreApplication>
#include <filesystem>
#include <string>

#include "navigator/navigator_windows.h"
#include "platform/media_control.h"
#include "tools/drive/drive_navigator.h"

namespace tarvok::drive {

namespace {

VerbRegistration settingsScript(
    "settings-script",
    "settings-script FILE     SETUP starts the settings window as `tarvok-drive --program set FILE` "
    "(this driver's own program, its --screen and pass length) instead of TarvokSET",
    [](Driver& d, const auto& a) {
        if (a.empty()) throw std::runtime_error("usage: settings-script FILE");
        const std::filesystem::path script = std::filesystem::absolute(a[0]);
        if (!std::filesystem::is_regular_file(script)) throw std::runtime_error("cannot read " + script.string());
        SettingsLaunch& launch = navigatorParts(d).settingsLaunch;
        SettingsProgram p = launch.program();
        const std::filesystem::path self = QCoreApplication::applicationFilePath().toStdString();
        p.name = self.filename().string();
        p.folders = {self.parent_path().string()};
        p.arguments = {"--program", "set", "--pass-microseconds", std::to_string(MediaControl::passDuration().count())};
        if (d.screen)
            p.arguments.insert(p.arguments.end(), {"--screen", std::to_string(d.screen->width()) + "x" +
                                                                   std::to_string(d.screen->height())});
        p.arguments.push_back(script.string());
        launch.setProgram(std::move(p));
        return StepResult::done();
    });

VerbRegistration setupGrace("setup-grace",
                            "setup-grace MS           sets SETUP's grace period for the settings window to "
                            "appear (10,000 ms)",
                            [](Driver& d, const auto& a) {
                                if (a.empty()) throw std::runtime_error("usage: setup-grace MS");
                                const long long ms = numberArg(a, 0, 0);
                                if (ms < 0) throw std::runtime_error("setup-grace: MS must not be negative");
                                SettingsLaunch& launch = navigatorParts(d).settingsLaunch;
                                SettingsProgram p = launch.program();
                                p.gracePeriod = std::chrono::milliseconds(ms);
                                launch.setProgram(std::move(p));
                                return StepResult::done();
                            });

VerbRegistration waitSetup("wait-setup",
                           "wait-setup [MS]          waits until SETUP has seen the settings window close, or "
                           "the program it started end, and reloaded the settings (a window not yet shown "
                           "is waited for)",
                           [](Driver& d, const auto& a) {
                               const bool idle =
                                   navigatorParts(d).settingsLaunch.phase() == SettingsLaunch::Phase::Idle;
                               if (idle) return StepResult::done();
                               if (d.elapsedMs() > numberArg(a, 0, kDefaultTimeoutMs))
                                   return StepResult::failed("timed out waiting for the settings window to close");
                               return StepResult::pending();
                           });

}  // namespace

}  // namespace tarvok::drive
