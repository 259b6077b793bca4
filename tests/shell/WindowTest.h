#pragma once

// What the window tests share besides the frame's bench: Qt's widgets and
// test library, the recording frame, and the ways they click and read windows.
#include <QtTest>
#include <QtWidgets>

#include "FrameTestSupport.h"
#include "engine/Messages.h"
#include "engine/TestInfo.h"
#include "support/RecordingFrame.h"

namespace veltrane::shell::test {

// A missing or greyed-out button fails the test instead of being clicked.
inline void click(const QWidget& window, const QString& name) {
    auto* button = window.findChild<QAbstractButton*>(name);
    QVERIFY2(button != nullptr && button->isEnabled(), qPrintable(name));
    button->click();
}

// The button that shows `text`, where only its text tells it apart.
inline void clickText(const QWidget& window, const QString& text) {
    for (auto* button : window.findChildren<QAbstractButton*>()) {
        if (button->text() == text) {
            return button->click();
        }
    }
    QFAIL(qPrintable("no button " + text));
}

inline QStringList column(const QTreeWidget& list, int column) {
    QStringList texts;
    for (int row = 0; row < list.topLevelItemCount(); ++row) {
        texts << list.topLevelItem(row)->text(column);
    }
    return texts;
}

// Each row of a two-column list as "item|description".
inline QStringList rows(const QTreeWidget& list, const QString& separator = "|") {
    QStringList texts = column(list, 0);
    const QStringList second = column(list, 1);
    for (qsizetype row = 0; row < texts.size(); ++row) {
        texts[row] += separator + second[row];
    }
    return texts;
}

// The core's rows for such a list, as rows() reads them.
template <typename Rows>
QStringList itemRows(const Rows& core, const QString& separator = "|") {
    QStringList texts;
    for (const auto& row : core) {
        texts << QString::fromStdString(row.item) + separator +
                     QString::fromStdString(row.description);
    }
    return texts;
}

inline QString tabTexts(const QTabWidget& sheet) {
    QStringList tabs;
    for (int page = 0; page < sheet.count(); ++page) {
        tabs << sheet.tabText(page);
    }
    return tabs.join('|');
}

}  // namespace veltrane::shell::test
