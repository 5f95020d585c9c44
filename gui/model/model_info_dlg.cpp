#include "model/model_info_dlg.h"

#include "app/app_context.h"
#include "app/ui_helpers.h"
#include "widgets/help.h"
#include "model/model_change_questions.h"
#include "model/new_data.h"
#include "widgets/spin_edit.h"

#include <QComboBox>
#include <QShortcut>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace vrl::gui {

namespace {

QString qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

const QString kVhf = QStringLiteral("VHF");
const QString kUhf = QStringLiteral("UHF");

RowGroup groupFor(int radioType, int vhfUhf) {
    return static_cast<RowGroup>(radioType * 2 + vhfUhf);
}

} // namespace

int CModelInfoDlg::groupLimit(std::string_view label) {
    return label.find("[8CH") != std::string_view::npos ? 8 : 16;
}

CModelInfoDlg::CModelInfoDlg(AppContext& ctx, QWidget* parent)
    : QDialog(parent), ctx_(ctx), radioType_(new QComboBox(this)), vhfUhf_(new QComboBox(this)),
      modelType_(new QComboBox(this)), frequency_(new QComboBox(this)),
      optionBoard_(new QComboBox(this)),
      groupCount_(new SpinEdit(CharFilter::digits(), 2, this)) {
    setObjectName(QStringLiteral("CModelInfoDlg"));
    setWindowTitle(ctx.text(159));
    radioType_->addItem(ctx.text(kTextMobile));
    radioType_->addItem(ctx.text(kTextPortable));
    vhfUhf_->addItem(kVhf);
    vhfUhf_->addItem(kUhf);
    modelType_->setMinimumContentsLength(24);
    modelType_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);

    auto* form = new QFormLayout;
    auto addRow = [&](int textIndex, QWidget* field) {
        auto* label = new QLabel(ctx.text(textIndex), this);
        label->setBuddy(field);
        form->addRow(label, field);
    };
    addRow(160, radioType_);
    addRow(163, vhfUhf_);
    addRow(164, modelType_);
    addRow(165, frequency_);
    addRow(166, optionBoard_);
    addRow(167, groupCount_);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(ctx.text(59), QDialogButtonBox::AcceptRole);
    buttons->addButton(ctx.text(60), QDialogButtonBox::RejectRole);
    QPushButton* help = buttons->addButton(ctx.text(62), QDialogButtonBox::HelpRole);
    // Help and F1 open the window's help (0x20000 plus the dialog's number, 130).
    auto openHelp = [this] { help::open(help::kTopicBase + 130, this); };
    connect(help, &QPushButton::clicked, this, openHelp);
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    f1->setContext(Qt::WidgetWithChildrenShortcut);
    connect(f1, &QShortcut::activated, this, openHelp);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &CModelInfoDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    connect(radioType_, &QComboBox::activated, this, &CModelInfoDlg::radioTypeOrBandChanged);
    connect(vhfUhf_, &QComboBox::activated, this, &CModelInfoDlg::radioTypeOrBandChanged);
    connect(modelType_, &QComboBox::activated, this, &CModelInfoDlg::modelTypeChanged);
    connect(optionBoard_, &QComboBox::activated, this, &CModelInfoDlg::optionBoardChanged);
    connect(groupCount_, &SpinEdit::stepped, this, &CModelInfoDlg::groupStepped);
    connect(groupCount_->edit(), &QLineEdit::editingFinished, this, &CModelInfoDlg::groupEdited);

    // The dialog starts from the model the data are for; that choice is the committed
    // one every change is compared with.
    CModelInfo& model = ctx.data().model;
    model.refresh();
    model.setCommitted(model.currentChoice());
    loadChoice(model.committed());
    if (model.row() == kNoRow) {
        // An identity of no known model: its radio type and VHF/UHF as far as they are
        // known, no model and no band.
        const QString vhfUhf = QString::fromLatin1(model.vhfUhfText().data(),
                                                   static_cast<qsizetype>(model.vhfUhfText().size()));
        radioType_->setCurrentIndex(model.radioTypeIndex());
        vhfUhf_->setCurrentIndex(vhfUhf_->findText(vhfUhf));
        if (radioType_->currentIndex() < 0 || vhfUhf_->currentIndex() < 0) modelType_->clear();
        modelType_->setCurrentIndex(-1);
        frequency_->clear();
    }
    applyLanguageFont(this, ctx.font());
    fitTitle(this);
}

