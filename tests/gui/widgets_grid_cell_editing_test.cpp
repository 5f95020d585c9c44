// GridCellEditing: the keys that open, store and cancel a cell editor.
#include "widgets/filtered_edit.h"
#include "widgets/grid_cell_editing.h"
#include "widgets_test_support.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QVBoxLayout>

using namespace vrl::gui;
using namespace vrl::gui::widgets_test;

namespace {

// A 3 x 4 grid: column 1 a digits edit, column 2 a list, columns 0 and 3 read-only.
// Every store is recorded and the cell shows "<text>!" to prove the committer's
// text is what the cell shows.
struct Grid {
    QWidget window;
    QTableWidget* table = new QTableWidget(3, 4, &window);
    QLineEdit* other = new QLineEdit(&window);
    GridCellEditing editing{table};
    QStringList stored;

    Grid() {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(table);
        layout->addWidget(other);
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 4; ++c)
                table->setItem(r, c, new QTableWidgetItem(QStringLiteral("%1%2").arg(r).arg(c)));
        auto record = [this](int row, int column, const QString& text) {
            stored << QStringLiteral("%1,%2=%3").arg(row).arg(column).arg(text);
            return text + QLatin1Char('!');
        };
        editing.addEditColumn(1, record)->setFilter(CharFilter::digits());
        editing.addListColumn(2, {"OFF", "ON"}, record);
        table->item(0, 2)->setText("ON");
    }
    FilteredEdit* edit() const { return static_cast<FilteredEdit*>(editing.editor(1)); }
    QComboBox* list() const { return static_cast<QComboBox*>(editing.editor(2)); }
    void at(int row, int column) {
        table->setCurrentCell(row, column);
        table->setFocus();
    }
    QString cell(int row, int column) const { return table->item(row, column)->text(); }
};

} // namespace

class GridCellEditingTest : public QObject {
    Q_OBJECT
  private slots:
    void enterOpensWithCellTextAndEnterStores();
    void deleteOpensEmpty();
    void acceptedKeyOpensAndIsPassedOn();
    void refusedKeyDoesNotOpen();
    void escapeRestoresCellWithoutStoring();
    void losingFocusStores();
    void readOnlyColumnsDoNotOpen();
    void listColumnOpensOnItemAndStoresChoice();
    void keysInEditorDoNotMoveTheGrid();
    void regressionDropDownKeysOpenTheList_data();
    void regressionDropDownKeysOpenTheList();
};

void GridCellEditingTest::enterOpensWithCellTextAndEnterStores() {
    Grid g;
    QVERIFY(showActive(&g.window));
    g.at(1, 1);
    QTest::keyClick(g.table, Qt::Key_Return);
    QVERIFY(g.editing.isOpen());
    QVERIFY(g.edit()->isVisible());
    QVERIFY(g.edit()->hasFocus());
    QCOMPARE(g.edit()->text(), QString("11"));
    QCOMPARE(g.edit()->selectedText(), QString("11"));
    QSignalSpy byEnter(&g.editing, &GridCellEditing::returnedByEnter);
    QTest::keyClicks(g.edit(), "42");
    QTest::keyClick(g.edit(), Qt::Key_Return);
    QVERIFY(!g.editing.isOpen());
    QVERIFY(!g.edit()->isVisible());
    QVERIFY(g.table->hasFocus());
    QCOMPARE(g.stored, QStringList{"1,1=42"});
    QCOMPARE(g.cell(1, 1), QString("42!"));
    QCOMPARE(byEnter.size(), 1);
}

void GridCellEditingTest::deleteOpensEmpty() {
    Grid g;
    QVERIFY(showActive(&g.window));
    g.at(2, 1);
    QTest::keyClick(g.table, Qt::Key_Delete);
    QVERIFY(g.editing.isOpen());
    QCOMPARE(g.edit()->text(), QString());
    QTest::keyClick(g.edit(), Qt::Key_Enter);
    QCOMPARE(g.stored, QStringList{"2,1="});
}

void GridCellEditingTest::acceptedKeyOpensAndIsPassedOn() {
    Grid g;
    QVERIFY(showActive(&g.window));
    g.at(0, 1);
    QTest::keyClick(g.table, Qt::Key_7);
    QVERIFY(g.editing.isOpen());
    QCOMPARE(g.edit()->text(), QString("7"));
    QTest::keyClicks(g.edit(), "8");
    QTest::keyClick(g.edit(), Qt::Key_Return);
    QCOMPARE(g.stored, QStringList{"0,1=78"});
}

void GridCellEditingTest::refusedKeyDoesNotOpen() {
    Grid g;
    QVERIFY(showActive(&g.window));
    g.at(0, 1);
    QTest::keyClick(g.table, Qt::Key_X);
    QVERIFY(!g.editing.isOpen());
    QCOMPARE(g.cell(0, 1), QString("01"));
    QVERIFY(g.stored.isEmpty());
}

