// The key assignment window: rows per model family, the choice list of each key,
// storing a choice, and the home channel cleared when no key holds Home Channel.
#include "app/commands.h"
#include "app/registries.h"
#include "channels/key_view.h"
#include "model/new_data.h"
#include "widgets/grid_cell_editing.h"
#include "widgets_test_support.h"

#include <QComboBox>
#include <QHeaderView>
#include <QTableWidget>
#include <QTest>

using namespace vrl;
using namespace vrl::gui;
using namespace vrl::gui::widgets_test;

namespace {

constexpr int kRm140K = 0;   // mobile, 8 channels, market K (kind 1)
constexpr int kRm150M = 3;   // mobile, 8 channels, market M (kind 4)
constexpr int kRm160K = 4;   // mobile, 128 channels
constexpr int kRp110K = 15;  // portable, 8 channels
constexpr int kRp120K = 19;  // portable, 128 channels
constexpr int kRp130K = 25;  // portable, 32 channels

struct KeyWindow {
    Fixture fx;
    std::unique_ptr<CKeyView> view;
    explicit KeyWindow(int row, OptionBoard board = OptionBoard::None) {
        newDataFor(fx.data, models::identityFor(row, 0, board));
        fx.data.image.setU8(0x00AD, optionByteFor(board));
        fx.data.model.refresh();
    }
    CKeyView* open() {
        view = std::make_unique<CKeyView>(*fx.ctx, nullptr);
        return view.get();
    }
    QTableWidget* grid() { return view->grid(); }
    QStringList captions() {
        QStringList out;
        for (int r = 0; r < grid()->rowCount(); ++r) out << grid()->verticalHeaderItem(r)->text();
        return out;
    }
    QString cell(int row) { return grid()->item(row, 0) ? grid()->item(row, 0)->text() : QString(); }
    // The choices offered when the list opens on a row.
    QStringList choices(int row) {
        grid()->setCurrentCell(row, 0);
        QTest::keyClick(grid(), Qt::Key_Return);
        QStringList out;
        for (int i = 0; i < view->list()->count(); ++i) out << view->list()->itemText(i);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        return out;
    }
    // Opens the list on a row, picks `text` and leaves the list with Enter.
    void choose(int row, const QString& text) {
        grid()->setCurrentCell(row, 0);
        QTest::keyClick(grid(), Qt::Key_Return);
        view->list()->setCurrentIndex(view->list()->findText(text));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }
    void setHome(int g, int c) {
        fx.data.image.setU8(0x0089, static_cast<uint8_t>(g));
        fx.data.image.setU8(0x0088, static_cast<uint8_t>(c));
    }
    bool homeSet() { return fx.data.image.u8(0x0088) != 0xFF || fx.data.image.u8(0x0089) != 0xFF; }
};

QStringList texts(std::initializer_list<int> indices) {
    QStringList out;
    for (int i : indices) out << QString("T%1").arg(i);
    return out;
}

} // namespace

class KeyViewTest : public QObject {
    Q_OBJECT
  private slots:
    void registeredWithTitleAndHeader();
    void rowsFollowTheModelFamily();
    void choiceListsPerFamily_data();
    void choiceListsPerFamily();
    void emergencyOnlyOnItsKeyAndNotOnKindOne();
    void storedBytesShowAsFunctionTexts();
    void choiceStoresCodeAndMovesDown();
    void escapeLeavesTheKeyUnchanged();
    void noHomeChannelKeyClearsTheHomeChannel();
    void homeChannelKeptWhileAKeyHoldsIt();
};

void KeyViewTest::registeredWithTitleAndHeader() {
    QVERIFY(FunctionWindowRegistry::instance().find(cmd::kKeyAssignment));
    KeyWindow w(kRm160K);
    w.open();
    QCOMPARE(w.view->windowTitle(), QString("T309"));
    QCOMPARE(w.grid()->horizontalHeaderItem(0)->text(), QString("T359"));
    QVERIFY(w.grid()->columnWidth(0) >= 3300 / 15);
    QCOMPARE(w.grid()->verticalHeader()->width(), 1875 / 15);
}

