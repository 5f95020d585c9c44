// The test frequency window: typing into a cell, Enter moving on, the band warning,
// the default table after the last frequency is cleared, and the Close reminder.
#include "model/new_data.h"
#include "service/test_frequency_view.h"
#include "widgets/filtered_edit.h"
#include "widgets/grid_cell_editing.h"
#include "widgets_test_support.h"

#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using namespace vrl;
using namespace vrl::gui;
using namespace vrl::gui::widgets_test;

namespace {

struct Window {
    Fixture fx;
    std::unique_ptr<CTestFrequencyView> view;
    TestFrequencyTable table{fx.data};
    Window() {
        newDataFor(fx.data, models::identityFor(0, 0, OptionBoard::None)); // 148-174 MHz
        fx.data.model.refresh();
        view = std::make_unique<CTestFrequencyView>(*fx.ctx, nullptr);
    }
    QTableWidget* grid() { return view->grid(); }
    QString cell(int row, int column) { return grid()->item(row, column)->text(); }
    // Types `text` into the current cell and stores it with Enter.
    void type(int row, int column, const QString& text) {
        grid()->setCurrentCell(row, column);
        grid()->setFocus();
        if (text.isEmpty()) {
            QTest::keyClick(grid(), Qt::Key_Delete);
        } else {
            QTest::keyClicks(grid(), text.left(1));
            QTest::keyClicks(QApplication::focusWidget(), text.mid(1));
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QApplication::processEvents(); // posted warnings
    }
};

} // namespace

class TestFrequencyViewTest : public QObject {
    Q_OBJECT
  private slots:
    void opensOnTheFirstReceiveCellWithTheImagesFrequencies() {
        Window w;
        QVERIFY(showActive(w.view.get()));
        QCOMPARE(w.grid()->rowCount(), kTestChannelCount);
        QCOMPARE(w.grid()->currentRow(), 0);
        QCOMPARE(w.grid()->currentColumn(), 1);
        QCOMPARE(w.cell(15, 0), QStringLiteral("16"));
        QCOMPARE(w.cell(0, 1), QString::fromStdString(w.table.receiveText(1)));
        QCOMPARE(w.cell(2, 2), QString::fromStdString(w.table.transmitText(3)));
        QVERIFY(w.cell(6, 1).isEmpty());
        QCOMPARE(w.view->windowTitle(), QStringLiteral("T469"));
    }

    void typedFrequenciesAreStoredCommaOrPoint() {
        Window w;
        QVERIFY(showActive(w.view.get()));
        w.type(7, 1, QStringLiteral("150,0125"));
        QCOMPARE(w.cell(7, 1), QStringLiteral("150.01250"));
        w.type(7, 2, QStringLiteral("151.5"));
        QCOMPARE(QString::fromStdString(w.table.transmitText(8)), QStringLiteral("151.50000"));
        // Letters never reach the cell.
        w.type(8, 1, QStringLiteral("1x52"));
        QCOMPARE(w.cell(8, 1), QStringLiteral("152.00000"));
        QVERIFY(w.fx.messages.asked.isEmpty());
    }

    void anOutOfBandFrequencyIsStoredWithAWarning() {
        Window w;
        QVERIFY(showActive(w.view.get()));
        w.type(9, 1, QStringLiteral("180"));
        QCOMPARE(w.cell(9, 1), QStringLiteral("180.00000"));
        QCOMPARE(w.fx.messages.asked.size(), 1);
        QCOMPARE(w.fx.messages.asked[0].text, QStringLiteral("T9"));
        QCOMPARE(w.fx.messages.asked[0].caption, QStringLiteral("T82"));
        QCOMPARE(w.fx.messages.asked[0].icon, MessageService::Icon::Warning);
    }

    void enterOnTheGridMovesRightThenDown() {
        Window w;
        QVERIFY(showActive(w.view.get()));
        QTest::keyClick(w.grid(), Qt::Key_Return);
        QCOMPARE(w.grid()->currentColumn(), 2);
        QVERIFY(!w.view->editing()->isOpen());
        QTest::keyClick(w.grid(), Qt::Key_Return);
        QCOMPARE(w.grid()->currentRow(), 1);
        QCOMPARE(w.grid()->currentColumn(), 1);
        QTest::keyClick(w.grid(), Qt::Key_Left);
        QCOMPARE(w.grid()->currentColumn(), 1); // the number column is not a cell to edit
        w.grid()->setCurrentCell(15, 2);
        QTest::keyClick(w.grid(), Qt::Key_Return);
        QCOMPARE(w.grid()->currentRow(), 15);
    }

    void escapePutsTheCellBack() {
        Window w;
        QVERIFY(showActive(w.view.get()));
        const QString before = w.cell(0, 1);
        QTest::keyClicks(w.grid(), QStringLiteral("9"));
        QVERIFY(w.view->editing()->isOpen());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QCOMPARE(w.cell(0, 1), before);
        QVERIFY(w.view->isVisible());
    }

    void clearingTheLastFrequencyBringsBackTheDefaults() {
        Window w;
        const QString firstDefault = w.cell(0, 1);
        QVERIFY(showActive(w.view.get()));
        for (int row = 0; row < 6; ++row) {
            w.type(row, 2, QString());
            if (row > 0) w.type(row, 1, QString());
        }
        w.type(0, 1, QString()); // the last one: the defaults come back
        QCOMPARE(w.cell(0, 1), firstDefault);
        QVERIFY(!w.cell(5, 2).isEmpty());
        QVERIFY(!w.table.allBlank());
    }

    void closeRemindsOfWritingTheRadio() {
        Window w;
        QVERIFY(showActive(w.view.get()));
        w.view->closeButton()->click();
        QCOMPARE(w.fx.messages.asked.size(), 1);
        QCOMPARE(w.fx.messages.asked[0].text, QStringLiteral("T38"));
        QCOMPARE(w.fx.messages.asked[0].caption, QStringLiteral("T80"));
        QCOMPARE(w.fx.messages.asked[0].icon, MessageService::Icon::Information);
    }

    void screenshotWithTheProgramsTexts() {
        if (qEnvironmentVariableIsEmpty("VRL_SCREENSHOT_DIR")) QSKIP("VRL_SCREENSHOT_DIR not set");
        Window w;
        QCOMPARE(w.fx.lang.loadFile(VRL_SOURCE_DIR "/data/vrl73m.lng"), LanguageLoadStatus::Ok);
        emit w.fx.ctx->languageChanged();
        w.view->retranslate();
        w.table.setReceiveText(7, "155.5");
        w.table.setTransmitText(7, "156.0125");
        w.view->refresh();
        QVERIFY(showActive(w.view.get()));
        w.view->adjustSize();
        screenshot(w.view.get(), QStringLiteral("test_frequency"));
    }
};

QTEST_MAIN(TestFrequencyViewTest)
#include "service_test_frequency_view_test.moc"
