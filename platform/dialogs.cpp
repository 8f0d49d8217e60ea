#include "dialogs.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

#include "common/text.h"

namespace tarvok {

std::string joinMessageLines(const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        text += lines[i];
        if (i + 1 < lines.size()) text += "\r\n";
    }
    return text;
}

std::string qtNameFilter(const std::string& windowsFilter) {
    std::vector<std::string> parts;
    std::string cur;
    for (char c : windowsFilter) {
        if (c == '|') {
            parts.push_back(cur);
            cur.clear();
        } else {
            cur.push_back(c);
        }
    }
    parts.push_back(cur);
    std::string out;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        std::string patterns;
        for (char c : parts[i + 1]) patterns.push_back(c == ';' ? ' ' : c);
        if (!out.empty()) out += ";;";
        out += parts[i] + " (" + patterns + ")";
    }
    return out;
}

namespace {
QString fromCp1252(const std::string& s) { return QString::fromStdString(cp1252ToUtf8(s)); }

QString boxText(const std::string& text) {
    QString shown = fromCp1252(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}
}  // namespace

void QtDialogs::critical(const std::string& text) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("TARVOK"), boxText(text), QMessageBox::Ok, parent_);
    box.exec();
}

std::size_t QtDialogs::ask(const std::string& text, const std::vector<std::string>& choices) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("TARVOK"), boxText(text), QMessageBox::NoButton, parent_);
    std::vector<QPushButton*> buttons;
    for (const std::string& c : choices) buttons.push_back(box.addButton(fromCp1252(c), QMessageBox::ActionRole));
    if (!buttons.empty()) {
        box.setDefaultButton(buttons.front());
        box.setEscapeButton(buttons.front());
    }
    box.exec();
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (box.clickedButton() == buttons[i]) return i;
    return 0;
}

std::optional<std::string> QtDialogs::openFile(const std::string& filter, const std::string& folder) {
    QString chosen = QFileDialog::getOpenFileName(parent_, QString(), QString::fromStdString(folder),
                                                  fromCp1252(qtNameFilter(filter)));
    if (chosen.isEmpty()) return std::nullopt;
    return chosen.toStdString();
}

void QtDialogs::beep() { QApplication::beep(); }

bool QtDialogs::openDocument(const std::string& nativePath) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(nativePath)));
}

}  // namespace tarvok
