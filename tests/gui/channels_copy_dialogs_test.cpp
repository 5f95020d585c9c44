// The copy tools and the group edit window: which keys open which dialog on which
// model, the wrapping number fields, Channel Copy staying open and refreshing the
// grid, Group Jump moving the grid, and the group edit window following the grid.
#include "channels/ch_edit_view.h"
#include "channels/channel_grid.h"
#include "channels/channel_info_view.h"
#include "channels/channel_services.h"
#include "channels/copy_dialogs.h"
#include "channels/gr_edit_view.h"
#include "model/new_data.h"
#include "widgets/filtered_edit.h"
#include "widgets/tone_combo.h"
#include "widgets_test_support.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace vrl;
using namespace vrl::gui;
using namespace vrl::gui::widgets_test;

namespace {
constexpr int kRow128 = 4;     // RM-160A[128CH]:K
constexpr int kRow32 = 25;     // RP-130A[32CH]:K

struct ChannelWindow {
    Fixture fx;
    std::unique_ptr<CChannelInfoView> view;
    explicit ChannelWindow(int row = kRow128, OptionBoard board = OptionBoard::None) {
        newDataFor(fx.data, models::identityFor(row, 0, board));
        view = std::make_unique<CChannelInfoView>(*fx.ctx, nullptr);
    }
    ChannelStore& store() { return ChannelServices::of(*fx.ctx).store(); }
    CChannelGrid* grid() { return view->grid(); }
};

// Presses `key` on `target`; while a modal dialog runs, `inside` gets it. Returns
// the class name of the dialog that opened, or an empty string.
QString pressAndHandle(QWidget* target, Qt::Key key, Qt::KeyboardModifiers mods,
                       std::function<void(QDialog*)> inside = {}) {
    QString opened;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        opened = QString::fromLatin1(dialog->metaObject()->className());
        if (inside) inside(dialog);
        if (dialog->isVisible()) dialog->reject();
    });
    timer.start(0);
    QTest::keyClick(target, key, mods);
    QCoreApplication::processEvents();
    return opened;
}
} // namespace

class CopyDialogsTest : public QObject {
    Q_OBJECT
  private slots:
    void keysOpenOnlyWhereOffered();
    void editWindowKeysAndEmptyField();
    void numberFieldWrapsAndClamps();
    void channelCopyStaysOpenAndRefreshesTheGrid();
    void channelCopyWhenFullShowsTheError();
    void groupJumpMovesTheGrid();
    void toneCopyStoresTheNormalizedEncodeTone();
    void groupEditFollowsTheGridAndStores();
};

void CopyDialogsTest::keysOpenOnlyWhereOffered() {
    struct Case {
        int row;
        bool txSet;   // channel 1 of group 1 has a transmit frequency
        Qt::Key key;
        const char* dialog; // empty: nothing opens
    };
    const Case cases[] = {
        {kRow128, false, Qt::Key_F3, "vrl::gui::CChannelCopyDlg"},
        {kRow128, false, Qt::Key_F4, "vrl::gui::CFrequencyCopyDlg"},
        {kRow128, false, Qt::Key_F5, ""},
        {kRow128, true, Qt::Key_F5, "vrl::gui::CToneCopyDlg"},
        {kRow128, false, Qt::Key_F7, "vrl::gui::CGroupJumpDlg"},
        {kRow128, false, Qt::Key_F8, "vrl::gui::CGroupCopyDlg"},
        {kRow32, false, Qt::Key_F3, "vrl::gui::CChannelCopyDlg"},
        {kRow32, false, Qt::Key_F7, ""},
        {kRow32, false, Qt::Key_F8, ""},
    };
    for (const Case& c : cases) {
        ChannelWindow w(c.row);
        QVERIFY(showActive(w.view.get()));
        w.grid()->setFocus();
        w.grid()->setCurrentCell(1, 0);
        // No channel yet: nothing opens for any key but Group Jump.
        const QString empty = pressAndHandle(w.grid(), c.key, Qt::ShiftModifier);
        QCOMPARE(empty, QString(c.key == Qt::Key_F7 ? c.dialog : ""));
        w.store().setText("150", 0, 1, ChannelField::Receive);
        if (c.txSet) w.store().setText("155", 0, 1, ChannelField::Transmit);
        QCOMPARE(pressAndHandle(w.grid(), c.key, Qt::ShiftModifier), QString(c.dialog));
    }
}