void CModelInfoDlg::loadChoice(const ModelChoice& choice) {
    const ModelRow& row = modelTable()[choice.row];
    const RowGroup group = models::groupOf(choice.row);
    {
        QSignalBlocker b1(radioType_), b2(vhfUhf_);
        radioType_->setCurrentIndex(row.family() == 'M' ? 0 : 1);
        vhfUhf_->setCurrentIndex(group == RowGroup::MobileUhf || group == RowGroup::PortableUhf ? 1 : 0);
    }
    {
        QSignalBlocker b(modelType_);
        modelType_->clear();
        for (int r : models::rowsOfGroup(group)) modelType_->addItem(qs(modelTable()[r].label));
        modelType_->setCurrentIndex(choice.row - models::groupFirstRow(group));
    }
    {
        QSignalBlocker b(frequency_);
        frequency_->clear();
        for (int i = 0; i < row.bandCount; ++i) frequency_->addItem(qs(row.band(i)));
        frequency_->setCurrentIndex(choice.bandPosition < row.bandCount ? choice.bandPosition : -1);
    }
    rebuildOptionBoard(row.label);
    const int option = optionBoard_->findData(static_cast<int>(choice.board));
    optionBoard_->setCurrentIndex(option);
    if (choice.board == OptionBoard::Trunking) groupCount_->setText(QString::number(choice.trunkingGroups));
    else groupCount_->setText(QString());
    groupCount_->setEnabled(choice.board == OptionBoard::Trunking);
}

int CModelInfoDlg::selectedRow() const {
    if (radioType_->currentIndex() < 0 || vhfUhf_->currentIndex() < 0 ||
        modelType_->currentIndex() < 0)
        return kNoRow;
    const auto rows = models::rowsOfGroup(groupFor(radioType_->currentIndex(), vhfUhf_->currentIndex()));
    const int pos = modelType_->currentIndex();
    return pos < static_cast<int>(rows.size()) ? rows[pos] : kNoRow;
}

void CModelInfoDlg::radioTypeOrBandChanged() {
    if (radioType_->currentIndex() < 0 || vhfUhf_->currentIndex() < 0) return;
    const QString previous = modelType_->currentText();
    {
        QSignalBlocker b(modelType_);
        modelType_->clear();
        for (int r : models::rowsOfGroup(groupFor(radioType_->currentIndex(), vhfUhf_->currentIndex())))
            modelType_->addItem(qs(modelTable()[r].label));
        const int keep = modelType_->findText(previous);
        modelType_->setCurrentIndex(keep >= 0 ? keep : 0);
    }
    modelTypeChanged();
}

void CModelInfoDlg::modelTypeChanged() {
    const int r = selectedRow();
    if (r == kNoRow) return;
    const ModelRow& row = modelTable()[r];
    {
        QSignalBlocker b(frequency_);
        frequency_->clear();
        for (int i = 0; i < row.bandCount; ++i) frequency_->addItem(qs(row.band(i)));
        frequency_->setCurrentIndex(0);
    }
    const QString previous = optionBoard_->currentText();
    rebuildOptionBoard(row.label);
    const int keep = optionBoard_->findText(previous);
    optionBoard_->setCurrentIndex(keep >= 0 ? keep : 0);
    optionBoardChanged();
}

