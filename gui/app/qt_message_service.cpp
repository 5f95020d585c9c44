#include "app/qt_message_service.h"

#include "lang/language_table.h"

#include <QAbstractButton>

namespace vrl::gui {

namespace {

QMessageBox::Icon iconOf(MessageService::Icon icon) {
    switch (icon) {
    case MessageService::Icon::Information: return QMessageBox::Information;
    case MessageService::Icon::Question: return QMessageBox::Question;
    case MessageService::Icon::Warning: return QMessageBox::Warning;
    case MessageService::Icon::Error: return QMessageBox::Critical;
    case MessageService::Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

// Language texts of the standard buttons.
struct ButtonText {
    QMessageBox::StandardButton button;
    int text;
};
constexpr ButtonText kButtonTexts[] = {{QMessageBox::Ok, 59},  {QMessageBox::Cancel, 60},
                                       {QMessageBox::Yes, 57}, {QMessageBox::No, 58},
                                       {QMessageBox::Retry, 71}};

} // namespace

QMessageBox::StandardButton QtMessageService::ask(const Request& request) {
    // A message without a caption of its own (the success messages) carries the
    // program's title, never the executable's name that the system would show.
    QString caption = request.caption;
    if (caption.isEmpty() && text_) caption = text_(kTextProgramTitle);
    if (caption.isEmpty()) caption = QString::fromLatin1(kLanguageMessageCaption);
    QMessageBox box(iconOf(request.icon), caption, request.text, QMessageBox::NoButton, parent_);
    if (hasFont_) box.setFont(font_);
    QMessageBox::StandardButton first = QMessageBox::Ok;
    QMessageBox::StandardButton escape = QMessageBox::Ok;
    switch (request.buttons) {
    case MessageService::Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageService::Buttons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        escape = QMessageBox::Cancel;
        break;
    case MessageService::Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        first = QMessageBox::Yes;
        escape = QMessageBox::No;
        break;
    case MessageService::Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        first = QMessageBox::Yes;
        escape = QMessageBox::Cancel;
        break;
    case MessageService::Buttons::RetryCancel:
        box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel);
        first = QMessageBox::Retry;
        escape = QMessageBox::Cancel;
        break;
    }
    if (text_) {
        for (const ButtonText& name : kButtonTexts) {
            QAbstractButton* button = box.button(name.button);
            const QString text = button ? text_(name.text) : QString();
            if (!text.isEmpty()) button->setText(text);
        }
    }
    box.setDefaultButton(request.cancelIsDefault ? QMessageBox::Cancel : first);
    box.setEscapeButton(escape);
    const int result = box.exec();
    return static_cast<QMessageBox::StandardButton>(result);
}

} // namespace vrl::gui
