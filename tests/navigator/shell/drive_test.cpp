// tarvok-drive runs the real navigator window from a script.
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>

#include "tests/support/temp_prefix.h"

namespace tarvok {
namespace {

struct DriveRun {
    int exitCode = -1;
    std::string out;
};

DriveRun drive(const test::TempPrefix& tp, const std::string& script, QStringList options = {}) {
    auto path = tp.root() / "script.txt";
    test::writeFile(path, script);
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    options << QStringLiteral("--pass-microseconds") << QStringLiteral("1") << QString::fromStdString(path.string());
    p.start(QStringLiteral(TARVOK_DRIVE), options);
    p.waitForFinished(60000);
    return {p.exitCode(), p.readAll().toStdString()};
}

QJsonObject controlIn(const QJsonArray& dump, const QString& name) {
    for (const auto& v : dump)
        if (v.toObject()[QStringLiteral("name")].toString() == name) return v.toObject();
    return {};
}

TEST(TarvokDrive, RunsAScriptOnTheWindow) {
    test::TempPrefix tp;
    std::string dir = tp.root().string();
    DriveRun r = drive(tp,
                       "# open, type, keys, STOP twice\n"
                       "wait-status \"  PLEASE LOAD A MAP\"\n"
                       "type NSText n\n"
                       "expect NSText N\n"
                       "key o Command2\n"
                       "wait-status \"Xcor.= 20 ; Ycor.= 20\"\n"
                       "state navigationActive 1\n"
                       "click cmdQuit\n"
                       "wait-status \" NAVIGATION STOPPED\"\n"
                       "dump " + dir + "/controls.json\n"
                       "grab " + dir + "/window.png\n"
                       "click Command6\n"
                       "sleep 50\n"
                       "click cmdQuit\n"
                       "wait-ended\n",
                       {QStringLiteral("--screen"), QStringLiteral("1024x768")});
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_NE(r.out.find("script done"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("USERNav4.HTM"), std::string::npos) << r.out;

    QFile f(QString::fromStdString(dir + "/controls.json"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QJsonArray dump = QJsonDocument::fromJson(f.readAll()).array();
    EXPECT_EQ(controlIn(dump, "Label6")["text"].toString(), " NAVIGATION STOPPED");
    EXPECT_EQ(controlIn(dump, "NSText")["text"].toString(), "N");
    EXPECT_EQ(controlIn(dump, "Command2")["text"].toString(), "LOA&D");
    EXPECT_FALSE(controlIn(dump, "Frame10")["visible"].toBool());
    EXPECT_TRUE(controlIn(dump, "Picture2")["visible"].toBool());
    EXPECT_EQ(controlIn(dump, "PicClip1")["width"].toInt(), 640);
    QImage png(QString::fromStdString(dir + "/window.png"));
    EXPECT_EQ(png.size(), QSize(1024, 740));
}

TEST(TarvokDrive, StopsAtTheFirstFailingStep) {
    test::TempPrefix tp;
    DriveRun r = drive(tp, "expect NSText X 100\nclick cmdQuit\n");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.out.find("line 1: expect: timed out"), std::string::npos) << r.out;
    DriveRun unknown = drive(tp, "\n  frobnicate now\n");
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_NE(unknown.out.find("line 2: frobnicate: unknown verb"), std::string::npos) << unknown.out;
    DriveRun quote = drive(tp, "type Latid \"52,1\n");
    EXPECT_EQ(quote.exitCode, 2);
    DriveRun set = drive(tp, "sleep 1\n", {QStringLiteral("--program"), QStringLiteral("set")});
    EXPECT_EQ(set.exitCode, 2);
    EXPECT_NE(set.out.find("--program set: the settings program TarvokSET is not part of this build"),
              std::string::npos) << set.out;
    DriveRun other = drive(tp, "sleep 1\n", {QStringLiteral("--program"), QStringLiteral("nav")});
    EXPECT_EQ(other.exitCode, 2);
    EXPECT_NE(other.out.find("--program nav: no such program"), std::string::npos) << other.out;
}

TEST(TarvokDrive, ChecksTheSoundsStartedSinceTheLastCheck) {
    test::TempPrefix tp;
    DriveRun r = drive(tp,
                       "wait-status \"  PLEASE LOAD A MAP\"\n"
                       "sounds Welkom5.WAV\n"
                       "state navigationActive 1\n"
                       "click cmdQuit\n"
                       "sounds C:\\TARVOK\\SOUND\\Navig2.WAV\n"
                       "click cmdQuit\n"
                       "wait-ended\n"
                       "sounds\n",
                       {QStringLiteral("--program"), QStringLiteral("map")});
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_NE(r.out.find("sound C:\\TARVOK\\SOUND\\Totziens.WAV"), std::string::npos) << r.out;
    // A sound other than the one named fails the step and says what played.
    DriveRun wrong = drive(tp, "sounds Navig1.WAV\n");
    EXPECT_EQ(wrong.exitCode, 1);
    EXPECT_NE(wrong.out.find("line 1: sounds: sounds started: C:\\TARVOK\\SOUND\\Welkom5.WAV"), std::string::npos)
        << wrong.out;
}

}  // namespace
}  // namespace tarvok
