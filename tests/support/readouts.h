// The readouts of a window checked as one table: each row names a text box
// (its objectName) and the text it must show, in Windows-1252 as the
// program's logic holds it; a failure names the box.
#pragma once

#include <QLineEdit>
#include <QWidget>
#include <gtest/gtest.h>
#include <initializer_list>
#include <string>
#include <utility>

#include "common/text.h"

namespace tarvok::test {

using Readouts = std::initializer_list<std::pair<const char*, std::string>>;

inline void expectReadouts(const QWidget& window, Readouts rows) {
    for (const auto& [name, text] : rows) {
        const auto* box = window.findChild<QLineEdit*>(QString::fromLatin1(name));
        ASSERT_NE(box, nullptr) << "no text box " << name;
        EXPECT_EQ(utf8ToCp1252(box->text().toStdString()), text) << "in " << name;
    }
}

}  // namespace tarvok::test
