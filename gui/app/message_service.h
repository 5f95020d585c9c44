// Every message box of the program goes through this one service, so that tests
// can answer questions without a person. Texts are already resolved by the caller.
#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

namespace vrl::gui {

class MessageService {
  public:
    enum class Icon { None, Information, Question, Warning, Error };
    // Which buttons a message offers; the first named is the default unless the
    // call says otherwise.
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };

    struct Request {
        QString text;
        QString caption;
        Icon icon = Icon::None;
        Buttons buttons = Buttons::Ok;
        // Questions that can destroy data default to Cancel.
        bool cancelIsDefault = false;
    };

    // Returns the button pressed (QMessageBox::Ok, Cancel, Yes, No, Retry).
    using Answerer = std::function<QMessageBox::StandardButton(const Request&)>;

    virtual ~MessageService() = default;
    virtual QMessageBox::StandardButton ask(const Request& request) = 0;
};

} // namespace vrl::gui
