// The extended function window: the reverse-burst phase byte at 0x2D3.
#include "features/ext_func_view.h"
#include "widgets_test_support.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace vrl;
using namespace vrl::gui;
using namespace vrl::gui::widgets_test;

class ExtFuncViewTest : public QObject {
    Q_OBJECT
  private slots:
    void textsAndItems();
    void storedByteSelectsItem_data();
    void storedByteSelectsItem();
    void unknownByteShowsNoItemAndStaysUntilChosen();
    void choosingWithKeysWritesTheByte();
    void comboHasFocusAndHelpTopics();
};

void ExtFuncViewTest::textsAndItems() {
    Fixture fx;
    CExtFuncView view(*fx.ctx, nullptr);
    QCOMPARE(CExtFuncView::titleTextIndex(), 477);
    QCOMPARE(view.windowTitle(), QString("Extended Function"));
    QCOMPARE(view.closeButton()->text(), QString("Close"));
    QVERIFY(view.findChild<QLabel*>()->text() == QString("ST Reverse Burst Phase [deg]"));
    QCOMPARE(view.phaseCombo()->count(), 2);
    QCOMPARE(view.phaseCombo()->itemText(0), QString("+180"));
    QCOMPARE(view.phaseCombo()->itemText(1), QString("-120"));
}

void ExtFuncViewTest::storedByteSelectsItem_data() {
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("item");
    QTest::newRow("0xFF +180") << 0xFF << 0;
    QTest::newRow("0x00 -120") << 0x00 << 1;
    QTest::newRow("0x01 none") << 0x01 << -1;
}

void ExtFuncViewTest::storedByteSelectsItem() {
    QFETCH(int, stored);
    QFETCH(int, item);
    Fixture fx;
    fx.data.image.setU8(0x2D3, static_cast<uint8_t>(stored));
    CExtFuncView view(*fx.ctx, nullptr);
    QCOMPARE(view.phaseCombo()->currentIndex(), item);
}

void ExtFuncViewTest::unknownByteShowsNoItemAndStaysUntilChosen() {
    Fixture fx;
    fx.data.image.setU8(0x2D3, 0x55);
    CExtFuncView view(*fx.ctx, nullptr);
    QVERIFY(showActive(&view));
    QCOMPARE(view.phaseCombo()->currentIndex(), -1);
    view.refresh();
    view.closeButton()->setFocus(Qt::TabFocusReason);
    QCOMPARE(fx.data.image.u8(0x2D3), 0x55);
    emit view.phaseCombo()->activated(1);
    QCOMPARE(fx.data.image.u8(0x2D3), 0x00);
    QCOMPARE(view.phaseCombo()->currentIndex(), 1);
}

void ExtFuncViewTest::choosingWithKeysWritesTheByte() {
    Fixture fx;
    CExtFuncView view(*fx.ctx, nullptr);
    QVERIFY(showActive(&view));
    QCOMPARE(fx.data.image.u8(0x2D3), 0xFF);
    QTest::keyClick(view.phaseCombo(), Qt::Key_Down);
    QCOMPARE(fx.data.image.u8(0x2D3), 0x00);
    QTest::keyClick(view.phaseCombo(), Qt::Key_Up);
    QCOMPARE(fx.data.image.u8(0x2D3), 0xFF);
    QCOMPARE(fx.data.image.u8(0x2D2), 0xFF);
    QCOMPARE(fx.data.image.u8(0x2D4), 0xFF);
}

void ExtFuncViewTest::comboHasFocusAndHelpTopics() {
    Fixture fx;
    auto* view = new CExtFuncView(*fx.ctx, nullptr);
    QPointer<CExtFuncView> guard(view);
    QVERIFY(showActive(view));
    QVERIFY(view->phaseCombo()->hasFocus());
    screenshot(view, "extended_function");
    QTest::keyClick(view->phaseCombo(), Qt::Key_F1);
    QTest::keyClick(view->phaseCombo(), Qt::Key_Return); // acts as Tab: on to Close
    QVERIFY(view->closeButton()->hasFocus());
    QTest::keyClick(view->closeButton(), Qt::Key_F1);
    QCOMPARE(fx.helpTopics, (QVector<int>{0x20000 + 1577, 0x20000 + 187}));
    QTest::keyClick(view->closeButton(), Qt::Key_Return);
    QTRY_VERIFY(guard.isNull());
}

QTEST_MAIN(ExtFuncViewTest)
#include "views_ext_func_test.moc"
