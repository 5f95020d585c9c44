// The channel edit window: following the channel grid both ways, the enabling of
// its 19 fields, the group and channel spins, the compander question, the ID-code
// error, the tone combo boxes and its keys.
#include "app/commands.h"
#include "app/main_frame.h"
#include "app/registries.h"
#include "channels/ch_edit_view.h"
#include "channels/channel_grid.h"
#include "channels/channel_info_view.h"
#include "channels/channel_services.h"
#include "model/new_data.h"
#include "widgets/filtered_edit.h"
#include "widgets/spin_edit.h"
#include "widgets/tone_combo.h"
#include "widgets_test_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QTest>

using namespace vrl;
using namespace vrl::gui;
using namespace vrl::gui::widgets_test;

namespace {

// Answers every question with `answer` and records it.
class AnsweringMessages : public MessageService {
  public:
    QMessageBox::StandardButton ask(const Request& request) override {
        asked.append(request);
        return answer;
    }
    QMessageBox::StandardButton answer = QMessageBox::Ok;
    QVector<Request> asked;
};

constexpr int kRm160K = 4;  // 128 channels, mobile, market K
constexpr int kRp120K = 19; // 128 channels, portable

struct EditWindows {
    Fixture fx;
    AnsweringMessages messages;
    std::unique_ptr<CChannelInfoView> info;
    QPointer<CChEditView> edit;

    explicit EditWindows(int row = kRm160K, OptionBoard board = OptionBoard::None,
                         bool withGrid = true) {
        fx.ctx = std::make_unique<AppContext>(fx.data, fx.lang, messages);
        newDataFor(fx.data, models::identityFor(row, 0, board));
        fx.data.image.setU8(0x00AD, optionByteFor(board));
        fx.data.model.refresh();
        if (withGrid) info = std::make_unique<CChannelInfoView>(*fx.ctx, nullptr);
    }
    ~EditWindows() { delete edit.data(); }
    ChannelStore& store() { return ChannelServices::of(*fx.ctx).store(); }
    CChannelGrid* grid() { return info->grid(); }
    CChEditView* open() {
        edit = new CChEditView(*fx.ctx, nullptr);
        return edit;
    }
    template <class W>
    W* control(ChannelField f) {
        return qobject_cast<W*>(edit->fieldControl(f));
    }
    QString text(ChannelField f, int g, int c) {
        return QString::fromStdString(store().getText(f, g, c).value_or("<none>"));
    }
    // Types into a control and leaves it with Enter (which moves on like Tab).
    void typeInto(QWidget* w, const QString& keys) {
        w->setFocus(Qt::TabFocusReason); // as Tab arrives: an edit's text is selected
        QTest::keyClicks(w, keys);
        QTest::keyClick(w, Qt::Key_Return);
    }
    void channel(int g, int c, const std::string& rx, const std::string& tx = {}) {
        store().setText(rx, g, c, ChannelField::Receive);
        if (!tx.empty()) store().setText(tx, g, c, ChannelField::Transmit);
    }
};

QString gridText(CChannelGrid* grid, int row, ChannelField f) {
    auto* item = grid->item(row, grid->columnOfField(f));
    return item ? item->text() : QString();
}

} // namespace

class ChannelEditViewTest : public QObject {
    Q_OBJECT
  private slots:
    void registeredForItsCommand();
    void showsTheGridsCurrentChannel();
    void editsShowInTheGrid();
    void typedGroupAboveCountIsClampedAndSelectedInGrid();
    void spinsWrapAtBothEnds();
    void blankChannelOffersOnlyTheReceiveFrequency();
    void existingChannelEnablesFieldsByTheirRules();
    void companderQuestionCancelKeepsWidth();
    void companderQuestionOkSwitchesCompanderOff();
    void shortIdCodeIsRefusedWithError();
    void toneComboNormalizesTypedText();
    void toneChosenFromListStoresAtOnce();
    void outOfBandFrequencyWarnsAndStores();
    void nameLimitedByGroupNameLength();
    void scramblerShownOnlyWithScrBoardAndCycles();
    void groupKeysMoveTheGrid();
    void insertAndRemoveKeys();
    void closesWithTheChannelInformationWindow();
    void worksWithoutTheChannelInformationWindow();
    void f11InTheGridOpensItInTheMainFrame();
};