void GridCellEditingTest::escapeRestoresCellWithoutStoring() {
    Grid g;
    QVERIFY(showActive(&g.window));
    g.at(1, 1);
    QTest::keyClick(g.table, Qt::Key_5);
    QCOMPARE(g.edit()->text(), QString("5"));
    QTest::keyClick(g.edit(), Qt::Key_Escape);
    QVERIFY(!g.editing.isOpen());
    QVERIFY(g.table->hasFocus());
    QCOMPARE(g.cell(1, 1), QString("11"));
    // The editor holds the cell's text again.
    QCOMPARE(g.edit()->text(), QString("11"));
    QVERIFY(g.stored.isEmpty());
}

void GridCellEditingTest::losingFocusStores() {
    Grid g;
    QVERIFY(showActive(&g.window));
    g.at(1, 1);
    QTest::keyClick(g.table, Qt::Key_3);
    g.other->setFocus(Qt::MouseFocusReason);
    QVERIFY(!g.editing.isOpen());
    QCOMPARE(g.stored, QStringList{"1,1=3"});
    QCOMPARE(g.cell(1, 1), QString("3!"));
}

void GridCellEditingTest::readOnlyColumnsDoNotOpen() {
    Grid g;
    QVERIFY(showActive(&g.window));
    for (int column : {0, 3}) {
        g.at(1, column);
        QTest::keyClick(g.table, Qt::Key_Return);
        QTest::keyClick(g.table, Qt::Key_Delete);
        QTest::keyClick(g.table, Qt::Key_5);
        QVERIFY(!g.editing.isOpen());
    }
    QVERIFY(!g.editing.open(0, 0));
    QVERIFY(g.stored.isEmpty());
}

void GridCellEditingTest::listColumnOpensOnItemAndStoresChoice() {
    Grid g;
    QVERIFY(showActive(&g.window));
    g.at(0, 2);
    QTest::keyClick(g.table, Qt::Key_Return);
    QVERIFY(g.editing.isOpen());
    QCOMPARE(g.list()->currentText(), QString("ON"));
    QTest::keyClick(g.list(), Qt::Key_Up);
    QTest::keyClick(g.list(), Qt::Key_Return);
    QCOMPARE(g.stored, QStringList{"0,2=OFF"});
    g.at(1, 2); // "12" is no item: the list opens with no choice
    QTest::keyClick(g.table, Qt::Key_Return);
    QCOMPARE(g.list()->currentIndex(), -1);
    QTest::keyClick(g.list(), Qt::Key_Escape);
    QCOMPARE(g.stored.size(), 1);
}

void GridCellEditingTest::keysInEditorDoNotMoveTheGrid() {
    Grid g;
    QVERIFY(showActive(&g.window));
    g.at(1, 1);
    QTest::keyClick(g.table, Qt::Key_Return);
    QTest::keyClick(g.edit(), Qt::Key_Down);
    QTest::keyClick(g.edit(), Qt::Key_PageDown);
    QCOMPARE(g.table->currentRow(), 1);
    QVERIFY(g.editing.isOpen());
}

void GridCellEditingTest::regressionDropDownKeysOpenTheList_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("editorOpenFirst");
    for (bool first : {false, true}) {
        const char* where = first ? "in the open editor" : "on the cell";
        QTest::addRow("Alt+Down %s", where) << int(Qt::Key_Down) << int(Qt::AltModifier) << first;
        QTest::addRow("Alt+Up %s", where) << int(Qt::Key_Up) << int(Qt::AltModifier) << first;
        QTest::addRow("F4 %s", where) << int(Qt::Key_F4) << int(Qt::NoModifier) << first;
    }
}

// Alt+Down closed the drop-down and sent the focus elsewhere instead of showing
// the list.
void GridCellEditingTest::regressionDropDownKeysOpenTheList() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, editorOpenFirst);
    Grid g;
    QVERIFY(showActive(&g.window));
    g.at(1, 2);
    if (editorOpenFirst) QTest::keyClick(g.table, Qt::Key_Return);
    QWidget* target = editorOpenFirst ? static_cast<QWidget*>(g.list()) : g.table;
    QTest::keyClick(target, static_cast<Qt::Key>(key), Qt::KeyboardModifiers(modifiers));
    QVERIFY(g.editing.isOpen());
    QTRY_VERIFY(g.list()->view()->isVisible());
    // The pop-up taking the focus as a window of its own does not close the editor.
    QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(g.list(), &away);
    QVERIFY(g.editing.isOpen());
    QCOMPARE(g.table->currentRow(), 1);
    QVERIFY(g.stored.isEmpty());
    g.list()->hidePopup();
    // A read-only column does not open anything.
    QTest::keyClick(g.list(), Qt::Key_Escape);
    g.at(1, 3);
    QTest::keyClick(g.table, static_cast<Qt::Key>(key), Qt::KeyboardModifiers(modifiers));
    QVERIFY(!g.editing.isOpen());
}

QTEST_MAIN(GridCellEditingTest)
#include "widgets_grid_cell_editing_test.moc"
