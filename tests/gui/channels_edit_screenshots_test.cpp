// Pictures of the channel information, channel edit, group edit and key assignment
// windows and of the Channel Copy and Group Copy dialogs, with
// the program's own language file, for the documentation. Runs only when
// VRL_SCREENSHOT_DIR names the folder (scripts/screenshot-channels.sh).
#include "channels/ch_edit_view.h"
#include "channels/channel_grid.h"
#include "channels/channel_info_view.h"
#include "channels/channel_services.h"
#include "channels/copy_dialogs.h"
#include "channels/gr_edit_view.h"
#include "channels/key_view.h"
#include "model/new_data.h"
#include "widgets_test_support.h"

#include <QTest>

using namespace vrl;
using namespace vrl::gui;
using namespace vrl::gui::widgets_test;

class ChannelScreenshots : public QObject {
    Q_OBJECT
  private slots:
    void channelWindows();
};

void ChannelScreenshots::channelWindows() {
    if (qEnvironmentVariableIsEmpty("VRL_SCREENSHOT_DIR")) QSKIP("VRL_SCREENSHOT_DIR not set");
    Fixture fx;
    QCOMPARE(fx.lang.loadFile(VRL_SOURCE_DIR "/data/vrl73m.lng"), LanguageLoadStatus::Ok);
    newDataFor(fx.data, models::identityFor(4, 0, OptionBoard::None)); // RM-160A, 128 channels
    fx.data.model.refresh();
    ChannelStore& store = ChannelServices::of(*fx.ctx).store();
    const char* tones[] = {"67.0", "D023N", "88.5", "D754I", "", "136.5", "D411N", "250.3"};
    for (int c = 0; c < 8; ++c) {
        const std::string rx = std::to_string(150 + c) + ".0125";
        store.setText(rx, 0, c, ChannelField::Receive);
        if (c % 3 != 2) store.setText(std::to_string(155 + c) + ".5", 0, c, ChannelField::Transmit);
        store.setText(tones[c], 0, c, ChannelField::Decode);
        store.setText(tones[7 - c], 0, c, ChannelField::Encode);
        if (c % 2) store.setChoice(ChannelField::TxPower, 0, c, 1);
        if (c == 4) store.setChoice(ChannelField::OptionSignalling, 0, c, 1);
    }
    store.setText("BASE", 0, 0, ChannelField::Name);

    CChannelInfoView info(*fx.ctx, nullptr);
    info.resize(980, 520);
    QVERIFY(showActive(&info));
    info.grid()->setCurrentCell(4, 0);
    screenshot(&info, "channel-information");

    auto* edit = new CChEditView(*fx.ctx, nullptr);
    QVERIFY(showActive(edit));
    edit->adjustSize();
    screenshot(edit, "channel-edit");
    delete edit;

    fx.data.image.setU8(0x008D, 4);   // group names of 4 characters
    fx.data.image.setU8(0x002A, '1'); // group scan on
    store.setGroupName("BASE", 0);
    auto* group = new CGrEditView(*fx.ctx, nullptr);
    QVERIFY(showActive(group));
    group->adjustSize();
    screenshot(group, "group-edit");
    delete group;

    CChannelCopyDlg channelCopy(*fx.ctx, 0, 4, nullptr);
    QVERIFY(showActive(&channelCopy));
    screenshot(&channelCopy, "channel-copy");
    channelCopy.hide();
    CGroupCopyDlg groupCopy(*fx.ctx, 0, nullptr);
    QVERIFY(showActive(&groupCopy));
    screenshot(&groupCopy, "group-copy");
    groupCopy.hide();

    CKeyView keys(*fx.ctx, nullptr);
    QVERIFY(showActive(&keys));
    keys.adjustSize();
    screenshot(&keys, "key-assignment");
}

QTEST_MAIN(ChannelScreenshots)
#include "channels_edit_screenshots_test.moc"
