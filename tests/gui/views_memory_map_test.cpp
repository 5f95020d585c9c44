// The memory map: layout, the keys of the grid and its editors, commits, and Close
// against Escape.
#include "features/memory_map.h"
#include "output/memory_map_dlg.h"
#include "widgets/grid_cell_editing.h"
#include "widgets_test_support.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

using namespace vrl;
using namespace vrl::gui;
using namespace vrl::gui::widgets_test;

namespace {

// Rows and columns below are the map's (caption row and label column count as 0).
struct Map {
    Fixture fx;
    CMemoryMapDlg* dlg;
    QTableWidget* grid;
    Map() {
        for (size_t i = 0; i < 0x8000; ++i) fx.data.image.setU8(i, static_cast<uint8_t>(i * 7));
        fx.data.image.takeSnapshot();
        dlg = new CMemoryMapDlg(*fx.ctx, nullptr);
        grid = dlg->grid();
    }
    ~Map() { delete dlg; }
    void at(int row, int column) {
        grid->setCurrentCell(row - 1, column - 1);
        grid->setFocus();
    }
    QString cell(int row, int column) {
        grid->scrollTo(grid->model()->index(row - 1, column - 1));
        dlg->fillVisibleRows();
        auto* item = grid->item(row - 1, column - 1);
        return item ? item->text() : QString();
    }
    QLineEdit* editor() const {
        return qobject_cast<QLineEdit*>(dlg->editing()->editor(dlg->editing()->column()));
    }
    uint8_t byte(size_t offset) const { return fx.data.image.u8(offset); }
    int row() const { return grid->currentRow() + 1; }
    int column() const { return grid->currentColumn() + 1; }
};

} // namespace

class MemoryMapTest : public QObject {
    Q_OBJECT
  private slots:
    void layoutTopRowIsHighestLine();
    void cellsShowBytesAsHexAndCharacters();
    void hexDigitThenEnterWritesByteAndMovesRight();
    void deleteThenEnterWritesFF();
    void backspaceOpensEmptyAndClickOpensEditor();
    void characterCellUpdatesHexCell();
    void escapeInEditorRestoresCell();
    void arrowsWrapBetweenLines();
    void homeAndEnd();
    void keysOnSeparatorDoNothing();
    void addressBoxFollowsCurrentCell();
    void escapeDiscardsAllEdits();
    void closeKeepsEditsAndRefreshesWindows();
    void enterOnCloseButtonCloses();
};

void MemoryMapTest::layoutTopRowIsHighestLine() {
    Map m;
    QCOMPARE(m.grid->rowCount(), 2048);
    QCOMPARE(m.grid->columnCount(), 33);
    QCOMPARE(m.grid->verticalHeaderItem(0)->text(), QString("7FF_"));
    QCOMPARE(m.grid->verticalHeaderItem(2047)->text(), QString("000_"));
    QCOMPARE(m.grid->horizontalHeaderItem(0)->text(), QString("_0"));
    QCOMPARE(m.grid->horizontalHeaderItem(15)->text(), QString("_F"));
    QCOMPARE(m.grid->horizontalHeaderItem(16)->text(), QString());
    QCOMPARE(m.grid->horizontalHeaderItem(17)->text(), QString("_0"));
    QCOMPARE(m.grid->horizontalHeaderItem(32)->text(), QString("_F"));
    QCOMPARE(m.dlg->windowTitle(), QString("Memory Map"));
    QCOMPARE(m.dlg->closeButton()->text(), QString("Close"));
}

void MemoryMapTest::cellsShowBytesAsHexAndCharacters() {
    Map m;
    m.fx.data.image.setU8(0x7FFF, 0x41);
    m.fx.data.image.setU8(0x0000, 0x5A);
    m.fx.data.image.setU8(0x000F, 0x01);
    QVERIFY(showActive(m.dlg));
    QCOMPARE(m.cell(1, 16), QString("41"));
    QCOMPARE(m.cell(1, 33), QString("A"));
    QCOMPARE(m.cell(2048, 1), QString("5A"));
    QCOMPARE(m.cell(2048, 18), QString("Z"));
    QCOMPARE(m.cell(2048, 16), QString("01"));
    QCOMPARE(m.cell(2048, 33), QString());
}

