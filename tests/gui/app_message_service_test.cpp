// The program's message boxes: buttons named in the program's language, answers
// unchanged.
#include "app/qt_message_service.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

using namespace vrl::gui;

class AppMessageServiceTest : public QObject {
    Q_OBJECT
  private slots:
    // With German chosen the Yes/No/Cancel question still said "Yes" and "No".
    void buttonsTakeTheLanguageTexts() {
        QtMessageService messages;
        messages.setTextSource([](int index) { return QStringLiteral("T%1").arg(index); });
        QStringList shown;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            for (QMessageBox::StandardButton b : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel})
                shown << box->button(b)->text();
            box->button(QMessageBox::No)->click();
        });
        const auto answer = messages.ask({QStringLiteral("Save?"), QString(),
                                          MessageService::Icon::Question,
                                          MessageService::Buttons::YesNoCancel});
        QCOMPARE(answer, QMessageBox::No);
        QCOMPARE(shown, (QStringList{"T57", "T58", "T60"}));
    }

    void retryAndOkAreNamedToo() {
        QtMessageService messages;
        messages.setTextSource([](int index) { return QStringLiteral("T%1").arg(index); });
        QString retry;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            retry = box->button(QMessageBox::Retry)->text();
            box->button(QMessageBox::Retry)->click();
        });
        QCOMPARE(messages.ask({QStringLiteral("Failed"), QString(), MessageService::Icon::Error,
                               MessageService::Buttons::RetryCancel}),
                 QMessageBox::Retry);
        QCOMPARE(retry, QStringLiteral("T71"));
        QString ok;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            ok = box->button(QMessageBox::Ok)->text();
            box->button(QMessageBox::Ok)->click();
        });
        QCOMPARE(messages.ask({QStringLiteral("Done"), QString(), MessageService::Icon::Information,
                               MessageService::Buttons::Ok}),
                 QMessageBox::Ok);
        QCOMPARE(ok, QStringLiteral("T59"));
    }

    // Success messages were titled "vrl73m", the executable's name.
    void regressionMessagesWithoutCaptionCarryTheProgramTitle() {
        QtMessageService messages;
        messages.setTextSource([](int index) { return QStringLiteral("T%1").arg(index); });
        QStringList titles;
        for (const QString& caption : {QString(), QStringLiteral("Error")}) {
            QTimer::singleShot(0, [&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                QVERIFY(box);
                titles << box->windowTitle();
                box->button(QMessageBox::Ok)->click();
            });
            messages.ask({QStringLiteral("Done"), caption, MessageService::Icon::Information,
                          MessageService::Buttons::Ok});
        }
        QCOMPARE(titles, (QStringList{"T112", "Error"}));
    }

    // An empty text (no language file yet) leaves Qt's own words.
    void emptyTextKeepsQtsWords() {
        QtMessageService messages;
        messages.setTextSource([](int) { return QString(); });
        QString yes;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            yes = box->button(QMessageBox::Yes)->text();
            box->button(QMessageBox::Yes)->click();
        });
        messages.ask({QStringLiteral("Go?"), QString(), MessageService::Icon::Question,
                      MessageService::Buttons::YesNo});
        QVERIFY(!yes.isEmpty());
    }
};

QTEST_MAIN(AppMessageServiceTest)
#include "app_message_service_test.moc"
