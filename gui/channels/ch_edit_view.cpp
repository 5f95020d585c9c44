#include "channels/ch_edit_view.h"

#include "app/app_context.h"
#include "app/commands.h"
#include "app/registries.h"
#include "app/ui_helpers.h"
#include "channels/channel_info_view.h"
#include "channels/channel_services.h"
#include "channels/copy_dialogs.h"
#include "widgets/filtered_edit.h"
#include "widgets/spin_edit.h"
#include "widgets/tone_combo.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace vrl::gui {

VRL_REGISTER_FUNCTION_WINDOW(cmd::kChannelEdit, CChEditView);

namespace {
QString qs(const std::string& s) { return QString::fromStdString(s); }

// Index n stepped by delta within 0 .. count - 1, wrapping at both ends.
int wrapped(int n, int count) { return count <= 0 ? 0 : ((n % count) + count) % count; }

// Fills a combo box with the choices when they differ from its items.
void fillChoices(QComboBox* combo, const std::vector<std::string>& choices) {
    QStringList items;
    for (const auto& c : choices) items << qs(c);
    QStringList current;
    for (int i = 0; i < combo->count(); ++i) current << combo->itemText(i);
    if (current == items) return;
    combo->clear();
    combo->addItems(items);
}

// Label control number and language text of each caption.
struct Caption {
    int controlId;
    int text;
};
constexpr Caption kCaptions[] = {{1523, 206}, {1524, 207}, {1525, 208}, {1526, 209},
                                 {1527, 210}, {1528, 211}, {1529, 212}, {1530, 213},
                                 {1531, 214}, {1532, 215}, {1533, 218}, {1534, 219},
                                 {1535, 220}, {1536, 224}, {1537, 225}, {1486, 231}};
} // namespace

CChEditView::CChEditView(AppContext& ctx, QWidget* parent)
    : CFormView(ctx, kTemplateId, parent), services_(ChannelServices::of(ctx)),
      store_(services_.store()) {
    if (CChannelInfoView* info = CChannelInfoView::openIn(ctx)) {
        group_ = info->group();
        channel_ = info->channel();
        // The edit window belongs to the channel information window and closes with it.
        connect(info, &QObject::destroyed, this,
                [this] { QTimer::singleShot(0, this, &CFormView::closeFrame); });
    }
    buildControls();
    bindFields();
    layOut();
    connect(&services_, &ChannelServices::currentChanged, this, &CChEditView::showChannel);

    setTitleText(kTitleText);
    for (const Caption& c : kCaptions) {
        setControlId(labels_.at(c.text), c.controlId);
        addTexts({{labels_.at(c.text), c.text}});
    }
    addTexts({{beatShift_, 226}, {compander_, 227}, {priority_, 228}, {home_, 229},
              {scanAdd_, 230}, {close_, 61}, {help_, 62}});
    setInitialFocus(rx_);
    finishSetup();
}

void CChEditView::buildControls() {
    for (const Caption& c : kCaptions) labels_[c.text] = new QLabel(this);
    scramblerLabel_ = labels_.at(231);
    const QString off = ctx().text(chtext::kOff);
    // Created in the order of the fields, which is the order Tab follows.
    groupSpin_ = new SpinEdit(CharFilter::digits(), 3, this);
    channelSpin_ = new SpinEdit(CharFilter::digits(), 3, this);
    rx_ = new FilteredEdit(CharFilter::frequency(), 9, this);
    tx_ = new FilteredEdit(CharFilter::frequency(), 9, this);
    decode_ = new CToneCombo(off, this);
    encode_ = new CToneCombo(off, this);
    name_ = new FilteredEdit(CharFilter::display(), 8, this);
    optionSignalling_ = new QComboBox(this);
    idCode_ = new FilteredEdit(CharFilter::digits(), 10, this);
    lockout_ = new QComboBox(this);
    power_ = new QComboBox(this);
    width_ = new QComboBox(this);
    pttId_ = new QComboBox(this);
    bot_ = new FilteredEdit(CharFilter::dtmf(), 16, this);
    eot_ = new FilteredEdit(CharFilter::dtmf(), 16, this);
    scrambler_ = new SpinEdit(CharFilter::digits(), 2, this);
    keepOffText(scrambler_->edit(), [this] { return ctx().text(chtext::kNo); });
    beatShift_ = new QCheckBox(this);
    compander_ = new QCheckBox(this);
    priority_ = new QCheckBox(this);
    home_ = new QCheckBox(this);
    scanAdd_ = new QCheckBox(this);
    close_ = makeCloseButton(1065);
    help_ = makeHelpButton(1340);
}

