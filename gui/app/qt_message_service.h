// The message service of the running program: standard message boxes over the
// main window, in the current language's font and words.
#pragma once

#include "app/message_service.h"

#include <QFont>
#include <QPointer>
#include <QWidget>

#include <functional>

namespace vrl::gui {

// Language text of the program's title, the caption of messages that have none.
inline constexpr int kTextProgramTitle = 112;

class QtMessageService : public MessageService {
  public:
    void setParentWidget(QWidget* parent) { parent_ = parent; }
    void setFont(const QFont& font) { font_ = font; hasFont_ = true; }
    // Where the buttons' texts come from (language text by index); without it, or
    // for an empty text, a button keeps Qt's own English text.
    void setTextSource(std::function<QString(int)> text) { text_ = std::move(text); }
    QMessageBox::StandardButton ask(const Request& request) override;

  private:
    std::function<QString(int)> text_;
    QPointer<QWidget> parent_;
    QFont font_;
    bool hasFont_ = false;
};

} // namespace vrl::gui