void MemoryMapTest::hexDigitThenEnterWritesByteAndMovesRight() {
    Map m;
    QVERIFY(showActive(m.dlg));
    m.at(2048, 1);
    QTest::keyClick(m.grid, Qt::Key_A);
    QVERIFY(m.dlg->editing()->isOpen());
    QCOMPARE(m.editor()->text(), QString("A"));
    QTest::keyClick(m.editor(), Qt::Key_Return);
    QCOMPARE(m.byte(0x0000), 0x0A);
    QCOMPARE(m.cell(2048, 1), QString("0A"));
    QCOMPARE(m.column(), 2);
    QVERIFY(m.grid->hasFocus());
    // Lower-case digits are upper-cased as typed.
    QTest::keyClick(m.grid, 'b');
    QTest::keyClick(m.editor(), 'c');
    QCOMPARE(m.editor()->text(), QString("BC"));
    QTest::keyClick(m.editor(), Qt::Key_Enter);
    QCOMPARE(m.byte(0x0001), 0xBC);
}

void MemoryMapTest::deleteThenEnterWritesFF() {
    Map m;
    QVERIFY(showActive(m.dlg));
    m.at(2047, 3); // offset 0x12
    QTest::keyClick(m.grid, Qt::Key_Delete);
    QCOMPARE(m.editor()->text(), QString());
    QTest::keyClick(m.editor(), Qt::Key_Return);
    QCOMPARE(m.byte(0x0012), 0xFF);
    QCOMPARE(m.cell(2047, 3), QString("FF"));
}

void MemoryMapTest::backspaceOpensEmptyAndClickOpensEditor() {
    Map m;
    QVERIFY(showActive(m.dlg));
    m.at(2048, 2);
    QTest::keyClick(m.grid, Qt::Key_Backspace);
    QVERIFY(m.dlg->editing()->isOpen());
    QCOMPARE(m.editor()->text(), QString());
    QTest::keyClick(m.editor(), Qt::Key_Escape);
    QCOMPARE(m.byte(0x0001), 7);
    const QRect r = m.grid->visualRect(m.grid->model()->index(2047, 4));
    QTest::mouseClick(m.grid->viewport(), Qt::LeftButton, {}, r.center());
    QVERIFY(m.dlg->editing()->isOpen());
    QCOMPARE(m.dlg->editing()->column(), 4);
    QCOMPARE(m.editor()->text(), QString("1C")); // 4 * 7
}

void MemoryMapTest::characterCellUpdatesHexCell() {
    Map m;
    QVERIFY(showActive(m.dlg));
    m.at(2048, 20); // offset 2, shown in column 3 as hex
    QTest::keyClick(m.grid, 'Q');
    QCOMPARE(m.editor()->text(), QString("Q"));
    QTest::keyClick(m.editor(), Qt::Key_Return);
    QCOMPARE(m.byte(0x0002), uint8_t('Q'));
    QCOMPARE(m.cell(2048, 3), QString("51"));
    QCOMPARE(m.cell(2048, 20), QString("Q"));
    QCOMPARE(m.column(), 21);
    // An empty character editor leaves the byte alone.
    QTest::keyClick(m.grid, Qt::Key_Delete);
    QTest::keyClick(m.editor(), Qt::Key_Return);
    QCOMPARE(m.byte(0x0003), 21);
}

void MemoryMapTest::escapeInEditorRestoresCell() {
    Map m;
    QVERIFY(showActive(m.dlg));
    m.at(2048, 5);
    QTest::keyClick(m.grid, Qt::Key_7);
    QTest::keyClick(m.editor(), Qt::Key_Escape);
    QVERIFY(!m.dlg->editing()->isOpen());
    QVERIFY(m.dlg->isVisible()); // the first Escape only leaves the editor
    QCOMPARE(m.byte(0x0004), 28);
    QCOMPARE(m.cell(2048, 5), QString("1C"));
}

void MemoryMapTest::arrowsWrapBetweenLines() {
    Map m;
    QVERIFY(showActive(m.dlg));
    m.at(memmap::rowOfLine(0x7FE), 16);
    QTest::keyClick(m.grid, Qt::Key_Right);
    QCOMPARE(m.row(), memmap::rowOfLine(0x7FF));
    QCOMPARE(m.column(), 1);
    QTest::keyClick(m.grid, Qt::Key_Left);
    QCOMPARE(m.row(), memmap::rowOfLine(0x7FE));
    QCOMPARE(m.column(), 16);
    m.at(5, 33);
    QTest::keyClick(m.grid, Qt::Key_Right);
    QCOMPARE(m.row(), 4);
    QCOMPARE(m.column(), 18);
    m.at(5, 7);
    QTest::keyClick(m.grid, Qt::Key_Right);
    QCOMPARE(m.row(), 5);
    QCOMPARE(m.column(), 8);
    // Enter after an edit in column 16 goes on to the next higher address.
    m.at(3, 16);
    QTest::keyClick(m.grid, Qt::Key_Return);
    QTest::keyClick(m.editor(), Qt::Key_Return);
    QCOMPARE(m.row(), 2);
    QCOMPARE(m.column(), 1);
}