void ChannelEditViewTest::registeredForItsCommand() {
    QVERIFY(FunctionWindowRegistry::instance().find(cmd::kChannelEdit));
    EditWindows w;
    w.open();
    QCOMPARE(w.edit->windowTitle(), QString("T205"));
    QCOMPARE(w.edit->findChildren<QLabel*>().size(), 16);
}

void ChannelEditViewTest::showsTheGridsCurrentChannel() {
    EditWindows w;
    w.channel(0, 2, "152");
    w.info->refresh();
    w.grid()->setCurrentCell(1, 0);
    w.open();
    QCOMPARE(w.edit->channel(), 1); // opened on the grid's current channel
    w.grid()->setCurrentCell(2, 0);
    QCOMPARE(w.edit->channel(), 2);
    QCOMPARE(w.edit->channelSpin()->text(), QString("3"));
    QCOMPARE(w.control<QLineEdit>(ChannelField::Receive)->text(), QString("152.00000"));
}

void ChannelEditViewTest::editsShowInTheGrid() {
    EditWindows w;
    w.grid()->setCurrentCell(4, 0);
    w.open();
    QVERIFY(showActive(w.edit));
    w.typeInto(w.control<QLineEdit>(ChannelField::Receive), "146,5");
    QCOMPARE(w.text(ChannelField::Receive, 0, 4), QString("146.50000"));
    QCOMPARE(gridText(w.grid(), 4, ChannelField::Receive), QString("146.50000"));
    w.typeInto(w.control<QLineEdit>(ChannelField::Name), "ab-1");
    QCOMPARE(gridText(w.grid(), 4, ChannelField::Name), QString("AB-1"));
    auto* power = w.control<QComboBox>(ChannelField::TxPower);
    QVERIFY(power->isEnabled());
    emit power->activated(1);
    QCOMPARE(gridText(w.grid(), 4, ChannelField::TxPower), QString("T186"));
}

void ChannelEditViewTest::typedGroupAboveCountIsClampedAndSelectedInGrid() {
    EditWindows w;
    w.channel(127, 0, "150");
    w.open();
    QVERIFY(showActive(w.edit));
    w.typeInto(w.edit->groupSpin()->edit(), "200");
    QCOMPARE(w.edit->group(), 127);
    QCOMPARE(w.edit->groupSpin()->text(), QString("128"));
    QCOMPARE(w.info->group(), 127);
    QCOMPARE(w.grid()->group(), 127);
    QCOMPARE(w.control<QLineEdit>(ChannelField::Receive)->text(), QString("150.00000"));
    w.typeInto(w.edit->channelSpin()->edit(), "0");
    QCOMPARE(w.edit->channel(), 0);
    QCOMPARE(w.edit->channelSpin()->text(), QString("1"));
}

void ChannelEditViewTest::spinsWrapAtBothEnds() {
    EditWindows w;
    w.open();
    w.edit->groupSpin()->stepBy(-1);
    QCOMPARE(w.edit->group(), 127);
    QCOMPARE(w.info->group(), 127);
    w.edit->groupSpin()->stepBy(1);
    QCOMPARE(w.edit->group(), 0);
    w.edit->channelSpin()->stepBy(-1);
    QCOMPARE(w.edit->channel(), 127);
    QCOMPARE(w.grid()->currentRow(), 127);
    w.edit->channelSpin()->stepBy(1);
    QCOMPARE(w.edit->channel(), 0);
}

void ChannelEditViewTest::blankChannelOffersOnlyTheReceiveFrequency() {
    EditWindows w;
    w.open();
    for (int code = 0; code < kChannelFieldCount; ++code) {
        const ChannelField f = fieldOf(code);
        QCOMPARE(w.edit->fieldControl(f)->isEnabled(), f == ChannelField::Receive);
    }
    QVERIFY(w.edit->groupSpin()->isEnabled());
    QVERIFY(w.edit->channelSpin()->isEnabled());
}