void KeyViewTest::rowsFollowTheModelFamily() {
    KeyWindow portableSmall(kRp110K);
    portableSmall.open();
    QCOMPARE(portableSmall.captions(), texts({325, 326}));
    KeyWindow portableLarge(kRp120K);
    portableLarge.open();
    QCOMPARE(portableLarge.captions(), texts({321, 322, 323, 324, 325, 326, 327}));
    KeyWindow mobileSmall(kRm140K);
    mobileSmall.open();
    QCOMPARE(mobileSmall.captions(), texts({313, 321, 322, 311, 314, 315, 316, 317, 320}));
    KeyWindow mobileLarge(kRm160K);
    mobileLarge.open();
    QCOMPARE(mobileLarge.captions(),
             texts({310, 311, 312, 313, 314, 315, 316, 317, 318, 319, 320}));
}

void KeyViewTest::choiceListsPerFamily_data() {
    QTest::addColumn<int>("modelRow");
    QTest::addColumn<int>("board");
    QTest::addColumn<int>("keyRow");
    QTest::addColumn<QStringList>("expected");
    const int none = int(OptionBoard::None), scr = int(OptionBoard::Scr),
              trunk = int(OptionBoard::Trunking);
    QTest::newRow("portable 8") << kRp110K << none << 0
                                << texts({65, 338, 339, 340, 341, 356, 352});
    QTest::newRow("portable 8 SCR") << kRp110K << scr << 1
                                    << texts({65, 338, 339, 340, 341, 356, 348, 352});
    QTest::newRow("portable 128 selector") << kRp120K << none << 6 << texts({65, 357, 358});
    QTest::newRow("portable 32 selector") << kRp130K << none << 6 << texts({65, 357});
    QTest::newRow("portable 32 selector trunking") << kRp130K << trunk << 6
                                                   << texts({65, 357, 358});
    QTest::newRow("portable 128 key, kind 1")
        << kRp120K << none << 0
        << texts({65, 329, 330, 331, 333, 334, 335, 337, 355, 338, 339, 340, 341, 342, 344,
                  356, 346, 347, 350, 352});
    QTest::newRow("portable 32 key, kind 1")
        << kRp130K << none << 0
        << texts({65, 329, 330, 331, 335, 337, 355, 338, 339, 340, 341, 342, 356, 346, 347,
                  350, 352});
    QTest::newRow("mobile 128 key, kind 1")
        << kRm160K << none << 0
        << texts({65, 328, 329, 330, 331, 333, 334, 335, 336, 337, 338, 339, 340, 341, 342,
                  343, 344, 346, 347, 350, 352, 353, 354});
    QTest::newRow("mobile 8 key, kind 4 trunking")
        << kRm150M << trunk << 0
        << texts({65, 329, 330, 335, 336, 337, 338, 339, 340, 341, 343, 344, 350, 352, 353, 354});
}

void KeyViewTest::choiceListsPerFamily() {
    QFETCH(int, modelRow);
    QFETCH(int, board);
    QFETCH(int, keyRow);
    QFETCH(QStringList, expected);
    KeyWindow w(modelRow, OptionBoard(board));
    w.open();
    QVERIFY(showActive(w.view.get()));
    QCOMPARE(w.choices(keyRow), expected);
}

void KeyViewTest::emergencyOnlyOnItsKeyAndNotOnKindOne() {
    KeyWindow m(kRm150M);
    m.open();
    QVERIFY(showActive(m.view.get()));
    QVERIFY(m.choices(8).contains("T332")); // caption 320
    QVERIFY(!m.choices(0).contains("T332"));
    KeyWindow k(kRm140K);
    k.open();
    QVERIFY(showActive(k.view.get()));
    QVERIFY(!k.choices(8).contains("T332"));
}

