// CFormView: texts, loading, the four kinds of commit, enable rules and the keys of
// a function window, on a small window over made-up fields.
#include "widgets/filtered_edit.h"
#include "widgets/form_view.h"
#include "widgets/spin_edit.h"
#include "widgets/tab_page_list.h"
#include "widgets_test_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QVBoxLayout>

using namespace vrl;
using namespace vrl::gui;
using namespace vrl::gui::widgets_test;

namespace {

constexpr size_t kLevel = 0x500;  // 0..31; empty text stores 8, above 31 stores 31
constexpr size_t kMode = 0x501;   // bit 0: item 0 set, item 1 clear
constexpr size_t kOption = 0x502; // 0x00 on, 0xFF off
constexpr uint8_t kLockLevel = 30; // the spin is disabled while the level is 30

// The accessor side of the test window: pure functions of the image.
struct Fields {
    CDataImage& image;
    QString level() const {
        const int v = image.u8(kLevel);
        return v <= 31 ? QString::number(v) : QString();
    }
    void setLevel(const QString& text) {
        bool ok = false;
        int v = text.toInt(&ok);
        if (text.isEmpty() || !ok) v = 8;
        image.setU8(kLevel, static_cast<uint8_t>(std::min(v, 31)));
    }
    int levelStep() const { return image.u8(kLevel) <= 31 ? image.u8(kLevel) : 0; }
    void setLevelStep(int step) { image.setU8(kLevel, static_cast<uint8_t>((step % 32 + 32) % 32)); }
    int mode() const { return image.bit(kMode, 0) ? 0 : 1; }
    void setMode(int item) { image.setBit(kMode, 0, item == 0); }
    bool option() const { return image.u8(kOption) == 0x00; }
    void setOption(bool on) { image.setU8(kOption, on ? 0x00 : 0xFF); }
};

class TestView : public CFormView {
  public:
    TestView(AppContext& ctx, QWidget* parent)
        : CFormView(ctx, 131, parent), fields{ctx.data().image} {
        auto* tabWidget = new QTabWidget(this);
        tabs = new TabPageList(tabWidget);
        auto* page1 = new QWidget;
        auto* page2 = new QWidget;
        tabs->addPage(page1, 251);
        tabs->addPage(page2, 252);
        label = new QLabel(page1);
        edit = new FilteredEdit(CharFilter::digits(), 2, page1);
        spin = new SpinEdit(CharFilter::digits(), 2, page1);
        combo = new QComboBox(page2);
        combo->addItems({"A", "B"});
        check = new QCheckBox(page2);
        auto* l1 = new QVBoxLayout(page1);
        l1->addWidget(label);
        l1->addWidget(edit);
        l1->addWidget(spin);
        auto* l2 = new QVBoxLayout(page2);
        l2->addWidget(check);
        l2->addWidget(combo);
        close = makeCloseButton(1054);
        help = makeHelpButton(1055);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(tabWidget);
        layout->addWidget(close);
        layout->addWidget(help);

        bindEdit(1020, edit, [this] { return fields.level(); },
                 [this](const QString& t) { fields.setLevel(t); });
        bindSpin(1019, spin, [this] { return fields.level(); },
                 [this](const QString& t) { fields.setLevel(t); }, [this] { return fields.levelStep(); },
                 [this](int s) { fields.setLevelStep(s); })
            .enabledWhen([this] { return fields.option() && fields.image.u8(kLevel) != kLockLevel; });
        bindCheck(1015, check, [this] { return fields.option(); }, [this](bool on) { fields.setOption(on); })
            .notifies();
        bindCombo(1023, combo, [this] { return fields.mode(); }, [this](int i) { fields.setMode(i); });
        enableWhen(label, [this] { return fields.option(); });

        setTitleText(250);
        addTexts({{label, 253}, {check, 254}, {close, 61}, {help, 62}});
        setTabs(tabs);
        setInitialFocus(edit);
        finishSetup();
    }
    Fields fields;
    TabPageList* tabs;
    QLabel* label;
    FilteredEdit* edit;
    SpinEdit* spin;
    QComboBox* combo;
    QCheckBox* check;
    QPushButton* close;
    QPushButton* help;
};

struct Window {
    widgets_test::Fixture fx;
    TestView* view;
    QPointer<TestView> guard;
    Window() {
        fx.data.image.setU8(kLevel, 5);
        fx.data.image.setU8(kOption, 0x00);
        view = new TestView(*fx.ctx, nullptr);
        guard = view;
    }
    ~Window() { delete guard.data(); }
    uint8_t byte(size_t offset) const { return fx.data.image.u8(offset); }
};

} // namespace