void ChannelEditViewTest::existingChannelEnablesFieldsByTheirRules() {
    struct Case {
        ChannelField field;
        bool rxOnly;   // channel with a receive frequency only, defaults otherwise
        bool prepared; // transmit set, DTMF signalling, PTT ID "BOT", width 2nd, home key
    };
    const Case cases[] = {
        {ChannelField::Receive, true, true},
        {ChannelField::Transmit, true, true},
        {ChannelField::Decode, true, true},
        {ChannelField::Encode, false, true},
        {ChannelField::Name, true, true},
        {ChannelField::OptionSignalling, true, true},
        {ChannelField::IdCode, false, true},
        {ChannelField::BusyLockout, true, true},
        {ChannelField::TxPower, true, true},
        {ChannelField::Width, true, true},
        {ChannelField::PttId, true, true},
        {ChannelField::BeginOfTx, false, true},
        {ChannelField::EndOfTx, false, false},
        {ChannelField::Scrambler, false, false},
        {ChannelField::BeatShift, true, true},
        {ChannelField::Compander, false, true},
        {ChannelField::Priority, false, true},
        {ChannelField::Home, false, true},
        {ChannelField::ScanAdd, true, true},
    };
    EditWindows w;
    w.channel(0, 0, "150");
    w.fx.data.image.setU8(0x0020, 0xFF); // priority channel feature off
    for (int k = 0x0110; k <= 0x011A; ++k) w.fx.data.image.setU8(k, 0x4F); // no key: None
    w.open();
    for (const Case& c : cases)
        QVERIFY2(w.edit->fieldControl(c.field)->isEnabled() == c.rxOnly,
                 qPrintable(QString("rx only, field %1").arg(codeOf(c.field))));

    w.channel(0, 0, "150", "155");
    auto& image = w.fx.data.image;
    const size_t rec = 0x2000 + 48 * size_t(*w.store().slotOf(0, 0));
    image.setU8(rec + 0x1F, '0');                                      // DTMF signalling
    image.setU8(rec + 0x20, static_cast<uint8_t>(image.u8(rec + 0x20) & 0x3E)); // BOT, 2nd width
    image.setU8(0x0020, 0x30);
    image.setU8(0x0110, 0x35); // Home Channel on a key
    w.edit->refresh();
    for (const Case& c : cases)
        QVERIFY2(w.edit->fieldControl(c.field)->isEnabled() == c.prepared,
                 qPrintable(QString("prepared, field %1").arg(codeOf(c.field))));
}

void ChannelEditViewTest::companderQuestionCancelKeepsWidth() {
    EditWindows w;
    w.channel(0, 0, "150");
    w.open();
    auto* width = w.control<QComboBox>(ChannelField::Width);
    emit width->activated(1);
    w.control<QCheckBox>(ChannelField::Compander)->click();
    QVERIFY(w.store().isChecked(ChannelField::Compander, 0, 0));
    w.messages.answer = QMessageBox::Cancel;
    width->setCurrentIndex(0);
    emit width->activated(0);
    QCOMPARE(w.messages.asked.size(), 1);
    QCOMPARE(w.messages.asked[0].text, QString("T11"));
    QCOMPARE(w.messages.asked[0].caption, QString("T78"));
    QVERIFY(w.messages.asked[0].cancelIsDefault);
    QCOMPARE(w.store().choiceIndex(ChannelField::Width, 0, 0), 1);
    QCOMPARE(width->currentIndex(), 1); // the window shows the stored choice again
    QVERIFY(w.store().isChecked(ChannelField::Compander, 0, 0));
}

void ChannelEditViewTest::companderQuestionOkSwitchesCompanderOff() {
    EditWindows w;
    w.channel(0, 0, "150");
    w.open();
    auto* width = w.control<QComboBox>(ChannelField::Width);
    emit width->activated(1);
    w.control<QCheckBox>(ChannelField::Compander)->click();
    emit width->activated(0);
    QCOMPARE(w.messages.asked.size(), 1);
    QCOMPARE(w.store().choiceIndex(ChannelField::Width, 0, 0), 0);
    QVERIFY(!w.store().isChecked(ChannelField::Compander, 0, 0));
    QVERIFY(!w.control<QCheckBox>(ChannelField::Compander)->isChecked());
    // No question when the compander is off already.
    emit width->activated(1);
    emit width->activated(0);
    QCOMPARE(w.messages.asked.size(), 1);
}