void CModelInfoDlg::rebuildOptionBoard(std::string_view label) {
    QSignalBlocker b(optionBoard_);
    optionBoard_->clear();
    optionBoard_->addItem(ctx_.text(kTextOptionNone), static_cast<int>(OptionBoard::None));
    if (ctx_.data().model.options.scrOffered)
        optionBoard_->addItem(ctx_.text(kTextOptionScr), static_cast<int>(OptionBoard::Scr));
    if (models::trunkingAllowed(label))
        optionBoard_->addItem(ctx_.text(kTextOptionTrunking), static_cast<int>(OptionBoard::Trunking));
}

void CModelInfoDlg::optionBoardChanged() {
    const bool trunking = optionBoard_->currentData().toInt() == static_cast<int>(OptionBoard::Trunking) &&
                          optionBoard_->currentIndex() >= 0;
    if (!trunking) {
        groupCount_->setText(QString());
        groupCount_->setEnabled(false);
        return;
    }
    groupCount_->setEnabled(true);
    const int r = selectedRow();
    const int limit = groupLimit(r == kNoRow ? std::string_view() : modelTable()[r].label);
    const QString text = groupCount_->text().trimmed();
    if (text.isEmpty()) groupCount_->setText(QStringLiteral("1"));
    else if (text.toInt() > limit) groupCount_->setText(QString::number(limit));
}

void CModelInfoDlg::groupStepped(int delta) {
    const int r = selectedRow();
    const int limit = groupLimit(r == kNoRow ? std::string_view() : modelTable()[r].label);
    int value = groupCount_->text().toInt() + delta;
    if (value < 1) value = limit;
    if (value > limit) value = 1;
    groupCount_->setText(QString::number(value));
}

void CModelInfoDlg::groupEdited() {
    if (!groupCount_->isEnabled()) return;
    const int r = selectedRow();
    const int limit = groupLimit(r == kNoRow ? std::string_view() : modelTable()[r].label);
    const int value = groupCount_->text().toInt();
    if (value <= 0) groupCount_->setText(QStringLiteral("1"));
    else if (value > limit) groupCount_->setText(QString::number(limit));
}

ModelChoice CModelInfoDlg::choice() const {
    ModelChoice c;
    const int r = selectedRow();
    c.row = r == kNoRow ? 0 : r;
    c.bandPosition = std::max(0, frequency_->currentIndex());
    c.board = optionBoard_->currentIndex() < 0
                  ? OptionBoard::None
                  : static_cast<OptionBoard>(optionBoard_->currentData().toInt());
    c.trunkingGroups = c.board == OptionBoard::Trunking ? std::max(1, groupCount_->text().toInt()) : 1;
    return c;
}

void CModelInfoDlg::refuse(QWidget* focus) {
    focus->setFocus();
    ctx_.messages().ask({ctx_.text(10), ctx_.text(79), MessageService::Icon::Error,
                         MessageService::Buttons::Ok, false});
}

bool CModelInfoDlg::checkSelections() {
    for (QComboBox* c : {radioType_, vhfUhf_, modelType_, frequency_, optionBoard_}) {
        if (c->currentIndex() < 0) {
            refuse(c);
            return false;
        }
    }
    if (optionBoard_->currentData().toInt() == static_cast<int>(OptionBoard::Trunking) &&
        groupCount_->text().trimmed().isEmpty()) {
        refuse(groupCount_->edit());
        return false;
    }
    return true;
}

void CModelInfoDlg::accept() {
    if (!checkSelections()) return;
    groupEdited();
    MessageBoxModelQuestions questions(ctx_);
    const ModelChoice chosen = choice();
    // No wait cursor here: the change may still ask its questions.
    const ModelChangeResult result =
        applyModelChange(ctx_.data(), chosen, questions, ctx_.channelPlanEditor());
    switch (result.outcome) {
    case ModelChangeOutcome::Refused:
        loadChoice(ctx_.data().model.committed());
        return;
    case ModelChangeOutcome::Abandoned:
        return;
    case ModelChangeOutcome::Applied:
        break;
    }
    changed_ = true;
    fileNameReset_ = result.resetFileName;
    QDialog::accept();
}

} // namespace vrl::gui