QString CChEditView::fieldText(ChannelField f) const {
    return qs(store_.getText(f, group_, channel_).value_or(std::string()));
}

void CChEditView::bindFields() {
    auto enabled = [this](ChannelField f) {
        return [this, f] { return store_.isEnabled(f, group_, channel_); };
    };
    auto text = [this](ChannelField f) { return [this, f] { return fieldText(f); }; };
    auto store = [this](ChannelField f) {
        return [this, f](const QString& t) { storeText(f, t); };
    };

    bindSpin(
        1319, groupSpin_, [this] { return QString::number(group_ + 1); },
        [this](const QString& t) { selectTyped(t, true); }, [this] { return group_; },
        [this](int g) { select(wrapped(g, store_.groupCount()), channel_); })
        .enabledWhen([this] { return store_.groupEditEnabled(); });
    setControlId(groupSpin_, 1320);
    bindSpin(
        1321, channelSpin_, [this] { return QString::number(channel_ + 1); },
        [this](const QString& t) { selectTyped(t, false); }, [this] { return channel_; },
        [this](int c) { select(group_, wrapped(c, store_.channelsInGroup(group_))); })
        .enabledWhen([this] { return store_.channelEditEnabled(group_); });

    bindEdit(1322, rx_, text(ChannelField::Receive), store(ChannelField::Receive))
        .enabledWhen(enabled(ChannelField::Receive))
        .notifies();
    bindEdit(1324, tx_, text(ChannelField::Transmit), store(ChannelField::Transmit))
        .enabledWhen(enabled(ChannelField::Transmit))
        .notifies();
    for (auto [combo, f, id] : {std::tuple{decode_, ChannelField::Decode, 1325},
                                std::tuple{encode_, ChannelField::Encode, 1327}}) {
        CToneCombo* tone = combo;
        const ChannelField field = f;
        bindEdit(
            id, tone->toneEdit(),
            [this, tone, field] {
                tone->setOffText(ctx().text(chtext::kOff));
                const QString t = fieldText(field);
                tone->setCurrentIndex(tone->findText(t));
                return t;
            },
            store(field))
            .enabledWhen(enabled(field))
            .notifies();
        setControlId(tone, id);
        enableWhen(tone, enabled(field)); // the combo with its button, not only its edit
        // A choice from the list stores at once, as every combo box does.
        connect(tone, &QComboBox::activated, this,
                [this, tone, field] { storeTone(field, tone->currentText()); });
    }
    bindEdit(
        1328, name_,
        [this] {
            name_->setMaxLength(std::max(store_.nameLength(), 0));
            return fieldText(ChannelField::Name);
        },
        store(ChannelField::Name))
        .enabledWhen(enabled(ChannelField::Name))
        .notifies();

    auto bindChoice = [this, enabled](int id, QComboBox* combo, ChannelField f) {
        bindCombo(
            id, combo,
            [this, combo, f] {
                fillChoices(combo, store_.choices(f));
                return store_.choiceIndex(f, group_, channel_);
            },
            [this, f](int s) { storeChoice(f, s); })
            .enabledWhen(enabled(f))
            .notifies();
    };
    bindChoice(1329, optionSignalling_, ChannelField::OptionSignalling);
    bindEdit(
        1330, idCode_,
        [this] {
            idCode_->setMaxLength(store_.idCodeLength());
            return fieldText(ChannelField::IdCode);
        },
        store(ChannelField::IdCode))
        .enabledWhen(enabled(ChannelField::IdCode))
        .notifies();
    bindChoice(1331, lockout_, ChannelField::BusyLockout);
    bindChoice(1332, power_, ChannelField::TxPower);
    bindChoice(1333, width_, ChannelField::Width);
    bindChoice(1337, pttId_, ChannelField::PttId);
    bindEdit(1338, bot_, text(ChannelField::BeginOfTx), store(ChannelField::BeginOfTx))
        .enabledWhen(enabled(ChannelField::BeginOfTx))
        .notifies();
    bindEdit(1339, eot_, text(ChannelField::EndOfTx), store(ChannelField::EndOfTx))
        .enabledWhen(enabled(ChannelField::EndOfTx))
        .notifies();

    // The scrambler spin cycles off, 1, 2 ... 16, off: step index 0 is off.
    bindSpin(
        1335, scrambler_, text(ChannelField::Scrambler), store(ChannelField::Scrambler),
        [this] {
            bool ok = false;
            const int n = fieldText(ChannelField::Scrambler).toInt(&ok);
            return ok && n >= 1 && n <= 16 ? n : 0;
        },
        [this](int step) {
            const int n = wrapped(step, 17);
            storeText(ChannelField::Scrambler, n == 0 ? QString() : QString::number(n));
        })
        .enabledWhen(enabled(ChannelField::Scrambler))
        .notifies();
    setControlId(scrambler_, 1336);
    showWhen(scrambler_, [this] { return store_.scramblerShown(); });
    showWhen(scramblerLabel_, [this] { return store_.scramblerShown(); });

    for (auto [check, f, id] : {std::tuple{beatShift_, ChannelField::BeatShift, 1315},
                                std::tuple{compander_, ChannelField::Compander, 1316},
                                std::tuple{priority_, ChannelField::Priority, 1317},
                                std::tuple{home_, ChannelField::Home, 1318},
                                std::tuple{scanAdd_, ChannelField::ScanAdd, 1334}}) {
        const ChannelField field = f;
        bindCheck(
            id, check, [this, field] { return store_.isChecked(field, group_, channel_); },
            [this, field](bool on) { showResult(store_.setCheck(field, group_, channel_, on)); })
            .enabledWhen(enabled(field))
            .notifies();
    }
}

