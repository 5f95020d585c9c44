// The tone combo box: its list, its character filter and length, the off text,
// and the tone columns of the channel grid that use it.
#include "channels/channel_grid.h"
#include "channels/channel_info_view.h"
#include "channels/channel_services.h"
#include "model/new_data.h"
#include "widgets/grid_cell_editing.h"
#include "widgets/tone_combo.h"
#include "widgets_test_support.h"

#include <QLineEdit>
#include <QTest>

using namespace vrl;
using namespace vrl::gui;
using namespace vrl::gui::widgets_test;

namespace {
const QString kOff = QStringLiteral("None");

struct Typed {
    const char* keys;
    const char* shown;     // in the edit while typing
    ToneCode stored;       // tone()
    const char* normal;    // normalizedText()
};
} // namespace

class ToneComboTest : public QObject {
    Q_OBJECT
  private slots:
    void listHoldsOffTextAndTheTones();
    void typingIsFilteredAndNormalized();
    void offTextSurvivesTheFilter();
    void storedCodesShow();
    void enterAddsNothingToTheList();
    void gridToneCellOpensOnTypedCharacter();
    void gridDeleteOnToneCellSwitchesTheToneOff();
    void gridEncodeCellClosedWithoutTransmitFrequency();
};

void ToneComboTest::listHoldsOffTextAndTheTones() {
    CToneCombo combo(kOff);
    QCOMPARE(combo.count(), 206);
    QCOMPARE(combo.itemText(0), kOff);
    QCOMPARE(combo.itemText(1), QString("67.0"));
    QCOMPARE(combo.itemText(39), QString("250.3"));
    QCOMPARE(combo.itemText(40), QString("D023N"));
    QCOMPARE(combo.itemText(205), QString("D754I"));
    combo.setOffText("Off");
    QCOMPARE(combo.count(), 206);
    QCOMPARE(combo.itemText(0), QString("Off"));
}

void ToneComboTest::typingIsFilteredAndNormalized() {
    const Typed cases[] = {
        {"67", "67", 670, "67.0"},
        {"66.9", "66.9", 670, "67.0"},
        {"300", "300", 2503, "250.3"},
        {"100.05", "100.0", 1000, "100.0"}, // the fifth character ends the text
        {"100,5", "100,5", 1005, "100.5"},
        {"d23", "D23", 0x2898, "D230N"},
        {"d189i", "D189I", 0xA87F, "D177I"},
        {"D0231", "D0231", 0x2813, "D023N"},
        {"dx-2 3q", "D23", 0x2898, "D230N"}, // other characters are dropped
        {"", "", kToneOff, "None"},
    };
    for (const Typed& t : cases) {
        CToneCombo combo(kOff);
        combo.show();
        combo.lineEdit()->clear();
        QTest::keyClicks(combo.lineEdit(), t.keys);
        QCOMPARE(combo.currentText(), QString(t.shown));
        QCOMPARE(combo.tone(), t.stored);
        QCOMPARE(combo.normalizedText(), QString(t.normal));
    }
}

void ToneComboTest::offTextSurvivesTheFilter() {
    CToneCombo combo("No tone at all");
    combo.setTone(kToneOff);
    QCOMPARE(combo.currentText(), QString("No tone at all"));
    QCOMPARE(combo.currentIndex(), 0);
    QCOMPARE(combo.tone(), kToneOff);
}

void ToneComboTest::storedCodesShow() {
    CToneCombo combo(kOff);
    combo.setTone(0x7FFF);
    QCOMPARE(combo.currentText(), kOff);
    combo.setTone(0x2013); // bit 11 clear, read all the same
    QCOMPARE(combo.currentText(), QString("D023N"));
    QCOMPARE(combo.currentIndex(), 40);
    combo.setTone(1234); // not in the list
    QCOMPARE(combo.currentText(), QString("123.4"));
    QCOMPARE(combo.currentIndex(), -1);
}

void ToneComboTest::enterAddsNothingToTheList() {
    CToneCombo combo(kOff);
    QVERIFY(showActive(&combo));
    combo.lineEdit()->clear();
    QTest::keyClicks(&combo, "123.4");
    QTest::keyClick(&combo, Qt::Key_Return);
    QCOMPARE(combo.count(), 206);
}

namespace {
struct Grid {
    Fixture fx;
    std::unique_ptr<CChannelInfoView> view;
    Grid() {
        newDataFor(fx.data, models::identityFor(4, 0, OptionBoard::None)); // 128 channels
        store().setText("150", 0, 0, ChannelField::Receive);
        view = std::make_unique<CChannelInfoView>(*fx.ctx, nullptr);
    }
    ChannelStore& store() { return ChannelServices::of(*fx.ctx).store(); }
    CChannelGrid* grid() { return view->grid(); }
    int column(ChannelField f) { return grid()->columnOfField(f); }
};
} // namespace

void ToneComboTest::gridToneCellOpensOnTypedCharacter() {
    Grid g;
    QVERIFY(showActive(g.view.get()));
    g.grid()->setFocus();
    g.grid()->setCurrentCell(0, g.column(ChannelField::Decode));
    QTest::keyClick(g.grid(), Qt::Key_D);
    auto* combo = qobject_cast<CToneCombo*>(QApplication::focusWidget());
    QVERIFY(combo);
    QCOMPARE(combo->currentText(), QString("D"));
    QTest::keyClicks(combo, "189i");
    QTest::keyClick(combo, Qt::Key_Return);
    QCOMPARE(g.store().getText(ChannelField::Decode, 0, 0).value(), std::string("D177I"));
    QCOMPARE(g.grid()->item(0, g.column(ChannelField::Decode))->text(), QString("D177I"));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(g.grid()));
}

void ToneComboTest::gridDeleteOnToneCellSwitchesTheToneOff() {
    Grid g;
    g.store().setText("88.5", 0, 0, ChannelField::Decode);
    g.view->refresh();
    QVERIFY(showActive(g.view.get()));
    g.grid()->setFocus();
    g.grid()->setCurrentCell(0, g.column(ChannelField::Decode));
    QTest::keyClick(g.grid(), Qt::Key_Return);
    auto* combo = qobject_cast<CToneCombo*>(QApplication::focusWidget());
    QVERIFY(combo);
    QCOMPARE(combo->currentText(), QString("88.5")); // Enter opens with the cell's text
    QTest::keyClick(combo, Qt::Key_Escape);
    QTest::keyClick(g.grid(), Qt::Key_Delete);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(g.store().getText(ChannelField::Decode, 0, 0).value(), std::string("T65"));
    QCOMPARE(g.grid()->item(0, g.column(ChannelField::Decode))->text(), QString("T65"));
}

void ToneComboTest::gridEncodeCellClosedWithoutTransmitFrequency() {
    Grid g;
    QVERIFY(showActive(g.view.get()));
    g.grid()->setFocus();
    g.grid()->setCurrentCell(0, g.column(ChannelField::Encode));
    QTest::keyClick(g.grid(), Qt::Key_7);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(g.grid()));
    g.store().setText("155", 0, 0, ChannelField::Transmit);
    QTest::keyClick(g.grid(), Qt::Key_7);
    QVERIFY(qobject_cast<CToneCombo*>(QApplication::focusWidget()));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(g.store().getText(ChannelField::Encode, 0, 0).value(), std::string("67.0")); // 7 Hz, clamped
}

QTEST_MAIN(ToneComboTest)
#include "widgets_tone_combo_test.moc"
