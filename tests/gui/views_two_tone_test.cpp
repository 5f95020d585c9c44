// The 2-tone window: the decoder page through the field table and the code list
// edited in place, with the cells a model does not keep closed to editing.
#include "features/two_tone_settings.h"
#include "features/two_tone_view.h"
#include "model/model_table.h"
#include "model/new_data.h"
#include "widgets/field_grid.h"
#include "widgets/filtered_edit.h"
#include "widgets/grid_cell_editing.h"
#include "widgets_test_support.h"

#include <QLineEdit>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

using namespace vrl;
using namespace vrl::gui;
using namespace vrl::gui::widgets_test;

namespace {
constexpr int kM128 = 4; // RM-160A[128CH]:K
constexpr int kP16 = 23; // RP-150A[16CH]:M

void useModel(Fixture& fx, int row) {
    newDataFor(fx.data, models::identityFor(row, 0, OptionBoard::None));
    fx.data.model.refresh();
}

QWidget* editor(CTwoToneView& view, int column) {
    return view.codes()->editing()->editor(column);
}
} // namespace

class TwoToneViewTest : public QObject {
    Q_OBJECT
  private slots:
    void gridFollowsTheModel_data();
    void gridFollowsTheModel();
    void timeOpensOnlyWithBothTonesAndStepsWithTheArrowKeys();
    void leavingTheCodeListStoresTheOpenCell();
    void screenshots();
};

void TwoToneViewTest::gridFollowsTheModel_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("firstColumn");
    QTest::addColumn<QString>("name");
    QTest::newRow("128-channel mobile") << kM128 << 10 << 1 << "CODE 1";
    QTest::newRow("16-channel portable") << kP16 << 1 << 2 << "";
}

void TwoToneViewTest::gridFollowsTheModel() {
    QFETCH(int, row);
    QFETCH(int, rows);
    QFETCH(int, firstColumn);
    QFETCH(QString, name);
    Fixture fx;
    useModel(fx, row);
    CTwoToneView view(*fx.ctx, nullptr);
    QVERIFY(showActive(&view));
    QCOMPARE(view.windowTitle(), QString("T418"));
    QCOMPARE(view.tabs()->tabText(1), QString("T432"));
    QCOMPARE(view.grid()->rowCount(), rows);
    QCOMPARE(view.grid()->currentColumn(), firstColumn);
    QCOMPARE(view.grid()->item(0, 1)->text(), name);
    QCOMPARE(view.grid()->item(0, 2)->text(), QString("321.7"));
    // The name opens for editing only where the model keeps names.
    view.tabs()->setCurrentIndex(1);
    view.grid()->setFocus();
    view.grid()->setCurrentCell(0, 1);
    QTest::keyClick(view.grid(), Qt::Key_Return);
    QCOMPARE(view.codes()->editing()->isOpen(), rows == 10);
}

void TwoToneViewTest::timeOpensOnlyWithBothTonesAndStepsWithTheArrowKeys() {
    Fixture fx;
    useModel(fx, kM128);
    CTwoToneView view(*fx.ctx, nullptr);
    QVERIFY(showActive(&view));
    view.tabs()->setCurrentIndex(1);
    view.grid()->setFocus();
    view.grid()->setCurrentCell(1, 4); // row 2 has no tones
    QTest::keyClick(view.grid(), Qt::Key_Return);
    QVERIFY(!view.codes()->editing()->isOpen());
    view.grid()->setCurrentCell(1, 2);
    QTest::keyClick(view.grid(), '5');
    QTest::keyClicks(editor(view, 2), "00");
    QTest::keyClick(editor(view, 2), Qt::Key_Return);
    view.grid()->setCurrentCell(1, 3);
    QTest::keyClick(view.grid(), '6');
    QTest::keyClicks(editor(view, 3), "00");
    QTest::keyClick(editor(view, 3), Qt::Key_Return);
    QCOMPARE(view.grid()->item(1, 4)->text(), QString()); // no time stored yet
    view.grid()->setCurrentCell(1, 4);
    QTest::keyClick(view.grid(), '4');
    QTest::keyClicks(editor(view, 4), "00");
    QTest::keyClick(editor(view, 4), Qt::Key_Return);
    QCOMPARE(fx.data.image.u16(0x810 + 12), 375);
    QTest::keyClick(view.grid(), Qt::Key_Return);
    QTest::keyClick(editor(view, 4), Qt::Key_Up);
    QCOMPARE(qobject_cast<QLineEdit*>(editor(view, 4))->text(), QString("0"));
    QTest::keyClick(editor(view, 4), Qt::Key_Down);
    QTest::keyClick(editor(view, 4), Qt::Key_Down);
    QTest::keyClick(editor(view, 4), Qt::Key_Return);
    QCOMPARE(fx.data.image.u16(0x810 + 12), 374);
}

void TwoToneViewTest::leavingTheCodeListStoresTheOpenCell() {
    Fixture fx;
    useModel(fx, kM128);
    CTwoToneView view(*fx.ctx, nullptr);
    QVERIFY(showActive(&view));
    view.tabs()->setCurrentIndex(1);
    view.grid()->setFocus();
    view.grid()->setCurrentCell(2, 1);
    QTest::keyClick(view.grid(), 'b');
    QTest::keyClicks(editor(view, 1), "ase");
    QVERIFY(editor(view, 1)->isVisible());
    view.tabs()->setCurrentIndex(0);
    QVERIFY(!view.codes()->editing()->isOpen());
    QCOMPARE(fx.data.image.readAscii(0x820 + 4, 8), std::string("BASE    "));
}

void TwoToneViewTest::screenshots() {
    if (qEnvironmentVariableIsEmpty("VRL_SCREENSHOT_DIR")) QSKIP("VRL_SCREENSHOT_DIR not set");
    for (const auto& [row, name] :
         {std::pair{kM128, "two-tone-128ch-mobile"}, std::pair{kP16, "two-tone-16ch-portable"}}) {
        Fixture fx;
        QCOMPARE(fx.lang.loadFile(VRL_SOURCE_DIR "/data/vrl73m.lng"), LanguageLoadStatus::Ok);
        useModel(fx, row);
        TwoToneSettings tones(fx.data.image, {});
        tones.setCodeToneText(2, 0, "1200.5");
        tones.setCodeToneText(2, 1, "1530");
        tones.setCodeTimeText(2, "40");
        tones.setCodeName(2, "BASE");
        CTwoToneView view(*fx.ctx, nullptr);
        QVERIFY(showActive(&view));
        view.adjustSize();
        for (int page = 0; page < 2; ++page) {
            view.tabs()->setCurrentIndex(page);
            screenshot(&view, QString("%1-page%2").arg(name).arg(page + 1));
        }
    }
}

QTEST_MAIN(TwoToneViewTest)
#include "views_two_tone_test.moc"
