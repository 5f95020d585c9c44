// Shared set-up of the widget and view tests: one document, a small language table
// whose texts name their index ("T476"), a message service that records and answers
// OK, and the context that windows take.
#pragma once

#include "app/app_context.h"
#include "app/message_service.h"
#include "lang/language_table.h"
#include "model/radio_data.h"
#include "widgets/help.h"

#include <QApplication>
#include <QTest>
#include <QDir>
#include <QVector>
#include <QWidget>

#include <memory>
#include <string>

namespace vrl::gui::widgets_test {

// The texts of the rows a screenshot shows; all others read "T<index>".
inline std::string languageFileBytes() {
    std::string file = "label,English\n";
    for (int row = 0; row < LanguageTable::kFirstLanguageNameRow + 1; ++row) {
        std::string text = "T" + std::to_string(row);
        switch (row) {
        case 0: text = "DejaVu Sans"; break;
        case 1: text = "13"; break;
        case 61: text = "Close"; break;
        case 62: text = "Help"; break;
        case 476: text = "Embedded Message"; break;
        case 477: text = "Extended Function"; break;
        case 478: text = "ST Reverse Burst Phase [deg]"; break;
        case 529: text = "Memory Map"; break;
        case LanguageTable::kFirstLanguageNameRow: text = "English"; break;
        }
        file += "R" + std::to_string(row) + "," + text + "\n";
    }
    return file;
}

class RecordingMessages : public MessageService {
  public:
    QMessageBox::StandardButton ask(const Request& request) override {
        asked.append(request);
        return QMessageBox::Ok;
    }
    QVector<Request> asked;
};

// Everything a window needs, built fresh for each test.
struct Fixture {
    RadioData data;
    LanguageTable lang;
    RecordingMessages messages;
    std::unique_ptr<AppContext> ctx;
    QVector<int> helpTopics;

    Fixture() {
        lang.loadBytes(languageFileBytes());
        lang.loadSupplementFile(VRL_SOURCE_DIR "/data/vrl73m-extra.lng");
        ctx = std::make_unique<AppContext>(data, lang, messages);
        help::setHandler([this](int topic, QWidget*) { helpTopics.append(topic); });
    }
    ~Fixture() { help::setHandler({}); }
};

// Shows a window and waits until it has the keyboard (focus events need it).
inline bool showActive(QWidget* w) {
    w->show();
    w->activateWindow();
    QApplication::setActiveWindow(w);
    return QTest::qWaitForWindowActive(w);
}

// Saves a picture of a window when VRL_SCREENSHOT_DIR is set (see
// scripts/screenshot-views.sh).
inline void screenshot(QWidget* w, const QString& name) {
    const QByteArray dir = qgetenv("VRL_SCREENSHOT_DIR");
    if (dir.isEmpty()) return;
    QDir().mkpath(QString::fromLocal8Bit(dir));
    QApplication::processEvents();
    w->grab().save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + name + QStringLiteral(".png"));
}

} // namespace vrl::gui::widgets_test
