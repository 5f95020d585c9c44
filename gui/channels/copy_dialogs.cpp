#include "channels/copy_dialogs.h"

#include "app/app_context.h"
#include "app/ui_helpers.h"
#include "channels/channel_info_view.h"
#include "channels/channel_services.h"
#include "widgets/filtered_edit.h"
#include "widgets/help.h"
#include "widgets/tone_combo.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vrl::gui {

namespace {
QString qs(const std::string& s) { return QString::fromStdString(s); }

// Help topics: 0x20000 plus the dialog's template number.
constexpr int kHelpChannelCopy = 131227;
constexpr int kHelpFrequencyCopy = 131231;
constexpr int kHelpGroupJump = 131250;
constexpr int kHelpGroupCopy = 131251;
constexpr int kHelpToneCopy = 131252;

bool isEnter(const QKeyEvent* key) {
    return (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
           !(key->modifiers() & ~Qt::KeypadModifier);
}

// Caption label and field in one row of a grid.
void addRow(QGridLayout* grid, int row, int column, const QString& caption, QWidget* field) {
    grid->addWidget(new QLabel(caption), row, column);
    grid->addWidget(field, row, column + 1);
}
} // namespace

// ---- opening -------------------------------------------------------------------

std::optional<CopyTool> copyToolOfKey(const QKeyEvent* key) {
    const auto mods = key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (mods != Qt::ShiftModifier) return std::nullopt;
    switch (key->key()) {
    case Qt::Key_F3: return CopyTool::Channel;
    case Qt::Key_F4: return CopyTool::Frequency;
    case Qt::Key_F5: return CopyTool::Tone;
    case Qt::Key_F7: return CopyTool::GroupJump;
    case Qt::Key_F8: return CopyTool::GroupCopy;
    default: return std::nullopt;
    }
}

bool copyToolOffered(const ChannelStore& store, CopyTool tool, int g, int c) {
    switch (tool) {
    case CopyTool::Channel: return store.exists(g, c) && store.channelsInGroup(g) > 1;
    case CopyTool::Frequency: return store.exists(g, c);
    case CopyTool::Tone: return !store.isBlank(g, c, 1);
    case CopyTool::GroupJump: return store.groupCopyOffered();
    case CopyTool::GroupCopy: return store.groupCopyOffered() && store.groupExists(g);
    }
    return false;
}

bool runCopyTool(AppContext& ctx, CopyTool tool, int g, int c, QWidget* parent) {
    if (!copyToolOffered(ChannelServices::of(ctx).store(), tool, g, c)) return false;
    switch (tool) {
    case CopyTool::Channel: CChannelCopyDlg(ctx, g, c, parent).exec(); break;
    case CopyTool::Frequency: CFrequencyCopyDlg(ctx, g, c, parent).exec(); break;
    case CopyTool::Tone: CToneCopyDlg(ctx, g, c, parent).exec(); break;
    case CopyTool::GroupCopy: CGroupCopyDlg(ctx, g, parent).exec(); break;
    case CopyTool::GroupJump: {
        CGroupJumpDlg jump(ctx, g, parent);
        if (jump.exec() == QDialog::Accepted)
            if (CChannelInfoView* info = CChannelInfoView::openIn(ctx))
                info->showGroup(jump.chosen(), info->channel());
        break;
    }
    }
    return true;
}

// ---- number field --------------------------------------------------------------

CNumberField::CNumberField(int initial, int maximum, QWidget* parent)
    : SpinEdit(CharFilter::digits(), 3, parent), maximum_(std::max(maximum, 1)) {
    setText(QString::number(initial));
    setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 36);
    connect(this, &SpinEdit::stepped, this, [this](int delta) {
        int v = value() + delta;
        if (v > maximum_) v = 1;
        if (v < 1) v = maximum_;
        setText(QString::number(v));
    });
}

int CNumberField::value() const { return std::clamp(text().toInt(), 1, maximum_); }

int CNumberField::clamp() {
    const int v = value();
    setText(QString::number(v));
    return v;
}

void CNumberField::focusOutEvent(QFocusEvent* event) {
    clamp();
    SpinEdit::focusOutEvent(event);
}

// ---- shared dialog part -------------------------------------------------------------

