// FilteredEdit, SpinEdit and TabPageList: what a user can type, paste and step.
#include "widgets/filtered_edit.h"
#include "widgets/spin_edit.h"
#include "widgets/tab_page_list.h"
#include "widgets_test_support.h"

#include <QClipboard>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

using namespace vrl::gui;
using namespace vrl::gui::widgets_test;
Q_DECLARE_METATYPE(vrl::gui::CharFilter)

class FilteredEditTest : public QObject {
    Q_OBJECT
  private slots:
    void typing_data();
    void typing();
    void nonAsciiIsDroppedFromInsertedText();
    void backspaceAlwaysPasses();
    void pasteKeepsGoodCharacters_data();
    void pasteKeepsGoodCharacters();
    void typingIntoFullEditIsRefused();
    void acceptsTellsWhetherAKeyWouldEnter();
    void spinReportsStepsWithoutValue();
    void regressionSpinWordForSpecialValueWasCutByTheFilter();
    void ctrlTabSwitchesPagesAndWraps();
};

void FilteredEditTest::typing_data() {
    QTest::addColumn<CharFilter>("filter");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("digits") << CharFilter::digits() << "a1b2 .3" << "123";
    QTest::newRow("frequency") << CharFilter::frequency() << "146.52,5x-" << "146.52,5";
    QTest::newRow("dtmf upper-cases a-d") << CharFilter::dtmf() << "1a2b#*cdeE9" << "1A2B#*CD9";
    QTest::newRow("display upper-cases") << CharFilter::display() << "ab!c?(x)\\%&" << "ABC(X)\\%";
    QTest::newRow("display keeps blank") << CharFilter::display() << "a b" << "A B";
    QTest::newRow("list exact") << CharFilter::list("XYZ") << "xXyYz" << "XY";
    QTest::newRow("hex list upper") << CharFilter::list(kHexCharacters, true) << "0fgz9A" << "0F9A";
    QTest::newRow("printable ascii") << CharFilter::printableAscii() << "A~ !" << "A~ !";
    QTest::newRow("any") << CharFilter() << "a?" << "a?";
}

void FilteredEditTest::typing() {
    QFETCH(CharFilter, filter);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    FilteredEdit edit(filter, 0);
    QTest::keyClicks(&edit, typed);
    QCOMPARE(edit.text(), shown);
}

void FilteredEditTest::nonAsciiIsDroppedFromInsertedText() {
    FilteredEdit edit(CharFilter::printableAscii(), 0);
    edit.insert(QString::fromUtf8("A\xC3\xA9\xE2\x82\xAC" "B"));
    QCOMPARE(edit.text(), QString("AB"));
}

void FilteredEditTest::backspaceAlwaysPasses() {
    FilteredEdit edit(CharFilter::list("1"), 0);
    QTest::keyClicks(&edit, "11");
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QCOMPARE(edit.text(), QString("1"));
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QCOMPARE(edit.text(), QString());
}

void FilteredEditTest::pasteKeepsGoodCharacters_data() {
    QTest::addColumn<int>("maxLength");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("shown");
    QTest::newRow("unlimited") << 0 << "1-2-3" << "123";
    // Regression: the length limit used to count the refused characters, so a
    // paste of "x1" into a one-digit field entered nothing.
    QTest::newRow("limit counts kept characters") << 1 << "x1" << "1";
    QTest::newRow("limit cuts the rest") << 2 << "1-2-3" << "12";
}

void FilteredEditTest::pasteKeepsGoodCharacters() {
    QFETCH(int, maxLength);
    QFETCH(QString, clipboard);
    QFETCH(QString, shown);
    FilteredEdit edit(CharFilter::digits(), maxLength);
    QApplication::clipboard()->setText(clipboard);
    edit.paste();
    QCOMPARE(edit.text(), shown);
}

void FilteredEditTest::typingIntoFullEditIsRefused() {
    FilteredEdit edit(CharFilter::digits(), 4);
    QTest::keyClicks(&edit, "1234");
    edit.setCursorPosition(2);
    QTest::keyClicks(&edit, "9");
    QCOMPARE(edit.text(), QString("1234"));
    QTest::keyClicks(&edit, "56");
    QCOMPARE(edit.text(), QString("1234"));
}

void FilteredEditTest::acceptsTellsWhetherAKeyWouldEnter() {
    FilteredEdit edit(CharFilter::dtmf(), 0);
    QVERIFY(edit.accepts("a"));
    QVERIFY(edit.accepts("#"));
    QVERIFY(!edit.accepts("e"));
    QVERIFY(!edit.accepts(""));
    QVERIFY(!edit.accepts("\t"));
}

void FilteredEditTest::spinReportsStepsWithoutValue() {
    SpinEdit spin(CharFilter::digits(), 2);
    QSignalSpy steps(&spin, &SpinEdit::stepped);
    spin.setText("31");
    QTest::keyClick(&spin, Qt::Key_Up);
    QTest::keyClick(&spin, Qt::Key_Down);
    QTest::keyClick(&spin, Qt::Key_Down);
    QCOMPARE(steps.size(), 3);
    QCOMPARE(steps.at(0).at(0).toInt(), 1);
    QCOMPARE(steps.at(1).at(0).toInt(), -1);
    // The owner, not the widget, changes the text.
    QCOMPARE(spin.text(), QString("31"));
    QVERIFY(!spin.isModified());
    spin.setText("3");
    spin.edit()->end(false);
    QTest::keyClicks(&spin, "x5");
    QCOMPARE(spin.text(), QString("35"));
    QVERIFY(spin.isModified());
}

void FilteredEditTest::regressionSpinWordForSpecialValueWasCutByTheFilter() {
    // A digits-only spin of two characters showed "Off" as "" and "T264" as "26".
    SpinEdit spin(CharFilter::digits(), 2);
    spin.setText("Off");
    QCOMPARE(spin.text(), QString("Off"));
    // Typing still goes through the filter and the limit.
    spin.edit()->selectAll();
    QTest::keyClicks(&spin, "x123");
    QCOMPARE(spin.text(), QString("12"));
}

void FilteredEditTest::ctrlTabSwitchesPagesAndWraps() {
    QTabWidget tabs;
    TabPageList pages(&tabs);
    pages.addPage(new QWidget, 251);
    pages.addPage(new QWidget, 252);
    pages.addPage(new QWidget, 253);
    QCOMPARE(pages.captionTextIndex(1), 252);
    QKeyEvent ctrlTab(QEvent::KeyPress, Qt::Key_Tab, Qt::ControlModifier);
    QKeyEvent ctrlShiftTab(QEvent::KeyPress, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    QKeyEvent plainTab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QVERIFY(!pages.handleKey(&plainTab));
    QVERIFY(pages.handleKey(&ctrlTab));
    QCOMPARE(pages.current(), 1);
    pages.handleKey(&ctrlTab);
    pages.handleKey(&ctrlTab);
    QCOMPARE(pages.current(), 0);
    QVERIFY(pages.handleKey(&ctrlShiftTab));
    QCOMPARE(pages.current(), 2);
}

QTEST_MAIN(FilteredEditTest)
#include "widgets_filtered_edit_test.moc"
