// The channel information window: typing into the grid, row copy/paste/delete,
// group moves, title and status line.
#include "app/ui_helpers.h"
#include "channels/channel_grid.h"
#include "channels/channel_info_view.h"
#include "channels/channel_services.h"
#include "model/new_data.h"
#include "widgets_test_support.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTest>

using namespace vrl;
using namespace vrl::gui;
using namespace vrl::gui::widgets_test;

namespace {
struct ChannelWindow {
    Fixture fx;
    std::unique_ptr<CChannelInfoView> view;
    explicit ChannelWindow(int row = 4) {
        newDataFor(fx.data, models::identityFor(row, 0, OptionBoard::None));
        view = std::make_unique<CChannelInfoView>(*fx.ctx, nullptr);
    }
    ChannelStore& store() { return ChannelServices::of(*fx.ctx).store(); }
    CChannelGrid* grid() { return view->grid(); }
    void type(const QString& keys) { QTest::keyClicks(QApplication::focusWidget(), keys); }
    void key(int k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(k), m);
    }
    void selectRows(int first, int last) {
        grid()->clearSelection();
        grid()->setCurrentCell(last, 0);
        grid()->setRangeSelected({first, 0, last, grid()->columnCount() - 1}, true);
    }
};
} // namespace

class ChannelInfoViewTest : public QObject {
    Q_OBJECT
  private slots:
    void typingIntoMissingChannelCreatesIt();
    void otherCellsOfMissingChannelStayClosed();
    void cannotCreateShowsTheError();
    void copyAndPasteIntoAnotherGroup();
    void selectionDeleteRemovesOnlyExistingChannels();
    void groupKeysWrapAndRetitle();
    void statusLineShowsFreeMemory();
    void outOfBandWarns();
    void boldHeaderOfTheCurrentColumnFits();
    void regressionColumnsWidenedOnTheFirstGroupMove();
    void regressionEnterInATextCellMovesToTheNextColumn();
    void altDownOpensTheListOfAnExistingChannelOnly();
    void helpButtonOpensTheWindowsTopic();
};

void ChannelInfoViewTest::typingIntoMissingChannelCreatesIt() {
    ChannelWindow w;
    QVERIFY(showActive(w.view.get()));
    w.grid()->setFocus();
    w.grid()->setCurrentCell(0, 0);
    w.type("1");
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(editor);
    QCOMPARE(editor->text(), QString("1"));
    w.type("50,5");
    w.key(Qt::Key_Return);
    QVERIFY(w.store().exists(0, 0));
    QCOMPARE(w.store().getText(ChannelField::Receive, 0, 0).value(), std::string("150.50000"));
    QCOMPARE(w.grid()->item(0, 0)->text(), QString("150.50000"));
}

void ChannelInfoViewTest::otherCellsOfMissingChannelStayClosed() {
    ChannelWindow w;
    QVERIFY(showActive(w.view.get()));
    w.grid()->setFocus();
    w.grid()->setCurrentCell(0, 1);
    w.type("1");
    w.key(Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.grid()));
    QVERIFY(!w.store().exists(0, 0));
}

void ChannelInfoViewTest::cannotCreateShowsTheError() {
    ChannelWindow w(0); // 8 channels
    for (int c = 0; c < 8; ++c) w.store().setText("150", 0, c, ChannelField::Receive);
    w.store().deleteChannel(0, 7);
    w.store().data().image.setU8(0x000F, 8); // the model's limit counted as reached
    w.view->refresh();
    QVERIFY(showActive(w.view.get()));
    w.grid()->setFocus();
    w.grid()->setCurrentCell(7, 0);
    w.type("1");
    QCOMPARE(w.fx.messages.asked.size(), 1);
    QCOMPARE(w.fx.messages.asked[0].text, QString("T8"));
    QCOMPARE(w.fx.messages.asked[0].caption, QString("T79"));
}

