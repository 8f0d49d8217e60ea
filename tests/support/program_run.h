// A program of this build run to its end from a test: its exit code and what
// it wrote. The run is bounded; a program that does not end in time is
// killed and reported with exit code -1.
#pragma once

#include <QCoreApplication>
#include <QProcess>
#include <QStringList>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/temp_prefix.h"

namespace tarvok::test {

struct ProgramRun {
    int exitCode = -1;
    std::string out, err;
};

struct RunOptions {
    std::vector<std::pair<QString, QString>> env{};  // added to the test's own environment
    std::string input{};                             // its standard input, closed after it
    int timeoutMs = 60000;
};

// Starts `program` with the options' environment; false (a test failure
// recorded) when it did not start. The caller waits for its end.
inline bool startProgram(QProcess& p, const QString& program, const QStringList& args, const RunOptions& o = {}) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : o.env) env.insert(name, value);
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForStarted(5000)) {
        ADD_FAILURE() << program.toStdString() << " did not start";
        return false;
    }
    return true;
}

inline ProgramRun runProgram(const QString& program, const QStringList& args, const RunOptions& o = {}) {
    QProcess p;
    if (!startProgram(p, program, args, o)) return {};
    p.write(o.input.data(), qint64(o.input.size()));
    p.closeWriteChannel();
    ProgramRun r;
    if (!p.waitForFinished(o.timeoutMs)) {
        ADD_FAILURE() << program.toStdString() << " did not end within " << o.timeoutMs << " ms";
        p.kill();
        p.waitForFinished();
    } else if (p.exitStatus() == QProcess::NormalExit) {
        r.exitCode = p.exitCode();
    }
    r.out = p.readAllStandardOutput().toStdString();
    r.err = p.readAllStandardError().toStdString();
    return r;
}

// tarvok-tool of this build, beside the test programs.
inline ProgramRun runTool(const QStringList& args, const RunOptions& o = {}) {
    return runProgram(QCoreApplication::applicationDirPath() + "/tarvok-tool", args, o);
}

// tarvok-drive offscreen on a script written into the prefix's root, with
// sound waits of a microsecond a pass: its arguments, and the offscreen
// platform added to `o`.
inline QStringList driveScriptArguments(const TempPrefix& tp, const std::string& script, QStringList options,
                                        RunOptions& o) {
    const auto path = tp.root() / "script.txt";
    writeFile(path, script);
    o.env.emplace_back(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    options << QStringLiteral("--pass-microseconds") << QStringLiteral("1") << QString::fromStdString(path.string());
    return options;
}

// tarvok-drive (at `drive`) on the script, run to its end.
inline ProgramRun runDriveScript(const QString& drive, const TempPrefix& tp, const std::string& script,
                                 QStringList options = {}, RunOptions o = {}) {
    const QStringList args = driveScriptArguments(tp, script, std::move(options), o);
    return runProgram(drive, args, o);
}

// ... started in `p`, which the caller waits for.
inline bool startDriveScript(QProcess& p, const QString& drive, const TempPrefix& tp, const std::string& script,
                             QStringList options = {}, RunOptions o = {}) {
    const QStringList args = driveScriptArguments(tp, script, std::move(options), o);
    return startProgram(p, drive, args, o);
}

}  // namespace tarvok::test
