// Pictures of the scan, emergency and operator selectable tone windows with the
// program's own language file, on a 128-channel mobile and on a smaller model that
// has the window (a 32-channel portable; the emergency window: an 8-channel
// mobile). Runs only when VRL_SCREENSHOT_DIR names the folder
// (scripts/screenshot-views.sh).
#include "features/emergency_settings.h"
#include "features/emergency_view.h"
#include "features/operator_sel_tone_view.h"
#include "features/scan_info_view.h"
#include "model/new_data.h"
#include "widgets_test_support.h"

#include <QTest>

using namespace vrl;
using namespace vrl::gui;
using namespace vrl::gui::widgets_test;

class SettingsScreenshots : public QObject {
    Q_OBJECT
  private slots:
    void settingsWindows_data();
    void settingsWindows();
};

void SettingsScreenshots::settingsWindows_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("suffix");
    QTest::newRow("RM-160A[128CH]:K") << 4 << "128ch-mobile";
    QTest::newRow("RM-160A[128CH]:M") << 5 << "128ch-mobile";
    QTest::newRow("RP-130A[32CH]:K") << 25 << "32ch-portable";
    QTest::newRow("RM-150A[8CH]:M") << 3 << "8ch-mobile";
}

void SettingsScreenshots::settingsWindows() {
    if (qEnvironmentVariableIsEmpty("VRL_SCREENSHOT_DIR")) QSKIP("VRL_SCREENSHOT_DIR not set");
    QFETCH(int, row);
    QFETCH(QString, suffix);
    Fixture fx;
    QCOMPARE(fx.lang.loadFile(VRL_SOURCE_DIR "/data/vrl73m.lng"), LanguageLoadStatus::Ok);
    newDataFor(fx.data, models::identityFor(row, 0, OptionBoard::None));
    fx.data.model.refresh();
    CDataImage& image = fx.data.image;
    image.setU8(0x0020, '0'); // a fixed priority channel: the look-back times apply
    EmergencySettings emergency(image);
    emergency.setCodeText(EmergencySettings::Code::Emergency, "12A#");
    emergency.setCodeText(EmergencySettings::Code::Ack, "*90");
    emergency.setModeRecognition(true);
    const uint16_t tones[] = {670, 885, 0x2813, 0xA813, 1318, 0xFFFF};
    for (size_t r = 0; r < 6; ++r) {
        image.setU16(0x0700 + 16 * r, tones[r]);
        image.setU16(0x0702 + 16 * r, tones[5 - r]);
    }

    auto take = [&](QWidget* view, const QString& name) {
        QVERIFY(showActive(view));
        view->adjustSize();
        screenshot(view, name + "-" + suffix);
        delete view;
    };
    if (row == 4 || row == 25) {
        take(new CScanInfoView(*fx.ctx, nullptr), "scan");
        take(new COperatorSelToneView(*fx.ctx, nullptr), "operator-selectable-tone");
    } else {
        take(new CEmergencyView(*fx.ctx, nullptr), "emergency");
    }
}

QTEST_MAIN(SettingsScreenshots)
#include "views_settings_screenshots_test.moc"