void KeyViewTest::storedBytesShowAsFunctionTexts() {
    KeyWindow w(kRm160K);
    auto& image = w.fx.data.image;
    image.setU8(0x0114, 0x4F); // row 0: None
    image.setU8(0x0110, 0x00); // row 1: no function
    image.setU8(0x0111, 0xFF); // row 2: no function
    image.setU8(0x0115, 0x35); // row 3: Home Channel
    image.setU8(0x0117, 0xA1); // row 4
    w.open();
    QCOMPARE(w.cell(0), QString("T65"));
    QCOMPARE(w.cell(1), QString());
    QCOMPARE(w.cell(2), QString());
    QCOMPARE(w.cell(3), QString("T335"));
    QCOMPARE(w.cell(4), QString("T357"));
}

void KeyViewTest::choiceStoresCodeAndMovesDown() {
    KeyWindow w(kRm140K);
    w.open();
    QVERIFY(showActive(w.view.get()));
    w.choose(8, "T343"); // the key of caption 320 lies at 0x0116
    QCOMPARE(int(w.fx.data.image.u8(0x0116)), 0x3B);
    QCOMPARE(w.cell(8), QString("T343"));
    QCOMPARE(w.grid()->currentRow(), 8); // already the last row
    w.choose(0, "T335");
    QCOMPARE(int(w.fx.data.image.u8(0x0110)), 0x35);
    QCOMPARE(w.grid()->currentRow(), 1);
    QVERIFY(!w.view->editing()->isOpen());
}

void KeyViewTest::escapeLeavesTheKeyUnchanged() {
    KeyWindow w(kRm160K);
    w.fx.data.image.setU8(0x0114, 0x47); // Scan
    w.open();
    QVERIFY(showActive(w.view.get()));
    w.grid()->setCurrentCell(0, 0);
    QTest::keyClick(w.grid(), Qt::Key_Return);
    QVERIFY(w.view->editing()->isOpen());
    QCOMPARE(w.view->list()->currentText(), QString("T346"));
    w.view->list()->setCurrentIndex(0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QCOMPARE(int(w.fx.data.image.u8(0x0114)), 0x47);
    QVERIFY(w.view->isVisible()); // Esc in the list does not close the window
    QCOMPARE(w.cell(0), QString("T346"));
}

void KeyViewTest::noHomeChannelKeyClearsTheHomeChannel() {
    KeyWindow w(kRm160K);
    for (int k = 0x0110; k <= 0x011A; ++k) w.fx.data.image.setU8(k, 0x4F);
    w.fx.data.image.setU8(0x0110, 0x35); // row 1 holds Home Channel
    w.setHome(3, 5);
    w.open();
    QVERIFY(showActive(w.view.get()));
    QVERIFY(w.homeSet());
    int changes = 0;
    connect(w.fx.ctx.get(), &AppContext::dataChanged, [&changes] { ++changes; });
    w.choose(1, "T65");
    QVERIFY(!w.homeSet());
    QCOMPARE(int(w.fx.data.image.u8(0x0088)), 0xFF);
    QCOMPARE(int(w.fx.data.image.u8(0x0089)), 0xFF);
    QVERIFY(changes > 0); // the channel edit window's check box follows
}

void KeyViewTest::homeChannelKeptWhileAKeyHoldsIt() {
    KeyWindow w(kRm160K);
    for (int k = 0x0110; k <= 0x011A; ++k) w.fx.data.image.setU8(k, 0x4F);
    w.fx.data.image.setU8(0x0110, 0x35);
    w.fx.data.image.setU8(0x0111, 0x35);
    w.setHome(0, 0);
    w.open();
    QVERIFY(showActive(w.view.get()));
    w.choose(1, "T65"); // another key still holds Home Channel
    QVERIFY(w.homeSet());
    // Opening the window on data without any Home Channel key clears it at once.
    KeyWindow v(kRm160K);
    for (int k = 0x0110; k <= 0x011A; ++k) v.fx.data.image.setU8(k, 0x4F);
    v.setHome(0, 0);
    v.open();
    QVERIFY(!v.homeSet());
}

QTEST_MAIN(KeyViewTest)
#include "channels_key_view_test.moc"