void CChEditView::layOut() {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    int row = 0;
    auto left = [&](int textIndex, QWidget* control) {
        grid->addWidget(labels_.at(textIndex), row, 0);
        grid->addWidget(control, row++, 1);
    };
    left(206, groupSpin_);
    left(207, channelSpin_);
    left(208, rx_);
    left(209, tx_);
    left(210, decode_);
    left(211, encode_);
    left(212, name_);
    left(213, optionSignalling_);
    const int leftRows = row;
    row = 0;
    auto right = [&](int textIndex, QWidget* control) {
        grid->addWidget(labels_.at(textIndex), row, 3);
        grid->addWidget(control, row++, 4);
    };
    right(214, idCode_);
    right(215, lockout_);
    right(218, power_);
    right(219, width_);
    right(220, pttId_);
    right(224, bot_);
    right(225, eot_);
    right(231, scrambler_);
    grid->setColumnMinimumWidth(2, 16);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(4, 1);
    row = std::max(row, leftRows);

    auto* checks = new QHBoxLayout;
    for (QCheckBox* c : {beatShift_, compander_, priority_, home_, scanAdd_}) checks->addWidget(c);
    checks->addStretch();

    auto* buttons = closeHelpRow(close_, help_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(6);
    layout->addLayout(checks);
    layout->addStretch();
    layout->addLayout(buttons);

    const int wide = fontMetrics().horizontalAdvance(QStringLiteral("0000000000000000")) + 24;
    for (QWidget* w : {static_cast<QWidget*>(rx_), static_cast<QWidget*>(tx_),
                       static_cast<QWidget*>(bot_), static_cast<QWidget*>(eot_)})
        w->setMinimumWidth(wide);
}

QWidget* CChEditView::fieldControl(ChannelField f) const {
    switch (f) {
    case ChannelField::Receive: return rx_;
    case ChannelField::Transmit: return tx_;
    case ChannelField::Decode: return decode_;
    case ChannelField::Encode: return encode_;
    case ChannelField::Name: return name_;
    case ChannelField::OptionSignalling: return optionSignalling_;
    case ChannelField::IdCode: return idCode_;
    case ChannelField::BusyLockout: return lockout_;
    case ChannelField::TxPower: return power_;
    case ChannelField::Width: return width_;
    case ChannelField::PttId: return pttId_;
    case ChannelField::BeginOfTx: return bot_;
    case ChannelField::EndOfTx: return eot_;
    case ChannelField::Scrambler: return scrambler_;
    case ChannelField::BeatShift: return beatShift_;
    case ChannelField::Compander: return compander_;
    case ChannelField::Priority: return priority_;
    case ChannelField::Home: return home_;
    case ChannelField::ScanAdd: return scanAdd_;
    }
    return nullptr;
}

// ---- storing ---------------------------------------------------------------

void CChEditView::showResult(StoreResult r) {
    using Icon = MessageService::Icon;
    switch (r) {
    case StoreResult::OutOfBand:
        ctx().messages().ask({ctx().text(chtext::kOutOfBand), ctx().text(chtext::kCaptionWarning),
                              Icon::Warning});
        break;
    case StoreResult::CannotCreate:
        ctx().messages().ask({ctx().text(chtext::kCannotCreate), ctx().text(chtext::kCaptionError),
                              Icon::Error});
        break;
    case StoreResult::IdCodeTooShort:
        ctx().messages().ask({ctx().text(chtext::kIdCodeTooShort),
                              ctx().text(chtext::kCaptionError), Icon::Error});
        break;
    default: break;
    }
}

void CChEditView::storeText(ChannelField f, const QString& text) {
    // Only the receive frequency may create a channel; a channel deleted meanwhile
    // (another window) takes nothing else.
    if (f != ChannelField::Receive && !store_.exists(group_, channel_)) return;
    showResult(store_.setText(text.toStdString(), group_, channel_, f));
}

void CChEditView::storeTone(ChannelField f, const QString& text) {
    storeText(f, text);
    refresh();
    emit committed();
    emit ctx().dataChanged();
}

void CChEditView::storeChoice(ChannelField f, int selection) {
    if (f == ChannelField::Width && store_.widthNeedsConfirmation(group_, channel_, selection)) {
        const auto answer = ctx().messages().ask(
            {ctx().text(chtext::kCompanderQuestion), ctx().text(chtext::kCaptionQuestion),
             MessageService::Icon::Warning, MessageService::Buttons::OkCancel, true});
        if (answer != QMessageBox::Ok) return;
    }
    showResult(store_.setChoice(f, group_, channel_, selection));
}

// ---- group and channel -------------------------------------------------------

void CChEditView::selectTyped(const QString& text, bool groupEdit) {
    bool ok = false;
    const int typed = text.toInt(&ok);
    if (!ok) return; // nothing usable typed: the number shown before comes back
    if (groupEdit) {
        const int g = std::clamp(typed, 1, std::max(store_.groupCount(), 1)) - 1;
        select(g, channel_);
    } else {
        const int c = std::clamp(typed, 1, std::max(store_.channelsInGroup(group_), 1)) - 1;
        select(group_, c);
    }
}

void CChEditView::select(int g, int c) {
    g = std::clamp(g, 0, std::max(store_.groupCount() - 1, 0));
    c = std::clamp(c, 0, std::max(store_.channelsInGroup(g) - 1, 0));
    group_ = g;
    channel_ = c;
    if (CChannelInfoView* info = CChannelInfoView::openIn(ctx())) {
        selecting_ = true;
        info->selectCell(g, c);
        selecting_ = false;
    }
}

void CChEditView::showChannel(int g, int c) {
    if (selecting_) return;
    group_ = g;
    channel_ = c;
    refresh();
}

void CChEditView::nextGroup(int delta) {
    if (store_.groupCount() <= 1) return;
    const CommitFocus commit; // a typed field is stored before the group changes
    if (CChannelInfoView* info = CChannelInfoView::openIn(ctx())) {
        info->nextGroup(delta);
        showChannel(info->group(), info->channel());
        return;
    }
    select(wrapped(group_ + delta, store_.groupCount()), channel_);
    refresh();
}

void CChEditView::insertOrRemove(bool insert) {
    const CommitFocus commit;
    const bool changed = insert ? store_.insertChannel(group_, channel_)
                                : store_.removeChannel(group_, channel_);
    if (!changed) return;
    refresh();
    emit ctx().dataChanged();
}

bool CChEditView::viewKey(QKeyEvent* key) {
    const auto mods = key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const bool plain = mods == Qt::NoModifier;
    const bool shift = mods == Qt::ShiftModifier;
    const bool ctrl = mods == Qt::ControlModifier;
    if (auto tool = copyToolOfKey(key); tool && *tool != CopyTool::GroupJump) {
        // Ignored while a text field holds an empty text (it would clear the field).
        auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        if (edit && edit->text().isEmpty()) return true;
        const CommitFocus commit; // a typed field is stored before the copy
        if (runCopyTool(ctx(), *tool, group_, channel_, this)) refresh();
        return true;
    }
    switch (key->key()) {
    case Qt::Key_F7:
        if (plain) nextGroup(+1);
        return plain;
    case Qt::Key_F8:
        if (plain) nextGroup(-1);
        return plain;
    case Qt::Key_F9:
        if (shift) insertOrRemove(true);
        return shift;
    case Qt::Key_F10:
        if (shift) insertOrRemove(false);
        return shift;
    case Qt::Key_I:
        if (ctrl) insertOrRemove(true);
        return ctrl;
    case Qt::Key_D:
        if (ctrl) insertOrRemove(false);
        return ctrl;
    default: return false;
    }
}

bool CChEditView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == window() &&
        viewKey(static_cast<QKeyEvent*>(event)))
        return true;
    // The tone combos hold the focus for their edit fields: leaving a combo stores
    // what was typed into its edit.
    if (event->type() == QEvent::FocusOut && (watched == decode_ || watched == encode_))
        return CFormView::eventFilter(static_cast<CToneCombo*>(watched)->toneEdit(), event);
    return CFormView::eventFilter(watched, event);
}

} // namespace vrl::gui