CCopyDlg::CCopyDlg(AppContext& ctx, int titleText, int helpTopic, QWidget* parent)
    : QDialog(parent), ctx_(ctx), store_(ChannelServices::of(ctx).store()), helpTopic_(helpTopic) {
    setWindowTitle(ctx.text(titleText));
    setWindowIcon(QApplication::windowIcon());
}

void CCopyDlg::finish(QLayout* fields, QPushButton* action) {
    auto* cancel = new QPushButton(ctx_.text(60), this);
    auto* help = new QPushButton(ctx_.text(62), this);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] { help::open(helpTopic_, this); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* b : {action, cancel, help}) {
        b->setAutoDefault(true); // Enter on a button acts as the button
        buttons->addWidget(b);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    applyLanguageFont(this, ctx_.font());
    fitTitle(this);
    new EnterMovesFocus(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CCopyDlg::enterRuns(QWidget* field, QPushButton* action) {
    // Installed after the shared Enter filter, so that it runs first.
    enterField_ = field;
    enterAction_ = action;
    field->installEventFilter(this);
    if (auto* number = qobject_cast<CNumberField*>(field)) number->edit()->installEventFilter(this);
}

bool CCopyDlg::eventFilter(QObject* watched, QEvent* event) {
    if (enterField_ && event->type() == QEvent::KeyPress &&
        isEnter(static_cast<QKeyEvent*>(event)) &&
        (watched == enterField_ || enterField_->isAncestorOf(qobject_cast<QWidget*>(watched)))) {
        enterAction_->click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CCopyDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        help::open(helpTopic_, this);
        return;
    }
    QDialog::keyPressEvent(event);
}

QLineEdit* CCopyDlg::shown(const QString& text) {
    auto* edit = new QLineEdit(text, this);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    // Wide enough for a frequency or a tone, no wider.
    edit->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("000.000000")) + 12);
    return edit;
}

void CCopyDlg::showCannotCreate() {
    ctx_.messages().ask({ctx_.text(chtext::kCannotCreate), ctx_.text(chtext::kCaptionError),
                         MessageService::Icon::Error});
}

void CCopyDlg::showOutOfBand() {
    ctx_.messages().ask({ctx_.text(chtext::kOutOfBand), ctx_.text(chtext::kCaptionWarning),
                         MessageService::Icon::Warning});
}

void CCopyDlg::changed() { emit ctx_.dataChanged(); }

// ---- Channel Copy ------------------------------------------------------------------

CChannelCopyDlg::CChannelCopyDlg(AppContext& ctx, int g, int c, QWidget* parent)
    : CCopyDlg(ctx, 237, kHelpChannelCopy, parent), g_(g), c_(c) {
    toGroup_ = new CNumberField(g + 1, store_.groupCount(), this);
    toChannel_ = new CNumberField(c + 1, store_.channelsInGroup(g), this);
    // Other groups are offered on 128-channel models without trunking only.
    toGroup_->setEnabled(store_.groupCopyOffered());
    copy_ = new QPushButton(ctx.text(63), this);
    connect(copy_, &QPushButton::clicked, this, &CChannelCopyDlg::copy);

    auto* grid = new QGridLayout;
    addRow(grid, 0, 0, ctx.text(206), shown(QString::number(g + 1)));
    addRow(grid, 0, 2, ctx.text(238), toGroup_);
    addRow(grid, 1, 0, ctx.text(207), shown(QString::number(c + 1)));
    addRow(grid, 1, 2, ctx.text(239), toChannel_);
    finish(grid, copy_);
    enterRuns(toChannel_, copy_); // Enter in the target channel copies
    toChannel_->setFocus();
    toChannel_->edit()->selectAll();
}

void CChannelCopyDlg::copy() {
    const int toG = store_.groupCopyOffered() ? toGroup_->clamp() - 1 : g_;
    const int toC = toChannel_->clamp() - 1;
    switch (store_.copyChannel(g_, c_, toG, toC)) {
    case CopyResult::Copied: changed(); break;
    case CopyResult::CannotCreate: showCannotCreate(); break;
    default: break; // onto itself, or a source deleted meanwhile: nothing happens
    }
}

// ---- Frequency Copy ----------------------------------------------------------------

