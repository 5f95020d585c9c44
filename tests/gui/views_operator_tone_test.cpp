// The operator selectable tone window: the grid of 16 tone pairs, the tone
// drop-down over a cell, and the grid's keys and help topics.
#include "app/commands.h"
#include "app/registries.h"
#include "features/operator_sel_tone_view.h"
#include "model/new_data.h"
#include "widgets/grid_cell_editing.h"
#include "widgets/tone_combo.h"
#include "widgets_test_support.h"

#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using namespace vrl;
using namespace vrl::gui;
using namespace vrl::gui::widgets_test;

namespace {

constexpr int kRm160K = 4; // mobile, 128 channels, market K

size_t wordAt(int row, int column) {
    return 0x0700 + 16 * size_t(row) + 2 * size_t(column - 1);
}

struct Window {
    Fixture fx;
    QPointer<COperatorSelToneView> view;
    Window() {
        newDataFor(fx.data, models::identityFor(kRm160K, 0, OptionBoard::None));
        fx.data.model.refresh();
    }
    ~Window() { delete view.data(); }
    COperatorSelToneView* open() {
        view = new COperatorSelToneView(*fx.ctx, nullptr);
        return view;
    }
    QTableWidget* grid() { return view->grid(); }
    QString cell(int row, int column) { return grid()->item(row, column)->text(); }
    uint16_t word(int row, int column) { return fx.data.image.u16(wordAt(row, column)); }
    // Opens the editor on a cell with Enter and types `text` into it.
    void typeInto(int row, int column, const QString& text) {
        grid()->setFocus();
        grid()->setCurrentCell(row, column);
        QTest::keyClick(grid(), Qt::Key_Return);
        QLineEdit* edit = view->editor(column)->lineEdit();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
};

} // namespace

class OperatorToneViewTest : public QObject {
    Q_OBJECT
  private slots:
    void gridShowsRowNumbersAndToneTexts();
    void enterStoresTheTypedToneAndMovesOn();
    void choosingFromTheListStoresAtOnce();
    void escapePutsTheCellBack();
    void gridKeysAndHelpTopics();
};

void OperatorToneViewTest::gridShowsRowNumbersAndToneTexts() {
    QVERIFY(FunctionWindowRegistry::instance().find(cmd::kOperatorSelTone));
    Window w;
    w.fx.data.image.setU16(wordAt(0, 1), 0x2013);
    w.fx.data.image.setU16(wordAt(0, 2), 0xA013);
    w.fx.data.image.setU16(wordAt(15, 1), 670);
    w.open();
    QCOMPARE(w.view->windowTitle(), QString("T473"));
    QCOMPARE(w.grid()->rowCount(), 16);
    QCOMPARE(w.grid()->horizontalHeaderItem(0)->text(), QString("T66"));
    QCOMPARE(w.grid()->horizontalHeaderItem(2)->text(), QString("T475"));
    QCOMPARE(w.cell(15, 0), QString("16"));
    QCOMPARE(w.cell(0, 1), QString("D023N"));
    QCOMPARE(w.cell(0, 2), QString("D023I"));
    QCOMPARE(w.cell(15, 1), QString("67.0"));
    QCOMPARE(w.cell(15, 2), QString("T65"));
    QCOMPARE(w.view->editor(1)->itemText(0), QString("T65"));
    QCOMPARE(w.view->editor(1)->count(), 206);
    QCOMPARE(w.grid()->currentRow(), 0);
    QCOMPARE(w.grid()->currentColumn(), 1);
}

void OperatorToneViewTest::enterStoresTheTypedToneAndMovesOn() {
    Window w;
    w.open();
    QVERIFY(showActive(w.view));
    w.typeInto(2, 1, "88,5");
    QTest::keyClick(w.view->editor(1)->lineEdit(), Qt::Key_Return);
    QCOMPARE(w.word(2, 1), uint16_t(885));
    QCOMPARE(w.cell(2, 1), QString("88.5"));
    QCOMPARE(w.grid()->currentColumn(), 2); // one cell on
    w.typeInto(2, 2, "d023i");
    QTest::keyClick(w.view->editor(2)->lineEdit(), Qt::Key_Return);
    QCOMPARE(w.word(2, 2), uint16_t(0xA813));
    QCOMPARE(w.cell(2, 2), QString("D023I"));
    QCOMPARE(w.grid()->currentRow(), 3);
    QCOMPARE(w.grid()->currentColumn(), 1);
    QCOMPARE(w.fx.data.image.u8(wordAt(2, 1) + 4), uint8_t(0xFF)); // the rest of the record
}

void OperatorToneViewTest::choosingFromTheListStoresAtOnce() {
    Window w;
    w.open();
    QVERIFY(showActive(w.view));
    w.grid()->setCurrentCell(5, 2);
    QTest::keyClick(w.grid(), Qt::Key_Return);
    QVERIFY(w.view->editing()->isOpen());
    CToneCombo* combo = w.view->editor(2);
    combo->setCurrentIndex(combo->findText("67.0"));
    emit combo->activated(combo->currentIndex());
    QCOMPARE(w.word(5, 2), uint16_t(670));
    QCOMPARE(w.cell(5, 2), QString("67.0"));
    QVERIFY(w.view->editing()->isOpen());
    // Tab leaves the editor for Close, storing the cell again.
    QTest::keyClick(combo->lineEdit(), Qt::Key_Tab);
    QVERIFY(!w.view->editing()->isOpen());
    QVERIFY(w.view->closeButton()->hasFocus());
    QCOMPARE(w.word(5, 2), uint16_t(670));
}

void OperatorToneViewTest::escapePutsTheCellBack() {
    Window w;
    w.fx.data.image.setU16(wordAt(1, 1), 885);
    w.open();
    QVERIFY(showActive(w.view));
    w.typeInto(1, 1, "100");
    QTest::keyClick(w.view->editor(1)->lineEdit(), Qt::Key_Escape);
    QVERIFY(!w.view->editing()->isOpen());
    QVERIFY(w.view); // Esc in the editor does not close the window
    QCOMPARE(w.word(1, 1), uint16_t(885));
    QCOMPARE(w.cell(1, 1), QString("88.5"));
    // Delete opens the editor empty; leaving it so stores no tone.
    QTest::keyClick(w.grid(), Qt::Key_Delete);
    QVERIFY(w.view->editing()->isOpen());
    QTest::keyClick(w.view->editor(1)->lineEdit(), Qt::Key_Return);
    QCOMPARE(w.word(1, 1), uint16_t(0xFFFF));
    QCOMPARE(w.cell(1, 1), QString("T65"));
}

void OperatorToneViewTest::gridKeysAndHelpTopics() {
    Window w;
    w.open();
    QVERIFY(showActive(w.view));
    QVERIFY(w.grid()->hasFocus());
    QTest::keyClick(w.grid(), Qt::Key_End);
    QCOMPARE(w.grid()->currentRow(), 15);
    QCOMPARE(w.grid()->currentColumn(), 1);
    QTest::keyClick(w.grid(), Qt::Key_F1);
    QTest::keyClick(w.grid(), Qt::Key_Right);
    QTest::keyClick(w.grid(), Qt::Key_F1);
    QTest::keyClick(w.grid(), Qt::Key_Home);
    QCOMPARE(w.grid()->currentRow(), 0);
    QCOMPARE(w.grid()->currentColumn(), 2);
    QTest::keyClick(w.grid(), Qt::Key_7); // a tone character opens the editor
    QVERIFY(w.view->editing()->isOpen());
    QCOMPARE(w.view->editor(2)->currentText(), QString("7"));
    QTest::keyClick(w.view->editor(2)->lineEdit(), Qt::Key_Escape);
    w.view->helpButton()->setFocus();
    QTest::keyClick(w.view->helpButton(), Qt::Key_F1);
    QCOMPARE(w.fx.helpTopics, (QVector<int>{0x200D2, 0x200D5, 0x20086}));
}

QTEST_MAIN(OperatorToneViewTest)
#include "views_operator_tone_test.moc"