void CopyDialogsTest::editWindowKeysAndEmptyField() {
    ChannelWindow w;
    w.store().setText("150", 0, 0, ChannelField::Receive);
    QVERIFY(showActive(w.view.get()));
    auto* edit = new CChEditView(*w.fx.ctx, nullptr);
    QVERIFY(showActive(edit));
    auto* tx = edit->fieldControl(ChannelField::Transmit);
    tx->setFocus();
    QCOMPARE(pressAndHandle(tx, Qt::Key_F4, Qt::ShiftModifier), QString()); // empty text
    auto* rx = edit->fieldControl(ChannelField::Receive);
    rx->setFocus();
    QCOMPARE(pressAndHandle(rx, Qt::Key_F4, Qt::ShiftModifier), QString("vrl::gui::CFrequencyCopyDlg"));
    QCOMPARE(pressAndHandle(rx, Qt::Key_F7, Qt::ShiftModifier), QString()); // grid only
    delete edit;
}

void CopyDialogsTest::numberFieldWrapsAndClamps() {
    struct Case {
        QString typed;
        int step;
        QString shown;
    };
    const Case cases[] = {
        {"128", +1, "1"}, {"1", -1, "128"}, {"64", +1, "65"}, // spin steps wrap
        {"0", 0, "1"},    {"", 0, "1"},     {"999", 0, "128"}, // leaving the field clamps
    };
    for (const Case& c : cases) {
        QWidget parent;
        CNumberField field(1, 128, &parent);
        field.edit()->setText(c.typed);
        if (c.step != 0) field.stepBy(c.step);
        else field.clamp();
        QCOMPARE(field.text(), c.shown);
    }
}

void CopyDialogsTest::channelCopyStaysOpenAndRefreshesTheGrid() {
    ChannelWindow w;
    w.store().setText("150.5", 0, 4, ChannelField::Receive);
    w.view->refresh();
    CChannelCopyDlg dialog(*w.fx.ctx, 0, 4, w.view.get());
    QVERIFY(showActive(&dialog));
    QVERIFY(dialog.targetGroup()->isEnabled());
    dialog.targetChannel()->setFocus();
    dialog.targetChannel()->edit()->setText("9");
    QTest::keyClick(dialog.targetChannel()->edit(), Qt::Key_Return); // Enter copies
    QVERIFY(dialog.isVisible());
    QCOMPARE(w.store().getText(ChannelField::Receive, 0, 8).value(), std::string("150.50000"));
    QCOMPARE(w.grid()->item(8, 0)->text(), QString("150.50000"));
    dialog.targetChannel()->edit()->setText("12");
    dialog.copyButton()->click();
    QVERIFY(w.store().exists(0, 11));
    QCOMPARE(w.store().channelsInUse(), 3);

    ChannelWindow small(kRow32, OptionBoard::Trunking);
    small.store().setText("150", 0, 0, ChannelField::Receive);
    CChannelCopyDlg within(*small.fx.ctx, 0, 0, nullptr);
    QVERIFY(!within.targetGroup()->isEnabled()); // the copy stays within the group
}

