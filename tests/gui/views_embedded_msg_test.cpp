// The embedded message window: what it shows and the bytes it writes.
#include "features/embedded_msg_view.h"
#include "widgets/filtered_edit.h"
#include "widgets_test_support.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QTest>

using namespace vrl;
using namespace vrl::gui;
using namespace vrl::gui::widgets_test;

namespace {
struct Window {
    Fixture fx;
    QPointer<CEmbeddedMsgView> view;
    Window() { view = new CEmbeddedMsgView(*fx.ctx, nullptr); }
    ~Window() { delete view.data(); }
    FilteredEdit* line(int n) const { return view->lineEdit(n); }
    std::string bytes(size_t offset, size_t n) const { return fx.data.image.readAscii(offset, n); }
    void type(int n, const QString& text) {
        line(n)->setFocus();
        line(n)->selectAll();
        QTest::keyClicks(line(n), text);
    }
};
} // namespace

class EmbeddedMsgViewTest : public QObject {
    Q_OBJECT
  private slots:
    void titleAndButtonTexts();
    void showsBothLinesFromTheImage();
    void helloOnLine1IsStoredBlankPadded();
    void enterMovesToLine2AndStoresLine1();
    void clearedLineIsStoredAsFF();
    void lineTakesAtMost32Characters();
    void regressionLettersTheRadioCannotShowAreRefusedAsTyped();
    void helpTopics();
};

void EmbeddedMsgViewTest::titleAndButtonTexts() {
    Window w;
    QCOMPARE(CEmbeddedMsgView::titleTextIndex(), 476);
    QCOMPARE(w.view->windowTitle(), QString("Embedded Message"));
    QCOMPARE(w.view->closeButton()->text(), QString("Close"));
    QCOMPARE(w.view->helpButton()->text(), QString("Help"));
}

void EmbeddedMsgViewTest::showsBothLinesFromTheImage() {
    Fixture fx;
    fx.data.image.writeAscii(0x200, "  A B     ");
    fx.data.image.writeAscii(0x220, "SECOND");
    CEmbeddedMsgView view(*fx.ctx, nullptr);
    QCOMPARE(view.lineEdit(0)->text(), QString("  A B"));
    QCOMPARE(view.lineEdit(1)->text(), QString("SECOND"));
}

void EmbeddedMsgViewTest::helloOnLine1IsStoredBlankPadded() {
    Window w;
    QVERIFY(showActive(w.view));
    w.type(0, "HELLO");
    w.line(1)->setFocus(Qt::TabFocusReason);
    QCOMPARE(w.bytes(0x200, 32), "HELLO" + std::string(27, ' '));
    QCOMPARE(w.fx.data.image.u8(0x220), 0xFF);
    QVERIFY(w.fx.data.image.isModified());
}

void EmbeddedMsgViewTest::enterMovesToLine2AndStoresLine1() {
    Window w;
    QVERIFY(showActive(w.view));
    w.type(0, "ONE");
    QTest::keyClick(w.line(0), Qt::Key_Return);
    QVERIFY(w.line(1)->hasFocus());
    QCOMPARE(w.bytes(0x200, 3), std::string("ONE"));
    w.type(1, "two");
    QTest::keyClick(w.line(1), Qt::Key_Return);
    QCOMPARE(w.bytes(0x220, 4), std::string("two "));
}

void EmbeddedMsgViewTest::clearedLineIsStoredAsFF() {
    Window w;
    w.fx.data.image.writeAscii(0x220, "OLD TEXT");
    w.view->refresh();
    QVERIFY(showActive(w.view));
    w.type(1, "   ");
    w.line(0)->setFocus(Qt::TabFocusReason);
    for (size_t i = 0; i < 32; ++i) QCOMPARE(w.fx.data.image.u8(0x220 + i), 0xFF);
    QCOMPARE(w.line(1)->text(), QString());
}

void EmbeddedMsgViewTest::lineTakesAtMost32Characters() {
    Window w;
    QVERIFY(showActive(w.view));
    w.type(0, QString(40, QChar('X')));
    QCOMPARE(w.line(0)->text().size(), 32);
    w.line(1)->setFocus(Qt::TabFocusReason);
    QCOMPARE(w.bytes(0x200, 32), std::string(32, 'X'));
    QCOMPARE(w.fx.data.image.u8(0x220), 0xFF);
}

// "Grüße € ok" was shown as typed and stored as "Gre  ok" without a word: what the
// line shows must be what the radio gets, however the letters arrive.
void EmbeddedMsgViewTest::regressionLettersTheRadioCannotShowAreRefusedAsTyped() {
    Window w;
    QVERIFY(showActive(w.view));
    w.line(0)->setFocus();
    for (QChar c : QString::fromUtf8("Grüße € ok")) { // typed key by key, as a keyboard does
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w.line(0), &press);
    }
    QCOMPARE(w.line(0)->text(), QString("Gre  ok"));
    w.line(0)->insert(QString::fromUtf8("ä!")); // paste
    QInputMethodEvent composed;
    composed.setCommitString(QString::fromUtf8("é?"));
    QApplication::sendEvent(w.line(0), &composed); // a composed letter
    QCOMPARE(w.line(0)->text(), QString("Gre  ok!?"));
    w.line(1)->setFocus(Qt::TabFocusReason);
    QCOMPARE(w.bytes(0x200, 9), std::string("Gre  ok!?"));
}

void EmbeddedMsgViewTest::helpTopics() {
    Window w;
    QVERIFY(showActive(w.view));
    w.line(1)->setFocus();
    QTest::keyClick(w.line(1), Qt::Key_F1);
    QTest::mouseClick(w.view->helpButton(), Qt::LeftButton);
    QCOMPARE(w.fx.helpTopics, (QVector<int>{0x20000 + 1405, 0x20095}));
    screenshot(w.view, "embedded_message");
}

QTEST_MAIN(EmbeddedMsgViewTest)
#include "views_embedded_msg_test.moc"
