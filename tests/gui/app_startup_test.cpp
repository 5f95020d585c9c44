// Start-up with malformed and edge settings, the language file, the switches, and
// the settings written back at exit.
#include "gui_test_support.h"

#include "app/app_context.h"
#include "app/commands.h"
#include "app/registries.h"
#include "app/main_frame.h"
#include "app/settings_values.h"
#include "lang/language_table.h"

#include <QSettings>
#include <QtTest>

using namespace vrl;
using namespace vrl::gui;
using namespace vrl::gui::test;

namespace {
struct PlaceholderView : QWidget {
    PlaceholderView(AppContext&, QWidget* parent) : QWidget(parent) {}
};

QVariant stored(const StartedApp& s, const QString& name) {
    QSettings raw(s.iniPath(), QSettings::IniFormat);
    return raw.value("Backup/" + name);
}
} // namespace

class StartupTest : public QObject {
    Q_OBJECT
  private slots:
    void lastModelCases_data() {
        QTest::addColumn<QVariant>("lastModel");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("option");
        QTest::newRow("absent") << QVariant() << 0 << 0xFF;
        QTest::newRow("seven numbers") << QVariant("50:34:37:30:30:1B:FF") << 0 << 0xFF;
        QTest::newRow("garbage") << QVariant("hello") << 0 << 0xFF;
        QTest::newRow("no such model") << QVariant("4D:39:39:39:39:04:FF:F1") << 0 << 0xFF;
        QTest::newRow("band the row lacks") << QVariant("4D:31:34:30:30:06:FF:F1") << 0 << 0xFF;
        QTest::newRow("row 37") << QVariant("50:34:37:30:30:1B:FF:F1") << 37 << 0xFF;
        // A remembered trunking board (0xDF) is never restored.
        QTest::newRow("trunking board dropped") << QVariant("4D:31:34:30:30:04:DF:F1") << 0 << 0xFF;
    }
    void lastModelCases() {
        QFETCH(QVariant, lastModel);
        QFETCH(int, row);
        QFETCH(int, option);
        StartedApp s;
        if (lastModel.isValid()) s.setting("LastModel", lastModel);
        QVERIFY(s.start());
        CModelInfo& m = s.app->data().model;
        QCOMPARE(m.row(), row);
        QCOMPARE(int(s.app->data().image.identity().option()) | 0x04, option);
        QVERIFY(!m.flags().trunking);
        QVERIFY(!s.app->data().image.isModified());
        QVERIFY(s.messages.asked.empty());
    }
    void comPortCases_data() {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("port");
        QTest::newRow("absent") << QVariant() << 1;
        QTest::newRow("zero") << QVariant(0) << 1;
        QTest::newRow("21") << QVariant(21) << 1;
        QTest::newRow("20") << QVariant(20) << 20;
        QTest::newRow("text") << QVariant("COM3") << 1;
    }
    void comPortCases() {
        QFETCH(QVariant, value);
        QFETCH(int, port);
        StartedApp s;
        if (value.isValid()) s.setting("ComPort", value);
        QVERIFY(s.start());
        QCOMPARE(s.app->context().comPort(), port);
        QVERIFY(s.app->mainFrame()->statusText(0).endsWith(QString::number(port)));
    }
    void windowPlacementCases_data() {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<bool>("maximized");
        QTest::newRow("absent") << QVariant() << true;
        QTest::newRow("nine numbers") << QVariant("0:1:-1:-1:-1:-1:10:10:600") << true;
        QTest::newRow("minimized, restore maximized") << QVariant("2:2:-1:-1:-1:-1:10:10:610:410") << true;
        QTest::newRow("minimized, restore normal") << QVariant("0:2:-1:-1:-1:-1:10:10:610:410") << false;
        QTest::newRow("normal") << QVariant("0:1:-1:-1:-1:-1:10:10:610:410") << false;
        QTest::newRow("regression on a screen no longer there") << QVariant("0:1:-1:-1:-1:-1:9000:9000:9600:9400") << true;
    }
    void windowPlacementCases() {
        QFETCH(QVariant, value);
        QFETCH(bool, maximized);
        StartedApp s;
        if (value.isValid()) s.setting("LastWinPos", value);
        QVERIFY(s.start());
        QCOMPARE(s.app->mainFrame()->windowState().testFlag(Qt::WindowMaximized), maximized);
        if (!maximized) QCOMPARE(s.app->mainFrame()->geometry().width(), 600);
    }
    void languageBeyondTheFileStartsInLanguageZero() {
        StartedApp s(2);
        s.setting("Language", 5);
        QVERIFY(s.start());
        QCOMPARE(s.app->lang().currentLanguage(), 0);
    }
    void languageOneIsKept() {
        StartedApp s(2);
        s.setting("Language", 1);
        QVERIFY(s.start());
        QCOMPARE(s.app->lang().currentLanguage(), 1);
        QCOMPARE(s.app->context().text(300), QStringLiteral("L1:300"));
    }
    void missingLanguageFileEndsTheProgramWithoutWritingSettings() {
        StartedApp s(2, false);
        QVERIFY(!s.start());
        QCOMPARE(s.messages.asked.size(), size_t(1));
        QCOMPARE(s.messages.asked[0].text, QString::fromLatin1(kLanguageNotFoundMessage));
        QCOMPARE(s.messages.asked[0].caption, QStringLiteral("VRL-73M"));
        s.app->exit();
        QVERIFY(!stored(s, "LastModel").isValid());
    }
    void damagedLanguageFileEndsTheProgram() {
        StartedApp s(2, false);
        QFile f(s.dir.path() + "/vrl73m.lng");
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("Label,A,B\nT0,x,y\nT1,1\n");
        f.close();
        QVERIFY(!s.start());
        QCOMPARE(s.messages.asked[0].text, QString::fromLatin1(kLanguageDamagedMessage));
    }
    void scrSwitchOffersTheScrBoardInAnyCase() {
        StartedApp s;
        QVERIFY(s.start({"/scr", "/StEp"}));
        QVERIFY(s.app->data().model.options.scrOffered);
        QVERIFY(s.app->data().model.options.fineStep);
    }
    void withoutScrSwitchOptionByteBitSevenIsSet() {
        StartedApp s;
        QVERIFY(s.start({"/scratch/x.dat"}));
        QVERIFY(!s.app->data().model.options.scrOffered);
        QVERIFY(s.app->data().image.identity().option() & 0x80);
    }
    void exitWritesTheSettingsBack() {
        StartedApp s;
        s.setting("LastModel", "50:34:37:30:30:1B:FF:F1");
        s.setting("ComPort", 20);
        s.setting("Language", 1);
        QVERIFY(s.start());
        s.app->context().setCurrentFilePath(s.dir.path() + "/sub/radio.dat");
        s.app->exit();
        QCOMPARE(stored(s, "LastModel").toString().left(17), QStringLiteral("50:34:37:30:30:1B"));
        QCOMPARE(stored(s, "ComPort").toInt(), 20);
        QCOMPARE(stored(s, "Language").toInt(), 1);
        QCOMPARE(stored(s, "LastFilePath").toString(), s.dir.path() + "/sub/");
    }
    void rememberedFolderNamesTheStartFile() {
        StartedApp s;
        s.setting("LastFilePath", s.dir.path() + "/");
        QVERIFY(s.start());
        QCOMPARE(s.app->context().currentFilePath(), s.dir.path() + "/vrl73m.dat");
    }
    void shownProgramOpensTheDefaultWindowAfterItsFirstPaint() {
        FunctionWindowRegistry::instance().add(cmd::kChannelInformation, windowFactory<PlaceholderView>());
        StartedApp s;
        QVERIFY(s.start({}, true));
        CMainFrame* f = s.app->mainFrame();
        QVERIFY(f->isVisible());
        QTRY_VERIFY(f->functionWindow(cmd::kChannelInformation) != nullptr);
        QCOMPARE(f->functionWindowCount(), 1);
    }
    void closingTheFrameStoresItsPlacement() {
        StartedApp s;
        s.setting("LastWinPos", "0:1:-1:-1:-1:-1:10:10:610:410");
        QVERIFY(s.start());
        s.messages.fallback = QMessageBox::Yes;
        QVERIFY(s.app->mainFrame()->close());
        auto p = parseWindowPlacement(stored(s, "LastWinPos").toString().toStdString());
        QVERIFY(p.has_value());
        QCOMPARE(p->width(), 600);
        QCOMPARE(p->flags, 0);
    }
};

QTEST_MAIN(StartupTest)
#include "app_startup_test.moc"