CFrequencyCopyDlg::CFrequencyCopyDlg(AppContext& ctx, int g, int c, QWidget* parent)
    : CCopyDlg(ctx, 243, kHelpFrequencyCopy, parent), g_(g), c_(c) {
    const QString rx = qs(store_.getText(ChannelField::Receive, g, c).value_or(std::string()));
    tx_ = new FilteredEdit(CharFilter::frequency(), 9, this);
    tx_->setText(rx);
    auto* copy = new QPushButton(ctx.text(63), this);
    connect(copy, &QPushButton::clicked, this, &CFrequencyCopyDlg::copy);
    auto* grid = new QGridLayout;
    addRow(grid, 0, 0, ctx.text(244), shown(rx));
    addRow(grid, 1, 0, ctx.text(245), tx_);
    finish(grid, copy);
    enterRuns(tx_, copy); // Enter in the field copies
    tx_->setFocus();
}

void CFrequencyCopyDlg::copy() {
    const StoreResult r = store_.setText(tx_->text().toStdString(), g_, c_, ChannelField::Transmit);
    changed();
    if (r == StoreResult::OutOfBand) showOutOfBand();
    accept();
}

// ---- ST/CST Copy ----------------------------------------------------------------------

CToneCopyDlg::CToneCopyDlg(AppContext& ctx, int g, int c, QWidget* parent)
    : CCopyDlg(ctx, 246, kHelpToneCopy, parent), g_(g), c_(c) {
    const QString decode = qs(store_.getText(ChannelField::Decode, g, c).value_or(std::string()));
    encode_ = new CToneCombo(ctx.text(chtext::kOff), this);
    encode_->setEditText(decode);
    auto* copy = new QPushButton(ctx.text(63), this);
    connect(copy, &QPushButton::clicked, this, &CToneCopyDlg::copy);
    connect(encode_, &QComboBox::activated, this, &CToneCopyDlg::normalize);
    auto* grid = new QGridLayout;
    addRow(grid, 0, 0, ctx.text(247), shown(decode));
    addRow(grid, 1, 0, ctx.text(248), encode_);
    finish(grid, copy);
    encode_->toneEdit()->installEventFilter(this);
    encode_->setFocus();
}

bool CToneCopyDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == encode_->toneEdit() && event->type() == QEvent::FocusOut) normalize();
    return CCopyDlg::eventFilter(watched, event);
}

void CToneCopyDlg::normalize() {
    const QString text = encode_->normalizedText();
    encode_->setEditText(text.isEmpty() ? ctx_.text(chtext::kOff) : text);
}

void CToneCopyDlg::copy() {
    normalize();
    QString text = encode_->currentText();
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    store_.setText(text.toStdString(), g_, c_, ChannelField::Encode);
    changed();
    accept();
}

// ---- Group Copy ------------------------------------------------------------------------

CGroupCopyDlg::CGroupCopyDlg(AppContext& ctx, int g, QWidget* parent)
    : CCopyDlg(ctx, 240, kHelpGroupCopy, parent), g_(g) {
    toGroup_ = new CNumberField(g + 1, store_.groupCount(), this);
    copy_ = new QPushButton(ctx.text(63), this);
    connect(copy_, &QPushButton::clicked, this, &CGroupCopyDlg::copy);
    auto* grid = new QGridLayout;
    addRow(grid, 0, 0, ctx.text(206), shown(QString::number(g + 1)));
    addRow(grid, 1, 0, ctx.text(238), toGroup_);
    finish(grid, copy_);
    toGroup_->setFocus();
    toGroup_->edit()->selectAll();
}

void CGroupCopyDlg::copy() {
    switch (store_.copyGroup(g_, toGroup_->clamp() - 1)) {
    case CopyResult::Copied: changed(); break;
    case CopyResult::CannotCreate: showCannotCreate(); break;
    default: break; // onto itself: nothing happens
    }
}

// ---- Group Jump -------------------------------------------------------------------------

CGroupJumpDlg::CGroupJumpDlg(AppContext& ctx, int g, QWidget* parent)
    : CCopyDlg(ctx, 241, kHelpGroupJump, parent), chosen_(g) {
    group_ = new CNumberField(g + 1, store_.groupCount(), this);
    jump_ = new QPushButton(ctx.text(242), this);
    connect(jump_, &QPushButton::clicked, this, [this] {
        chosen_ = group_->clamp() - 1;
        accept();
    });
    auto* grid = new QGridLayout;
    addRow(grid, 0, 0, ctx.text(206), group_);
    finish(grid, jump_);
    enterRuns(group_, jump_); // Enter in the group field jumps
    group_->setFocus();
    group_->edit()->selectAll();
}

} // namespace vrl::gui