void ChannelEditViewTest::shortIdCodeIsRefusedWithError() {
    EditWindows w;
    w.channel(0, 0, "150");
    w.open();
    QVERIFY(showActive(w.edit));
    emit w.control<QComboBox>(ChannelField::OptionSignalling)->activated(1); // DTMF
    auto* id = w.control<QLineEdit>(ChannelField::IdCode);
    QVERIFY(id->isEnabled());
    id->selectAll();
    w.typeInto(id, "12");
    QCOMPARE(w.messages.asked.size(), 1);
    QCOMPARE(w.messages.asked[0].text, QString("T10"));
    QCOMPARE(w.messages.asked[0].caption, QString("T79"));
    QCOMPARE(w.text(ChannelField::IdCode, 0, 0), QString("000"));
    QCOMPARE(id->text(), QString("000"));
    id->selectAll();
    w.typeInto(id, "4711");
    QCOMPARE(w.text(ChannelField::IdCode, 0, 0), QString("4711"));
    QCOMPARE(w.messages.asked.size(), 1);
}

void ChannelEditViewTest::toneComboNormalizesTypedText() {
    EditWindows w;
    w.channel(0, 0, "150", "150");
    w.open();
    QVERIFY(showActive(w.edit));
    auto* decode = w.control<CToneCombo>(ChannelField::Decode);
    decode->lineEdit()->selectAll();
    w.typeInto(decode, "d23");
    QCOMPARE(w.text(ChannelField::Decode, 0, 0), QString("D230N"));
    QCOMPARE(decode->currentText(), QString("D230N"));
    QCOMPARE(gridText(w.grid(), 0, ChannelField::Decode), QString("D230N"));
    auto* encode = w.control<CToneCombo>(ChannelField::Encode);
    encode->lineEdit()->selectAll();
    w.typeInto(encode, "100,05");
    QCOMPARE(w.text(ChannelField::Encode, 0, 0), QString("100.0"));
    QCOMPARE(encode->currentText(), QString("100.0"));
}

void ChannelEditViewTest::toneChosenFromListStoresAtOnce() {
    EditWindows w;
    w.channel(0, 0, "150");
    w.open();
    auto* decode = w.control<CToneCombo>(ChannelField::Decode);
    QCOMPARE(decode->currentText(), QString("T65"));
    const int d025n = decode->findText("D025N");
    QCOMPARE(d025n, 1 + 39 + 1); // after the off text, the 39 ST tones and D023N
    decode->setCurrentIndex(d025n);
    emit decode->activated(d025n);
    QCOMPARE(w.text(ChannelField::Decode, 0, 0), QString("D025N"));
    decode->setCurrentIndex(0);
    emit decode->activated(0);
    QCOMPARE(w.text(ChannelField::Decode, 0, 0), QString("T65"));
}

void ChannelEditViewTest::outOfBandFrequencyWarnsAndStores() {
    EditWindows w;
    w.open();
    QVERIFY(showActive(w.edit));
    w.typeInto(w.control<QLineEdit>(ChannelField::Receive), "120");
    QCOMPARE(w.text(ChannelField::Receive, 0, 0), QString("120.00000"));
    QCOMPARE(w.messages.asked.size(), 1);
    QCOMPARE(w.messages.asked[0].text, QString("T9"));
    QCOMPARE(w.messages.asked[0].caption, QString("T82"));
    // Leaving the edit without a change stores nothing and warns no more.
    w.typeInto(w.control<QLineEdit>(ChannelField::Receive), "");
    QCOMPARE(w.messages.asked.size(), 1);
}

void ChannelEditViewTest::nameLimitedByGroupNameLength() {
    EditWindows w;
    w.fx.data.image.setU8(0x008D, 2);
    w.channel(0, 0, "150");
    w.open();
    QVERIFY(showActive(w.edit));
    auto* name = w.control<FilteredEdit>(ChannelField::Name);
    QCOMPARE(name->maxLength(), 6);
    name->selectAll();
    w.typeInto(name, "abcdefgh");
    QCOMPARE(w.text(ChannelField::Name, 0, 0), QString("ABCDEF"));
}