class FormViewTest : public QObject {
    Q_OBJECT
  private slots:
    void textsTitleAndTabCaptionsComeFromTheLanguage();
    void fieldsAreLoadedFromTheImage();
    void editStoresWhenItLosesFocusAndAllFieldsReload();
    void untouchedEditDoesNotStoreOnFocusLoss();
    void regressionRetypingTheSameTextStoresAgain();
    void regressionRefusedKeystrokeKeepsEditPending();
    void enterActsAsTabAndStores();
    void regressionTabSkippedTheControlItsOwnEditEnables();
    void spinStepStoresAtOnceAndWraps();
    void spinStepStartsFromTypedText();
    void comboStoresOnChoice();
    void checkStoresOnClickAppliesEnableRulesAndNotifies();
    void f1OpensHelpOfFocusedControl();
    void enterOnCloseAndHelpClicksThem();
    void escapeClosesTheFrameAndStoresPendingEdit();
    void ctrlTabSwitchesPages();
};

void FormViewTest::textsTitleAndTabCaptionsComeFromTheLanguage() {
    Window w;
    QCOMPARE(w.view->windowTitle(), QString("T250"));
    QCOMPARE(w.view->label->text(), QString("T253"));
    QCOMPARE(w.view->check->text(), QString("T254"));
    QCOMPARE(w.view->close->text(), QString("Close"));
    QCOMPARE(w.view->help->text(), QString("Help"));
    QCOMPARE(w.view->tabs->tabs()->tabText(1), QString("T252"));
    QCOMPARE(w.view->font().family(), QString("DejaVu Sans"));
    QCOMPARE(w.view->edit->font().pixelSize(), 13);
}

void FormViewTest::fieldsAreLoadedFromTheImage() {
    Window w;
    QCOMPARE(w.view->edit->text(), QString("5"));
    QCOMPARE(w.view->spin->text(), QString("5"));
    QVERIFY(w.view->check->isChecked());
    QCOMPARE(w.view->combo->currentIndex(), 0); // 0xFF has bit 0 set
    w.fx.data.image.setU8(kLevel, 0x40);
    w.view->refresh();
    QCOMPARE(w.view->edit->text(), QString()); // out of range shows empty
}

void FormViewTest::editStoresWhenItLosesFocusAndAllFieldsReload() {
    Window w;
    QVERIFY(showActive(w.view));
    QVERIFY(w.view->edit->hasFocus());
    w.view->edit->selectAll();
    QTest::keyClicks(w.view->edit, "77");
    QCOMPARE(w.byte(kLevel), 5); // not yet
    w.view->combo->setFocus(Qt::TabFocusReason);
    QCOMPARE(w.byte(kLevel), 31);
    QCOMPARE(w.view->edit->text(), QString("31")); // normal form
    QCOMPARE(w.view->spin->text(), QString("31")); // the other field follows
}

void FormViewTest::untouchedEditDoesNotStoreOnFocusLoss() {
    Window w;
    w.fx.data.image.setU8(kLevel, 0x40); // out of range: shown empty
    w.view->refresh();
    QVERIFY(showActive(w.view));
    w.view->edit->setFocus();
    w.view->combo->setFocus(Qt::TabFocusReason);
    QCOMPARE(w.byte(kLevel), 0x40); // left alone until edited
}

void FormViewTest::regressionRetypingTheSameTextStoresAgain() {
    // A commit tied to QLineEdit::editingFinished is skipped when the text equals the
    // text of its last emission, leaving "99" on screen and 31 in the image.
    Window w;
    QVERIFY(showActive(w.view));
    for (int round = 0; round < 2; ++round) {
        w.view->edit->setFocus();
        w.view->edit->selectAll();
        QTest::keyClicks(w.view->edit, "99");
        w.view->combo->setFocus(Qt::TabFocusReason);
        QCOMPARE(w.view->edit->text(), QString("31"));
        w.fx.data.image.setU8(kLevel, 5);
        w.view->refresh();
    }
}

void FormViewTest::regressionRefusedKeystrokeKeepsEditPending() {
    // QLineEdit::isModified() is reset when the filter rewrites the text, so a third
    // digit typed into a two-digit field used to make the edit look untouched.
    Window w;
    QVERIFY(showActive(w.view));
    w.view->edit->selectAll();
    QTest::keyClicks(w.view->edit, "123");
    QCOMPARE(w.view->edit->text(), QString("12"));
    w.view->combo->setFocus(Qt::TabFocusReason);
    QCOMPARE(w.byte(kLevel), 12);
}

void FormViewTest::enterActsAsTabAndStores() {
    Window w;
    QVERIFY(showActive(w.view));
    w.view->edit->selectAll();
    QTest::keyClicks(w.view->edit, "12");
    QTest::keyClick(w.view->edit, Qt::Key_Return);
    QCOMPARE(w.byte(kLevel), 12);
    QVERIFY(!w.view->edit->hasFocus());
    QVERIFY(w.view->spin->hasFocus()); // the next control in the tab order
}

