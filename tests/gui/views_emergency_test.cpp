// The emergency window: the layout-check warning, typed codes and their bytes, the
// recognition check boxes and the help topics.
#include "app/commands.h"
#include "app/registries.h"
#include "features/emergency_view.h"
#include "model/new_data.h"
#include "widgets/filtered_edit.h"
#include "widgets_test_support.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTest>

using namespace vrl;
using namespace vrl::gui;
using namespace vrl::gui::widgets_test;

namespace {

constexpr int kRm160M = 5; // mobile, 128 channels, market M
constexpr int kRm150M = 3; // mobile, 8 channels, market M

struct Window {
    Fixture fx;
    QPointer<CEmergencyView> view;
    explicit Window(int row = kRm160M, bool emergencyKey = true) {
        newDataFor(fx.data, models::identityFor(row, 0, OptionBoard::None));
        fx.data.model.refresh();
        // The key of caption 320 lies at 0x0116 on both mobile families.
        fx.data.image.setU8(0x0116, emergencyKey ? 0x34 : 0x4F);
    }
    ~Window() { delete view.data(); }
    CEmergencyView* open() {
        view = new CEmergencyView(*fx.ctx, nullptr);
        return view;
    }
    FilteredEdit* edit(const char* key) { return qobject_cast<FilteredEdit*>(view->control(key)); }
    void type(const char* key, const QString& text) {
        edit(key)->setFocus();
        edit(key)->selectAll();
        if (text.isEmpty())
            QTest::keyClick(edit(key), Qt::Key_Backspace);
        else
            QTest::keyClicks(edit(key), text);
        QTest::keyClick(edit(key), Qt::Key_Return); // acts as Tab: stores
    }
    std::vector<int> bytes(size_t offset) {
        std::vector<int> out;
        for (size_t i = 0; i < 6; ++i)
            out.push_back(fx.data.image.u8(offset + i));
        return out;
    }
};

} // namespace

class EmergencyViewTest : public QObject {
    Q_OBJECT
  private slots:
    void registeredWithTexts();
    void warnsWhenTheEmergencyKeyHoldsNoEmergency_data();
    void warnsWhenTheEmergencyKeyHoldsNoEmergency();
    void typedCodesAreStoredAsNibbles();
    void recognitionChecksSetTheirBits();
    void helpTopics();
};

void EmergencyViewTest::registeredWithTexts() {
    QVERIFY(FunctionWindowRegistry::instance().find(cmd::kEmergency));
    Window w;
    w.open();
    QCOMPARE(w.view->windowTitle(), QString("T463"));
    QCOMPARE(w.view->helpButton()->text(), QString("Help"));
    QCOMPARE(
        qobject_cast<QCheckBox*>(w.view->control("emergency.emergency_ack_recognition"))->text(),
        QString("T468"));
    QCOMPARE(w.edit("emergency.emergency_code")->maxLength(), 10);
}

void EmergencyViewTest::warnsWhenTheEmergencyKeyHoldsNoEmergency_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("emergencyKey");
    QTest::addColumn<int>("warnings");
    QTest::newRow("128 channels, key holds Emergency") << kRm160M << true << 0;
    QTest::newRow("128 channels, key holds None") << kRm160M << false << 1;
    QTest::newRow("8 channels, key holds Emergency") << kRm150M << true << 0;
    QTest::newRow("8 channels, key holds None") << kRm150M << false << 1;
}

void EmergencyViewTest::warnsWhenTheEmergencyKeyHoldsNoEmergency() {
    QFETCH(int, row);
    QFETCH(bool, emergencyKey);
    QFETCH(int, warnings);
    Window w(row, emergencyKey);
    w.open();
    QCOMPARE(w.fx.messages.asked.size(), warnings);
    if (warnings) {
        QCOMPARE(w.fx.messages.asked[0].text, QString("T12"));
        QCOMPARE(w.fx.messages.asked[0].caption, QString("T82"));
    }
}

void EmergencyViewTest::typedCodesAreStoredAsNibbles() {
    Window w;
    w.open();
    QVERIFY(showActive(w.view));
    w.type("emergency.emergency_code", "12a#");
    QCOMPARE(w.edit("emergency.emergency_code")->text(), QString("12A#"));
    QCOMPARE(w.bytes(0x7280), (std::vector<int>{0x21, 0xFA, 0xFF, 0xFF, 0xFF, 0x04}));
    QVERIFY(w.edit("emergency.emergency_ack_code")->hasFocus());
    w.type("emergency.emergency_ack_code", "9e*"); // 'e' is not a DTMF digit: dropped
    QCOMPARE(w.bytes(0x7286), (std::vector<int>{0xE9, 0xFF, 0xFF, 0xFF, 0xFF, 0x02}));
    w.type("emergency.emergency_code", "");
    QCOMPARE(w.bytes(0x7280), (std::vector<int>(6, 0xFF)));
}

void EmergencyViewTest::recognitionChecksSetTheirBits() {
    Window w;
    w.fx.data.image.setU8(0x91, 0xF0);
    w.open();
    auto* mode = qobject_cast<QCheckBox*>(w.view->control("emergency.emergency_mode_recognition"));
    auto* ack = qobject_cast<QCheckBox*>(w.view->control("emergency.emergency_ack_recognition"));
    QVERIFY(!mode->isChecked());
    mode->click();
    QCOMPARE(w.fx.data.image.u8(0x91), uint8_t(0xF1));
    ack->click();
    QCOMPARE(w.fx.data.image.u8(0x91), uint8_t(0xF3));
    mode->click();
    QCOMPARE(w.fx.data.image.u8(0x91), uint8_t(0xF2));
}

void EmergencyViewTest::helpTopics() {
    Window w;
    w.open();
    QVERIFY(showActive(w.view));
    QVERIFY(w.edit("emergency.emergency_code")->hasFocus());
    QTest::keyClick(w.edit("emergency.emergency_code"), Qt::Key_F1);
    w.edit("emergency.emergency_reset_code")->setFocus();
    QTest::keyClick(w.edit("emergency.emergency_reset_code"), Qt::Key_F1);
    w.view->helpButton()->setFocus();
    QTest::keyClick(w.view->helpButton(), Qt::Key_F1);
    QCOMPARE(w.fx.helpTopics, (QVector<int>{0x20740, 0x20000 + 1058, 0x20085}));
}

QTEST_MAIN(EmergencyViewTest)
#include "views_emergency_test.moc"
