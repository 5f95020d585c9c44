// Qt's own dialog texts follow the chosen language, and going back to English
// removes the translation again.
#include "app/qt_translations.h"
#include "lang/language_table.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QTest>

using namespace vrl::gui;

class QtTranslationsTest : public QObject {
    Q_OBJECT
  private slots:
    void shippedLanguagesNameTheirLocale() {
        vrl::LanguageTable lang;
        QCOMPARE(lang.loadFile(VRL_SOURCE_DIR "/data/vrl73m.lng"), vrl::LanguageLoadStatus::Ok);
        QCOMPARE(QString::fromStdString(lang.text(kTextQtLocale, 0)), QString("en"));
        QCOMPARE(QString::fromStdString(lang.text(kTextQtLocale, 1)), QString("de"));
    }

    void germanTranslatesQtsButtonsAndEnglishRemovesIt() {
        const QString qm = QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_de.qm";
        if (!QFile::exists(qm)) QSKIP("Qt's German translation is not installed");
        const QString english = QCoreApplication::translate("QPlatformTheme", "Cancel");
        QtTranslations translations;
        QVERIFY(translations.apply("de"));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("Abbrechen"));
        QVERIFY(!translations.apply("en"));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), english);
        QVERIFY(!translations.apply("xx-nowhere"));
    }
};

QTEST_MAIN(QtTranslationsTest)
#include "app_qt_translations_test.moc"
