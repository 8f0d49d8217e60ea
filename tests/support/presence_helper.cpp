// A tiny second process for the tests: announces a window title through the
// real window presence and holds it, as another program's window would.
//
//   tarvok_presence_helper --title T [--delay MS] [--hold MS] [--reply R]
//                          [--set-field FILE POS TEXT]
//
// --delay waits before announcing, --hold ends the program normally after
// that time (otherwise it runs until it is sent "quit"), --reply sends every
// other text it receives back to the window R as "got:" and the text, and
// --set-field writes TEXT at the 1-based byte position POS of FILE just
// before the title is withdrawn (it may be given several times), as a
// settings program saves its file when its window closes. Prints
// "announced" once the title is found.
#include <QCoreApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "platform/window_presence.h"

namespace {

struct Options {
    std::string title;
    int delayMs = 0;
    int holdMs = -1;
    std::string reply;
    struct Field {
        std::string file;
        long position = 0;
        std::string text;
    };
    std::vector<Field> fields;
};

bool parse(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto next = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        const char* v = next();
        if (!v) return false;
        if (a == "--title") o.title = v;
        else if (a == "--delay") o.delayMs = std::atoi(v);
        else if (a == "--hold") o.holdMs = std::atoi(v);
        else if (a == "--reply") o.reply = v;
        else if (a == "--set-field") {
            const char* pos = next();
            const char* text = next();
            if (!pos || !text) return false;
            o.fields.push_back({v, std::atol(pos), text});
        } else return false;
    }
    return !o.title.empty();
}

void writeFields(const Options& o) {
    for (const Options::Field& field : o.fields) {
        if (field.position < 1) continue;
        std::fstream f(field.file, std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(field.position - 1);
        f.write(field.text.data(), static_cast<std::streamsize>(field.text.size()));
    }
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    Options o;
    if (!parse(argc, argv, o)) {
        std::fprintf(stderr, "usage: %s --title T [--delay MS] [--hold MS] [--reply R] [--set-field FILE POS TEXT]\n",
                     argv[0]);
        return 2;
    }
    auto presence = tarvok::createWindowPresence();
    auto finish = [&] {
        writeFields(o);
        presence->withdraw();
        app.quit();
    };
    QObject::connect(presence.get(), &tarvok::WindowPresence::messageReceived, &app, [&](const std::string& text) {
        if (text == "quit") finish();
        else if (!o.reply.empty()) presence->send(o.reply, "got:" + text);
    });
    QTimer::singleShot(o.delayMs, &app, [&] {
        if (!presence->announce(o.title)) {
            std::fprintf(stderr, "presence helper: could not announce the title\n");
            app.exit(1);
            return;
        }
        std::printf("announced\n");
        std::fflush(stdout);
        if (o.holdMs >= 0) QTimer::singleShot(o.holdMs, &app, finish);
    });
    return app.exec();
}