void CopyDialogsTest::channelCopyWhenFullShowsTheError() {
    ChannelWindow w(0); // 8 channels
    for (int c = 0; c < 7; ++c) w.store().setText("150", 0, c, ChannelField::Receive);
    w.fx.data.image.setU8(0x000F, 8); // the count says full (a damaged image)
    CChannelCopyDlg dialog(*w.fx.ctx, 0, 0, nullptr);
    dialog.targetChannel()->edit()->setText("8");
    dialog.copy();
    QCOMPARE(w.fx.messages.asked.size(), 1);
    QCOMPARE(w.fx.messages.asked[0].text, QString("T8"));
    QVERIFY(!w.store().exists(0, 7));
}

void CopyDialogsTest::groupJumpMovesTheGrid() {
    ChannelWindow w;
    QVERIFY(showActive(w.view.get()));
    w.grid()->setFocus();
    w.grid()->setCurrentCell(6, 0);
    const QString opened = pressAndHandle(w.grid(), Qt::Key_F7, Qt::ShiftModifier, [](QDialog* d) {
        auto* jump = static_cast<CGroupJumpDlg*>(d);
        jump->group()->edit()->setText("0");
        jump->group()->stepBy(-1); // 0 counts as 1, below 1 comes the last group
        QCOMPARE(jump->group()->text(), QString("128"));
        jump->group()->edit()->setText("42");
        jump->jumpButton()->click();
    });
    QCOMPARE(opened, QString("vrl::gui::CGroupJumpDlg"));
    QCOMPARE(w.view->group(), 41);
    QCOMPARE(w.view->channel(), 6);
    QVERIFY(w.view->windowTitle().contains("T206 - 42"));
}

void CopyDialogsTest::toneCopyStoresTheNormalizedEncodeTone() {
    ChannelWindow w;
    w.store().setText("150", 0, 0, ChannelField::Receive);
    w.store().setText("155", 0, 0, ChannelField::Transmit);
    w.store().setText("D023N", 0, 0, ChannelField::Decode);
    {
        CToneCopyDlg dialog(*w.fx.ctx, 0, 0, nullptr);
        QCOMPARE(dialog.encode()->currentText(), QString("D023N"));
        dialog.copy();
        QCOMPARE(w.store().getText(ChannelField::Encode, 0, 0).value(), std::string("D023N"));
    }
    CToneCopyDlg dialog(*w.fx.ctx, 0, 0, nullptr);
    dialog.encode()->setEditText("88,5"); // decimal comma
    dialog.copy();
    QCOMPARE(w.store().getText(ChannelField::Encode, 0, 0).value(), std::string("88.5"));
}

void CopyDialogsTest::groupEditFollowsTheGridAndStores() {
    ChannelWindow w;
    w.fx.data.image.setU8(0x008D, 4);   // group-name length 4
    w.fx.data.image.setU8(0x002A, '1'); // group scan on
    w.store().setText("150", 2, 0, ChannelField::Receive);
    QVERIFY(showActive(w.view.get()));
    auto* view = new CGrEditView(*w.fx.ctx, nullptr);
    QVERIFY(showActive(view));
    QVERIFY(!view->nameEdit()->isEnabled()); // group 1 has no channels
    QVERIFY(!view->scanAdd()->isEnabled());
    w.view->showGroup(2, 0);
    QCOMPARE(view->group(), 2);
    QVERIFY(view->nameEdit()->isEnabled());
    view->nameEdit()->setFocus();
    QTest::keyClicks(view->nameEdit(), "northern");
    QTest::keyClick(view->nameEdit(), Qt::Key_Return); // Enter moves on and stores
    QCOMPARE(w.store().getGroupName(2), std::string("NORT"));
    const int slot = *w.store().groupSlotOf(2);
    view->scanAdd()->click();
    QVERIFY(!w.fx.data.image.bit(0x0060 + slot / 8, slot % 8));
    // The channel information window closes the group edit window with it.
    QPointer<CGrEditView> guard(view);
    w.view.reset();
    QTRY_VERIFY(guard.isNull() || !guard->isVisible());
    delete guard.data();
}

QTEST_MAIN(CopyDialogsTest)
#include "channels_copy_dialogs_test.moc"
