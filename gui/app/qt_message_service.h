// The message service of the running program: standard message boxes over the
// main window, in the current language's font.
#pragma once

#include "app/message_service.h"

#include <QFont>
#include <QPointer>
#include <QWidget>

namespace vrl::gui {

class QtMessageService : public MessageService {
  public:
    void setParentWidget(QWidget* parent) { parent_ = parent; }
    void setFont(const QFont& font) { font_ = font; hasFont_ = true; }
    QMessageBox::StandardButton ask(const Request& request) override;

  private:
    QPointer<QWidget> parent_;
    QFont font_;
    bool hasFont_ = false;
};

} // namespace vrl::gui