void FormViewTest::regressionTabSkippedTheControlItsOwnEditEnables() {
    // The edit stored only on focus loss, after Tab had already picked the next
    // control among the enabled ones: the spin its new value enables was skipped
    // and the focus landed on the button row.
    Window w;
    w.fx.data.image.setU8(kLevel, kLockLevel);
    w.view->refresh();
    QVERIFY(showActive(w.view));
    QVERIFY(!w.view->spin->isEnabled());
    w.view->edit->setFocus();
    w.view->edit->selectAll();
    QTest::keyClicks(w.view->edit, "12");
    QTest::keyClick(w.view->edit, Qt::Key_Tab);
    QCOMPARE(w.byte(kLevel), 12);
    QVERIFY(w.view->spin->isEnabled());
    QVERIFY(w.view->spin->hasFocus());
    // Enter moves on the same way.
    w.fx.data.image.setU8(kLevel, kLockLevel);
    w.view->refresh();
    w.view->edit->setFocus();
    w.view->edit->selectAll();
    QTest::keyClicks(w.view->edit, "7");
    QTest::keyClick(w.view->edit, Qt::Key_Return);
    QCOMPARE(w.byte(kLevel), 7);
    QVERIFY(w.view->spin->hasFocus());
}

void FormViewTest::spinStepStoresAtOnceAndWraps() {
    Window w;
    QSignalSpy committed(w.view, &CFormView::committed);
    emit w.view->spin->stepped(1);
    QCOMPARE(w.byte(kLevel), 6);
    QCOMPARE(w.view->edit->text(), QString("6"));
    w.fx.data.image.setU8(kLevel, 31);
    w.view->refresh();
    w.view->spin->stepBy(1);
    QCOMPARE(w.byte(kLevel), 0);
    w.view->spin->stepBy(-1);
    QCOMPARE(w.byte(kLevel), 31);
    QCOMPARE(committed.size(), 3);
}

void FormViewTest::spinStepStartsFromTypedText() {
    Window w;
    QVERIFY(showActive(w.view));
    w.view->spin->setFocus();
    w.view->spin->edit()->selectAll();
    QTest::keyClicks(w.view->spin, "20");
    QTest::keyClick(w.view->spin, Qt::Key_Up);
    QCOMPARE(w.byte(kLevel), 21);
    QCOMPARE(w.view->spin->text(), QString("21"));
}

void FormViewTest::comboStoresOnChoice() {
    Window w;
    w.view->combo->setCurrentIndex(1); // the program's own change stores nothing
    QCOMPARE(w.byte(kMode), 0xFF);
    emit w.view->combo->activated(1);
    QCOMPARE(w.byte(kMode), 0xFE);
    QCOMPARE(w.view->combo->currentIndex(), 1);
}

void FormViewTest::checkStoresOnClickAppliesEnableRulesAndNotifies() {
    Window w;
    QSignalSpy notified(w.fx.ctx.get(), &AppContext::dataChanged);
    w.view->tabs->select(1);
    QVERIFY(showActive(w.view));
    QVERIFY(w.view->spin->isEnabled());
    // On the box itself: the empty space right of a short text is no hit.
    QTest::mouseClick(w.view->check, Qt::LeftButton, {}, QPoint(8, w.view->check->height() / 2));
    QCOMPARE(w.byte(kOption), 0xFF);
    QVERIFY(!w.view->spin->isEnabled());
    QVERIFY(!w.view->label->isEnabled());
    QCOMPARE(notified.size(), 1);
}

void FormViewTest::f1OpensHelpOfFocusedControl() {
    Window w;
    QVERIFY(showActive(w.view));
    w.view->spin->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    w.view->close->setFocus();
    QTest::keyClick(w.view->close, Qt::Key_F1);
    QTest::mouseClick(w.view->help, Qt::LeftButton);
    QCOMPARE(w.fx.helpTopics, (QVector<int>{0x20000 + 1019, 0x20000 + 131, 0x20000 + 131}));
}

void FormViewTest::enterOnCloseAndHelpClicksThem() {
    Window w;
    QVERIFY(showActive(w.view));
    w.view->help->setFocus();
    QTest::keyClick(w.view->help, Qt::Key_Return);
    QCOMPARE(w.fx.helpTopics.size(), 1);
    QVERIFY(w.view->help->hasFocus()); // no Tab
    w.view->close->setFocus();
    QTest::keyClick(w.view->close, Qt::Key_Enter);
    QTRY_VERIFY(w.guard.isNull()); // closed and deleted
}

void FormViewTest::escapeClosesTheFrameAndStoresPendingEdit() {
    widgets_test::Fixture fx;
    QMdiArea area;
    auto* view = new TestView(*fx.ctx, nullptr);
    QMdiSubWindow* frame = area.addSubWindow(view);
    QPointer<QMdiSubWindow> frameGuard(frame);
    QVERIFY(showActive(&area));
    frame->show();
    view->edit->setFocus();
    view->edit->selectAll();
    QTest::keyClicks(view->edit, "9");
    QTest::keyClick(view->edit, Qt::Key_Escape);
    QCOMPARE(fx.data.image.u8(kLevel), 9);
    QTRY_VERIFY(frameGuard.isNull() || !frame->isVisible());
    QVERIFY(area.subWindowList().isEmpty());
}

void FormViewTest::ctrlTabSwitchesPages() {
    Window w;
    QVERIFY(showActive(w.view));
    QTest::keyClick(w.view->edit, Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(w.view->tabs->current(), 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(w.view->tabs->current(), 0);
}

QTEST_MAIN(FormViewTest)
#include "widgets_form_view_test.moc"
