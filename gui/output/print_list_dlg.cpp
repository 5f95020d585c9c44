#include "output/print_list_dlg.h"

#include "app/app_context.h"
#include "widgets/filtered_edit.h"
#include "widgets/help.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vrl::gui {

namespace {
constexpr int kTextTitle = 92;
constexpr int kTextSetup = 93;
constexpr int kTextPreview = 94;
constexpr int kTextClearAll = 95;
constexpr int kTextSelectAll = 96;
constexpr int kTextGroupRange = 111;
constexpr int kTextOk = 59;
constexpr int kTextCancel = 60;
constexpr int kTextHelp = 62;

int number(const QLineEdit* edit) { return edit->text().toInt(); }
} // namespace

CPrintOutListDlg::CPrintOutListDlg(AppContext& ctx, PrintListState& state, QWidget* parent)
    : QDialog(parent), ctx_(ctx), state_(state) {
    setWindowTitle(ctx_.text(kTextTitle));
    setFont(ctx_.font());
    if (!state_.initialised) {
        state_.initialised = true;
        state_.ticks[static_cast<size_t>(PrintSection::Model)] = true;
        state_.ticks[static_cast<size_t>(PrintSection::Message)] = true;
        state_.end = QString::number(groupsInUse());
    }

    auto* sections = new QGridLayout;
    const bool extended = printSectionOffered(PrintSection::Extended, ctx_.data().image);
    int row = 0;
    for (const PrintSectionInfo& s : printSections()) {
        auto* box = new QCheckBox(ctx_.text(s.textIndex), this);
        box->setProperty("controlId", s.checkBoxId);
        box->setChecked(state_.ticks[static_cast<size_t>(s.section)]);
        boxes_[static_cast<size_t>(s.section)] = box;
        if (s.section == PrintSection::Extended && !extended) {
            box->setChecked(false);
            box->hide();
        }
        sections->addWidget(box, row % 7, row / 7);
        ++row;
        connect(box, &QCheckBox::toggled, this, &CPrintOutListDlg::applyRules);
    }
    start_ = new FilteredEdit(CharFilter::digits(), 3, this);
    end_ = new FilteredEdit(CharFilter::digits(), 3, this);
    start_->setText(state_.start);
    end_->setText(state_.end);
    for (QLineEdit* e : {start_, end_}) {
        e->setMaximumWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
        e->installEventFilter(this);
    }
    auto* range = new QHBoxLayout;
    auto* rangeLabel = new QLabel(ctx_.text(kTextGroupRange), this);
    rangeLabel->setBuddy(start_);
    range->addWidget(rangeLabel);
    range->addWidget(start_);
    range->addWidget(new QLabel(QStringLiteral("-"), this));
    range->addWidget(end_);
    range->addStretch();

    ok_ = new QPushButton(ctx_.text(kTextOk), this);
    cancel_ = new QPushButton(ctx_.text(kTextCancel), this);
    help_ = new QPushButton(ctx_.text(kTextHelp), this);
    setup_ = new QPushButton(ctx_.text(kTextSetup), this);
    preview_ = new QPushButton(ctx_.text(kTextPreview), this);
    clearAll_ = new QPushButton(ctx_.text(kTextClearAll), this);
    selectAll_ = new QPushButton(ctx_.text(kTextSelectAll), this);
    ok_->setDefault(true);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {ok_, cancel_, help_, setup_, preview_, clearAll_, selectAll_}) buttons->addWidget(b);
    buttons->addStretch();

    connect(ok_, &QPushButton::clicked, this, [this] { finish(Outcome::Print); });
    connect(preview_, &QPushButton::clicked, this, [this] { finish(Outcome::Preview); });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(help_, &QPushButton::clicked, this, [this] { help::open(help::kTopicBase + kTemplateId, this); });
    connect(setup_, &QPushButton::clicked, this, &CPrintOutListDlg::printSetupRequested);
    connect(clearAll_, &QPushButton::clicked, this, [this] {
        for (QCheckBox* b : boxes_) b->setChecked(false);
        // The focus may sit on a control that is now disabled.
        if (QWidget* f = focusWidget(); f && !f->isEnabled()) boxes_[0]->setFocus();
        if (!focusWidget() || !focusWidget()->isEnabled()) boxes_[0]->setFocus();
    });
    connect(selectAll_, &QPushButton::clicked, this, [this] {
        for (QCheckBox* b : boxes_)
            if (!b->isHidden() && b->isEnabled()) b->setChecked(true);
    });

    auto* left = new QVBoxLayout;
    left->addLayout(sections);
    left->addLayout(range);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);

    move(state_.position);
    if (state_.size.isValid()) resize(state_.size);
    applyRules();
    for (QWidget* w : findChildren<QWidget*>())
        if (w->property("controlId").toInt() == state_.focusId) w->setFocus();
    if (state_.focusId == kStartId) start_->setFocus();
    if (state_.focusId == kEndId) end_->setFocus();
}

int CPrintOutListDlg::groupsInUse() const {
    FieldContext fc{ctx_.data(), [this](int i) { return ctx_.lang().text(i); }};
    return vrl::groupsInUse(fc);
}

void CPrintOutListDlg::applyRules() {
    const bool channels = boxes_[static_cast<size_t>(PrintSection::Channels)]->isChecked();
    start_->setEnabled(channels);
    end_->setEnabled(channels);
    bool any = false;
    for (QCheckBox* b : boxes_) any = any || (b->isChecked() && !b->isHidden());
    ok_->setEnabled(any);
    preview_->setEnabled(any);
}

void CPrintOutListDlg::fixStart() {
    int start = number(start_);
    if (start <= 0) start = 1;
    const int end = number(end_);
    if (end > 0 && start > end) start = end;
    start_->setText(QString::number(start));
}

void CPrintOutListDlg::fixEnd() {
    const int inUse = groupsInUse();
    int end = std::min(number(end_), inUse);
    if (end <= 0) end = inUse;
    end = std::max(end, number(start_));
    end_->setText(QString::number(end));
}

bool CPrintOutListDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        if (watched == start_) fixStart();
        if (watched == end_) fixEnd();
    }
    return QDialog::eventFilter(watched, event);
}

void CPrintOutListDlg::remember() {
    for (size_t i = 0; i < boxes_.size(); ++i) state_.ticks[i] = boxes_[i]->isChecked();
    state_.start = start_->text();
    state_.end = end_->text();
    state_.position = pos();
    state_.size = size();
    state_.focusId = 1094;
    if (QWidget* f = focusWidget()) {
        if (f == start_) state_.focusId = kStartId;
        else if (f == end_) state_.focusId = kEndId;
        else if (f->property("controlId").isValid()) state_.focusId = f->property("controlId").toInt();
    }
}

void CPrintOutListDlg::finish(Outcome outcome) {
    outcome_ = outcome;
    accept();
}

void CPrintOutListDlg::done(int result) {
    remember();
    QDialog::done(result);
}

PrintJob CPrintOutListDlg::job() const {
    PrintJob job;
    for (size_t i = 0; i < boxes_.size(); ++i) job.sections[i] = boxes_[i]->isChecked() && !boxes_[i]->isHidden();
    job.startGroup = number(start_);
    job.endGroup = number(end_);
    job.title = ctx_.currentFileName();
    return job;
}

} // namespace vrl::gui