void MemoryMapTest::homeAndEnd() {
    Map m;
    QVERIFY(showActive(m.dlg));
    m.at(100, 9);
    QTest::keyClick(m.grid, Qt::Key_Home);
    QCOMPARE(m.row(), 100);
    QCOMPARE(m.column(), 1);
    QTest::keyClick(m.grid, Qt::Key_End);
    QCOMPARE(m.row(), 100);
    QCOMPARE(m.column(), 33);
    QTest::keyClick(m.grid, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(m.row(), 2048);
    QTest::keyClick(m.grid, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(m.row(), 1);
    QCOMPARE(m.column(), 1);
}

void MemoryMapTest::keysOnSeparatorDoNothing() {
    Map m;
    QVERIFY(showActive(m.dlg));
    m.at(2048, 17);
    QTest::keyClick(m.grid, Qt::Key_A);
    QTest::keyClick(m.grid, Qt::Key_Return);
    QTest::keyClick(m.grid, Qt::Key_Delete);
    QVERIFY(!m.dlg->editing()->isOpen());
    QVERIFY(m.dlg->isVisible());
    QVERIFY(!m.fx.data.image.isModified());
}

void MemoryMapTest::addressBoxFollowsCurrentCell() {
    Map m;
    QVERIFY(showActive(m.dlg));
    m.at(1, 16);
    QCOMPARE(m.dlg->addressBox()->text(), QString("7FFF"));
    m.at(2048, 20);
    QCOMPARE(m.dlg->addressBox()->text(), QString("0002"));
    screenshot(m.dlg, "memory_map");
}

void MemoryMapTest::escapeDiscardsAllEdits() {
    Map m;
    std::vector<uint8_t> before(m.fx.data.image.bytes().begin(), m.fx.data.image.bytes().end());
    QVERIFY(showActive(m.dlg));
    m.at(2048, 1);
    QTest::keyClicks(m.grid, "5");
    QTest::keyClick(m.editor(), Qt::Key_Return);
    m.at(1, 33);
    QTest::keyClicks(m.grid, "z");
    QTest::keyClick(m.editor(), Qt::Key_Return);
    QVERIFY(m.fx.data.image.isModified());
    QSignalSpy refreshed(m.fx.ctx.get(), &AppContext::dataChanged);
    QTest::keyClick(m.grid, Qt::Key_Escape);
    QCOMPARE(m.dlg->result(), int(QDialog::Rejected));
    QVERIFY(!m.dlg->isVisible());
    const std::vector<uint8_t> after(m.fx.data.image.bytes().begin(), m.fx.data.image.bytes().end());
    QVERIFY(after == before);
    QVERIFY(!m.fx.data.image.isModified());
    QCOMPARE(refreshed.size(), 0);
}

void MemoryMapTest::closeKeepsEditsAndRefreshesWindows() {
    Map m;
    QVERIFY(showActive(m.dlg));
    QSignalSpy refreshed(m.fx.ctx.get(), &AppContext::dataChanged);
    m.at(2048, 1);
    QTest::keyClicks(m.grid, "3");
    // Clicking Close stores the open editor first.
    QTest::mouseClick(m.dlg->closeButton(), Qt::LeftButton);
    QCOMPARE(m.dlg->result(), int(QDialog::Accepted));
    QCOMPARE(m.byte(0x0000), 0x03);
    QVERIFY(m.fx.data.image.isModified());
    QCOMPARE(refreshed.size(), 1);
    QVERIFY(!m.dlg->identityChanged());
}

void MemoryMapTest::enterOnCloseButtonCloses() {
    Map m;
    QVERIFY(showActive(m.dlg));
    m.dlg->closeButton()->setFocus();
    QTest::keyClick(m.dlg->closeButton(), Qt::Key_Return);
    QCOMPARE(m.dlg->result(), int(QDialog::Accepted));
    QVERIFY(!m.dlg->isVisible());
}

QTEST_MAIN(MemoryMapTest)
#include "views_memory_map_test.moc"
