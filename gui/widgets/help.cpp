#include "widgets/help.h"

#include <QMessageBox>
#include <QString>

namespace vrl::gui::help {

namespace {
Handler& handler() {
    static Handler h;
    return h;
}
} // namespace

void setHandler(Handler h) { handler() = std::move(h); }

void open(int topic, QWidget* from) {
    if (handler()) {
        handler()(topic, from);
        return;
    }
    QMessageBox::information(from, QStringLiteral("Help"),
                             QStringLiteral("Help topic 0x%1")
                                 .arg(QString::number(topic, 16).toUpper()));
}

} // namespace vrl::gui::help