void ChannelInfoViewTest::copyAndPasteIntoAnotherGroup() {
    ChannelWindow w;
    for (int c : {2, 4}) w.store().setText("15" + std::to_string(c), 0, c, ChannelField::Receive);
    w.view->refresh();
    QVERIFY(showActive(w.view.get()));
    w.grid()->setFocus();
    w.selectRows(2, 4);
    QVERIFY(w.view->inSelectionMode());
    w.key(Qt::Key_C, Qt::ControlModifier);
    w.key(Qt::Key_F7);
    QCOMPARE(w.view->group(), 1);
    w.grid()->setCurrentCell(9, 0);
    w.key(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(w.store().getText(ChannelField::Receive, 1, 9).value(), std::string("152.00000"));
    QVERIFY(!w.store().exists(1, 10));
    QCOMPARE(w.store().getText(ChannelField::Receive, 1, 11).value(), std::string("154.00000"));
    QCOMPARE(w.grid()->item(11, 0)->text(), QString("154.00000"));
}

void ChannelInfoViewTest::selectionDeleteRemovesOnlyExistingChannels() {
    ChannelWindow w;
    for (int c : {1, 3, 6}) w.store().setText("150", 0, c, ChannelField::Receive);
    w.view->refresh();
    QVERIFY(showActive(w.view.get()));
    w.grid()->setFocus();
    w.selectRows(0, 4);
    w.key(Qt::Key_Delete);
    QCOMPARE(w.store().channelsInUse(), 1);
    QVERIFY(w.store().exists(0, 6));
}

void ChannelInfoViewTest::groupKeysWrapAndRetitle() {
    ChannelWindow w;
    QVERIFY(showActive(w.view.get()));
    w.grid()->setFocus();
    w.key(Qt::Key_F8);
    QCOMPARE(w.view->group(), 127);
    QVERIFY(w.view->windowTitle().contains("T206 - 128"));
    w.key(Qt::Key_F7);
    QCOMPARE(w.view->group(), 0);
}

void ChannelInfoViewTest::statusLineShowsFreeMemory() {
    ChannelWindow w;
    for (int c = 0; c < 10; ++c) w.store().setText("150", 0, c, ChannelField::Receive);
    w.view->refresh();
    QVERIFY(w.view->findChild<QLineEdit*>()->text().contains("= 5664"));
}

void ChannelInfoViewTest::outOfBandWarns() {
    ChannelWindow w;
    QVERIFY(showActive(w.view.get()));
    w.grid()->setFocus();
    w.grid()->setCurrentCell(0, 0);
    w.type("1"); // opens the editor, which takes the rest
    w.type("20");
    w.key(Qt::Key_Return);
    QCOMPARE(w.store().getText(ChannelField::Receive, 0, 0).value(), std::string("120.00000"));
    QCOMPARE(w.fx.messages.asked.size(), 1);
    QCOMPARE(w.fx.messages.asked[0].text, QString("T9"));
    screenshot(w.view.get(), "channel_info");
}

// The header of the current column is drawn in bold; a column sized for the plain
// text cut "RX Freq(MHz)" short.
void ChannelInfoViewTest::boldHeaderOfTheCurrentColumnFits() {
    ChannelWindow w;
    QVERIFY(showActive(w.view.get()));
    QHeaderView* header = w.grid()->horizontalHeader();
    QVERIFY(header->highlightSections());
    QFont bold = header->font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    const int margin = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    for (int column = 0; column < w.grid()->columnCount(); ++column) {
        const QString text = w.grid()->horizontalHeaderItem(column)->text();
        QVERIFY2(w.grid()->columnWidth(column) >= metrics.horizontalAdvance(text) + margin,
                 qPrintable(text));
    }
}

void ChannelInfoViewTest::regressionColumnsWidenedOnTheFirstGroupMove() {
    // The widths were taken once in the font the grid had before the window's
    // language font was applied; the first group move took them again in the
    // language font, and the last column slid out of the window.
    ChannelWindow w;
    QFont language = w.fx.ctx->font();
    language.setPixelSize(48); // large enough that the header texts set the widths
    applyLanguageFont(w.view.get(), language); // as the main frame does
    QVERIFY(showActive(w.view.get()));
    QList<int> before;
    for (int column = 0; column < w.grid()->columnCount(); ++column)
        before << w.grid()->columnWidth(column);
    w.grid()->setFocus();
    w.key(Qt::Key_F7);
    QCOMPARE(w.view->group(), 1);
    QList<int> after;
    for (int column = 0; column < w.grid()->columnCount(); ++column)
        after << w.grid()->columnWidth(column);
    QCOMPARE(after, before);
}

// Enter stored a typed frequency but left the cursor in the column.
void ChannelInfoViewTest::regressionEnterInATextCellMovesToTheNextColumn() {
    ChannelWindow w;
    QVERIFY(showActive(w.view.get()));
    w.grid()->setFocus();
    w.grid()->setCurrentCell(2, 0);
    w.type("146.5");
    w.key(Qt::Key_Return);
    QCOMPARE(w.grid()->currentColumn(), 1);
    QCOMPARE(w.grid()->currentRow(), 2);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.grid()));
    w.key(Qt::Key_Return); // the transmit frequency: open, store, move on
    w.key(Qt::Key_Return);
    QCOMPARE(w.grid()->currentColumn(), 2);
}

void ChannelInfoViewTest::altDownOpensTheListOfAnExistingChannelOnly() {
    ChannelWindow w;
    w.store().setText("150", 0, 0, ChannelField::Receive);
    w.view->refresh();
    QVERIFY(showActive(w.view.get()));
    const int power = static_cast<int>(
        std::find(w.grid()->columnKinds().begin(), w.grid()->columnKinds().end(), 5) -
        w.grid()->columnKinds().begin());
    for (int row : {0, 1}) { // channel 1 exists, channel 2 does not
        w.grid()->setFocus();
        w.grid()->setCurrentCell(row, power);
        w.key(Qt::Key_Down, Qt::AltModifier);
        const bool open = QApplication::activePopupWidget() != nullptr;
        if (open) QApplication::activePopupWidget()->close();
        QCOMPARE(open, row == 0);
        QCOMPARE(w.grid()->currentRow(), row); // the grid did not move under the key
    }
}

void ChannelInfoViewTest::helpButtonOpensTheWindowsTopic() {
    ChannelWindow w;
    QVERIFY(showActive(w.view.get()));
    const QList<QPushButton*> buttons = w.view->findChildren<QPushButton*>();
    const auto help = std::find_if(buttons.begin(), buttons.end(), [&w](QPushButton* b) {
        return b->text() == w.fx.ctx->text(62);
    });
    QVERIFY(help != buttons.end());
    QTest::mouseClick(*help, Qt::LeftButton);
    QCOMPARE(w.fx.helpTopics, (QVector<int>{0x20065}));
}

QTEST_MAIN(ChannelInfoViewTest)
#include "channels_info_view_test.moc"