void ChannelEditViewTest::scramblerShownOnlyWithScrBoardAndCycles() {
    {
        EditWindows w;
        w.open();
        QVERIFY(showActive(w.edit));
        QVERIFY(!w.edit->fieldControl(ChannelField::Scrambler)->isVisible());
        QVERIFY(!w.edit->scramblerLabel()->isVisible());
    }
    EditWindows w(kRm160K, OptionBoard::Scr);
    w.channel(0, 0, "150");
    w.open();
    QVERIFY(showActive(w.edit));
    auto* spin = qobject_cast<SpinEdit*>(w.edit->fieldControl(ChannelField::Scrambler));
    QVERIFY(spin->isVisible());
    QVERIFY(spin->isEnabled());
    QCOMPARE(spin->text(), QString("T69"));
    spin->stepBy(1);
    QCOMPARE(w.text(ChannelField::Scrambler, 0, 0), QString("1"));
    spin->stepBy(-1);
    spin->stepBy(-1);
    QCOMPARE(w.text(ChannelField::Scrambler, 0, 0), QString("16"));
    spin->stepBy(1);
    QCOMPARE(spin->text(), QString("T69"));
}

void ChannelEditViewTest::groupKeysMoveTheGrid() {
    EditWindows w;
    w.open();
    QVERIFY(showActive(w.edit));
    w.control<QLineEdit>(ChannelField::Receive)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F8);
    QCOMPARE(w.info->group(), 127);
    QCOMPARE(w.edit->group(), 127);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F7);
    QCOMPARE(w.edit->group(), 0);
    QCOMPARE(w.edit->groupSpin()->text(), QString("1"));
}

void ChannelEditViewTest::insertAndRemoveKeys() {
    EditWindows w;
    w.channel(0, 0, "150");
    w.channel(0, 1, "151");
    w.open();
    QVERIFY(showActive(w.edit));
    w.control<QLineEdit>(ChannelField::Receive)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_I, Qt::ControlModifier);
    QVERIFY(!w.store().exists(0, 0));
    QCOMPARE(w.text(ChannelField::Receive, 0, 1), QString("150.00000"));
    QCOMPARE(gridText(w.grid(), 2, ChannelField::Receive), QString("151.00000"));
    QCOMPARE(w.control<QLineEdit>(ChannelField::Receive)->text(), QString());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F10, Qt::ShiftModifier);
    QCOMPARE(w.text(ChannelField::Receive, 0, 0), QString("150.00000"));
    QCOMPARE(w.control<QLineEdit>(ChannelField::Receive)->text(), QString("150.00000"));
}

void ChannelEditViewTest::closesWithTheChannelInformationWindow() {
    EditWindows w;
    w.open();
    w.edit->show();
    w.info.reset();
    QTRY_VERIFY(w.edit.isNull() || !w.edit->isVisible());
}

void ChannelEditViewTest::worksWithoutTheChannelInformationWindow() {
    EditWindows w(kRp120K, OptionBoard::None, false);
    w.open();
    QVERIFY(showActive(w.edit));
    w.typeInto(w.control<QLineEdit>(ChannelField::Receive), "160");
    QCOMPARE(w.text(ChannelField::Receive, 0, 0), QString("160.00000"));
    w.edit->groupSpin()->stepBy(1);
    QCOMPARE(w.edit->group(), 1);
    QCOMPARE(w.control<QLineEdit>(ChannelField::Receive)->text(), QString());
}

void ChannelEditViewTest::f11InTheGridOpensItInTheMainFrame() {
    EditWindows w(kRm160K, OptionBoard::None, false);
    CMainFrame frame(*w.fx.ctx, nullptr);
    QVERIFY(showActive(&frame));
    frame.openFunctionWindow(cmd::kChannelInformation);
    auto* info = qobject_cast<CChannelInfoView*>(frame.functionWindow(cmd::kChannelInformation));
    QVERIFY(info);
    info->grid()->setFocus();
    info->grid()->setCurrentCell(6, 0);
    QTest::keyClick(info->grid(), Qt::Key_F11);
    auto* edit = qobject_cast<CChEditView*>(frame.functionWindow(cmd::kChannelEdit));
    QVERIFY(edit);
    QCOMPARE(edit->channel(), 6);
    info->grid()->setCurrentCell(9, 0);
    QCOMPARE(edit->channel(), 9);
    frame.closeAllFunctionWindows();
    QCOMPARE(frame.functionWindowCount(), 0);
}

QTEST_MAIN(ChannelEditViewTest)
#include "channels_edit_view_test.moc"
