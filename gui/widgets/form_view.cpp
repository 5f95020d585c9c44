#include "widgets/form_view.h"

#include "app/app_context.h"
#include "app/ui_helpers.h"
#include "widgets/field_grid.h"
#include "widgets/help.h"
#include "widgets/filtered_edit.h"
#include "widgets/spin_edit.h"
#include "widgets/tab_page_list.h"

#include <QGridLayout>
#include <QHBoxLayout>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QToolTip>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

namespace vrl::gui {

CFormView::Binding& CFormView::Binding::enabledWhen(Predicate rule) {
    enabled = std::move(rule);
    return *this;
}

CFormView::Binding& CFormView::Binding::notifies() {
    notifiesOthers = true;
    return *this;
}

CFormView::CFormView(AppContext& ctx, int templateId, QWidget* parent)
    : QWidget(parent), ctx_(ctx),
      fieldCtx_{ctx.data(), [&lang = ctx.lang()](int index) { return lang.text(index); }},
      templateId_(templateId) {
    setAttribute(Qt::WA_DeleteOnClose);
    // The main frame makes every open window refresh() after a change; the texts and
    // the font follow the language here.
    connect(&ctx_, &AppContext::languageChanged, this, &CFormView::retranslate);
}

CFormView::~CFormView() {
    // Children may still report a focus change while they are torn down; nothing of
    // this window may answer then.
    for (const auto& b : bindings_)
        if (b->widget) b->widget->disconnect(this);
}

// ---- texts -------------------------------------------------------------------

void CFormView::setTitleText(int textIndex) { titleText_ = textIndex; }

void CFormView::addTexts(std::initializer_list<TextEntry> entries) {
    texts_.insert(texts_.end(), entries.begin(), entries.end());
}

void CFormView::setTabs(TabPageList* tabs) {
    tabs_ = tabs;
    tabs->installKeys(this);
    setControlId(tabs->tabs(), templateId_);
    setControlId(tabs->tabs()->tabBar(), templateId_);
}

QPushButton* CFormView::makeCloseButton(int controlId) {
    auto* b = new QPushButton(this);
    setControlId(b, templateId_);
    enterClicks_.append(b);
    connect(b, &QPushButton::clicked, this, &CFormView::closeFrame);
    Q_UNUSED(controlId);
    return b;
}

QPushButton* CFormView::makeHelpButton(int controlId) {
    auto* b = new QPushButton(this);
    setControlId(b, templateId_);
    enterClicks_.append(b);
    connect(b, &QPushButton::clicked, this, &CFormView::openHelp);
    Q_UNUSED(controlId);
    return b;
}

QHBoxLayout* CFormView::closeHelpRow(QPushButton* close, QPushButton* help) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(close);
    row->addWidget(help);
    return row;
}

QVBoxLayout* CFormView::layOutWithButtons(QWidget* body, int closeId, int helpId) {
    auto* close = makeCloseButton(closeId);
    auto* help = makeHelpButton(helpId);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(body);
    layout->addLayout(closeHelpRow(close, help));
    addTexts({{close, kCloseText}, {help, kHelpText}});
    return layout;
}

void CFormView::setControlId(QWidget* control, int controlId) {
    // A control may change its number (a tab control's topic follows its page).
    for (auto& [c, id] : controlIds_)
        if (c == control) {
            id = controlId;
            return;
        }
    controlIds_.emplace_back(control, controlId);
}

void CFormView::keepEnter(QWidget* control) { enterKeepers_.append(control); }

void CFormView::retranslate() {
    setFont(ctx_.font());
    if (titleText_ >= 0) setWindowTitle(ctx_.text(titleText_));
    for (const TextEntry& e : texts_) {
        // Labels are shown as written: an "&" ("Store & Send") is no shortcut mark.
        QString text = ctx_.text(e.textIndex);
        if (qobject_cast<QAbstractButton*>(e.control) || qobject_cast<QLabel*>(e.control) ||
            qobject_cast<QGroupBox*>(e.control))
            text.replace(QLatin1Char('&'), QLatin1String("&&"));
        if (auto* b = qobject_cast<QAbstractButton*>(e.control))
            b->setText(text);
        else if (auto* l = qobject_cast<QLabel*>(e.control))
            l->setText(text);
        else if (auto* g = qobject_cast<QGroupBox*>(e.control))
            g->setTitle(text);
        else
            e.control->setWindowTitle(text);
    }
    if (tabs_)
        for (int p = 0; p < tabs_->pageCount(); ++p)
            tabs_->tabs()->setTabText(p, ctx_.text(tabs_->captionTextIndex(p)));
}

// ---- fields ------------------------------------------------------------------

CFormView::Binding& CFormView::addBinding(int controlId, QWidget* widget) {
    setControlId(widget, controlId);
    bindings_.push_back(std::make_unique<Binding>());
    Binding& b = *bindings_.back();
    b.widget = widget;
    return b;
}

CFormView::Binding& CFormView::bindEdit(int controlId, QLineEdit* edit, TextGetter get,
                                        TextSetter set) {
    Binding& b = addBinding(controlId, edit);
    b.load = [edit, get, &b] {
        if (auto* filtered = qobject_cast<FilteredEdit*>(edit))
            filtered->setShownText(get());
        else
            edit->setText(get());
        b.edited = false;
    };
    // Typed-into is tracked here rather than with QLineEdit::isModified(), which a
    // validator that rewrites the text (upper case, dropped characters) resets.
    connect(edit, &QLineEdit::textEdited, this, [&b] { b.edited = true; });
    b.isPending = [&b] { return b.edited; };
    b.commitPending = [edit, set, &b] {
        b.edited = false;
        set(edit->text());
    };
    return b;
}

CFormView::Binding& CFormView::bindSpin(int controlId, SpinEdit* spin, TextGetter get,
                                        TextSetter set, IntGetter step, IntSetter setStep) {
    Binding& b = addBinding(controlId, spin);
    setControlId(spin->edit(), controlId);
    b.load = [spin, get, &b] {
        spin->setText(get());
        b.edited = false;
    };
    connect(spin->edit(), &QLineEdit::textEdited, this, [&b] { b.edited = true; });
    b.isPending = [&b] { return b.edited; };
    b.commitPending = [spin, set, &b] {
        b.edited = false;
        set(spin->text());
    };
    connect(spin, &SpinEdit::stepped, this, [this, &b, step, setStep](int delta) {
        if (loading_) return;
        // Text typed before the step counts first, so the step starts from it.
        if (b.isPending()) b.commitPending();
        setStep(step() + delta);
        afterCommit(b);
    });
    return b;
}

CFormView::Binding& CFormView::bindCombo(int controlId, QComboBox* combo, IntGetter get,
                                         IntSetter set) {
    Binding& b = addBinding(controlId, combo);
    b.load = [combo, get] { combo->setCurrentIndex(get()); };
    connect(combo, &QComboBox::activated, this, [this, &b, set](int index) {
        if (loading_) return;
        set(index);
        afterCommit(b);
    });
    return b;
}

CFormView::Binding& CFormView::bindCheck(int controlId, QCheckBox* check, BoolGetter get,
                                         BoolSetter set) {
    Binding& b = addBinding(controlId, check);
    b.load = [check, get] { check->setChecked(get()); };
    connect(check, &QCheckBox::clicked, this, [this, &b, set](bool on) {
        if (loading_) return;
        set(on);
        afterCommit(b);
    });
    return b;
}

// ---- fields of the field table ---------------------------------------------------

namespace {

QString fromCore(const std::string& text) { return QString::fromUtf8(text.c_str()); }
std::string toCore(const QString& text) { return text.toUtf8().toStdString(); }

// Replaces a combo box's items only when they changed, so an open list and the
// selection are not disturbed by a reload.
void setItems(QComboBox* combo, const std::vector<std::string>& items) {
    QStringList list;
    for (const std::string& item : items) list << fromCore(item);
    bool same = combo->count() == list.size();
    for (int i = 0; same && i < list.size(); ++i) same = combo->itemText(i) == list[i];
    if (same) return;
    const QSignalBlocker block(combo);
    combo->clear();
    combo->addItems(list);
}

} // namespace

CFormView::Binding& CFormView::bindField(const Field& f, QWidget* control) {
    auto field = std::make_shared<const Field>(f);
    FieldContext* fc = &fieldCtx_;
    Binding* binding = nullptr;
    switch (field->kind) {
    case FieldKind::Edit:
    case FieldKind::Cell:
        binding = &bindEdit(
            field->controlId, static_cast<QLineEdit*>(control),
            [field, fc] { return fromCore(field->text(*fc)); },
            [field, fc](const QString& text) { field->setText(*fc, toCore(text)); });
        break;
    case FieldKind::Spin:
        binding = &bindSpin(
            field->controlId, static_cast<SpinEdit*>(control),
            [field, fc] { return fromCore(field->text(*fc)); },
            [field, fc](const QString& text) { field->setText(*fc, toCore(text)); },
            [field, fc] { return field->stepIndex(*fc); },
            [field, fc](int index) { field->setStep(*fc, index); });
        break;
    case FieldKind::Check:
        binding = &bindCheck(
            field->controlId, static_cast<QCheckBox*>(control),
            [field, fc] { return field->value(*fc) != 0; },
            [field, fc](bool on) { field->setValue(*fc, on ? 1 : 0); });
        break;
    case FieldKind::Combo: {
        auto* combo = static_cast<QComboBox*>(control);
        binding = &bindCombo(
            field->controlId, combo,
            [field, fc, combo] {
                setItems(combo, field->choices(*fc));
                return field->value(*fc);
            },
            [field, fc](int item) { field->setValue(*fc, item); });
        break;
    }
    }
    if (field->enabled) binding->enabledWhen([field, fc] { return field->enabled(*fc); });
    if (field->shown) showWhen(control, [field, fc] { return field->shown(*fc); });
    if (field->notifies) binding->notifies();
    if (field->refusalNote && binding->commitPending) {
        // Text the field drops is said so, in the status bar and the control's tip;
        // what is stored stays as it was.
        auto store = binding->commitPending;
        binding->commitPending = [this, field, fc, control, store] {
            QString typed;
            if (auto* edit = qobject_cast<QLineEdit*>(control)) typed = edit->text();
            else if (auto* spin = qobject_cast<SpinEdit*>(control)) typed = spin->text();
            const std::string why = field->refusalNote(*fc, toCore(typed));
            store();
            if (why.empty()) {
                control->setToolTip(QString());
                return;
            }
            reportRefusal(control, ctx_.text(why.c_str()).arg(fromCore(field->labelIn(*fc)), typed));
        };
    }
    binding->label = [field, fc] { return fromCore(field->labelIn(*fc)); };
    fieldControls_.emplace_back(field->key, control);
    return *binding;
}

QWidget* CFormView::addField(const Field& field) {
    QWidget* control = nullptr;
    switch (field.kind) {
    case FieldKind::Edit:
    case FieldKind::Cell: control = new FilteredEdit(fieldCharFilter(field), field.maxLength, this); break;
    case FieldKind::Spin: control = new SpinEdit(fieldCharFilter(field), field.maxLength, this); break;
    case FieldKind::Check: {
        auto* check = new QCheckBox(this);
        if (field.labelText >= 0)
            texts_.push_back({check, field.labelText});
        else
            check->setText(fromCore(field.label));
        control = check;
        break;
    }
    case FieldKind::Combo: control = new QComboBox(this); break;
    }
    bindField(field, control);
    return control;
}

QWidget* CFormView::addField(const FieldTable& table, std::string_view key) {
    for (const Field& f : table)
        if (f.key == key) return addField(f);
    qFatal("no field %s in the window's table", std::string(key).c_str());
}

QWidget* CFormView::fieldControl(std::string_view key) const {
    for (const auto& [k, control] : fieldControls_)
        if (k == key) return control;
    return nullptr;
}

QLabel* CFormView::fieldLabel(const Field& field) {
    auto* label = new QLabel(this);
    if (field.labelText >= 0)
        texts_.push_back({label, field.labelText});
    else
        label->setText(fromCore(field.label));
    auto shared = std::make_shared<const Field>(field);
    FieldContext* fc = &fieldCtx_;
    enableWhen(label, [shared, fc] { return shared->isEnabled(*fc); });
    if (field.shown) showWhen(label, [shared, fc] { return shared->isShown(*fc); });
    return label;
}

QGridLayout* CFormView::fieldGrid(const FieldTable& table, std::initializer_list<std::string_view> keys) {
    auto* grid = new QGridLayout;
    int row = 0;
    for (std::string_view key : keys) {
        const Field* field = nullptr;
        for (const Field& f : table)
            if (f.key == key) field = &f;
        if (!field) qFatal("no field %s in the window's table", std::string(key).c_str());
        QWidget* control = addField(*field);
        if (field->kind == FieldKind::Check) {
            grid->addWidget(control, row, 0, 1, 2);
        } else {
            QLabel* label = fieldLabel(*field);
            label->setBuddy(control);
            grid->addWidget(label, row, 0);
            grid->addWidget(control, row, 1);
        }
        ++row;
    }
    return grid;
}

void CFormView::reportRefusal(QWidget* control, const QString& message) {
    control->setToolTip(message);
    for (QWidget* w = parentWidget(); w; w = w->parentWidget())
        if (auto* main = qobject_cast<QMainWindow*>(w)) {
            main->statusBar()->showMessage(message, kRefusalShownMs);
            break;
        }
    if (control->isVisible())
        QToolTip::showText(control->mapToGlobal(QPoint(0, control->height())), message, control);
    emit refused(message);
}

void CFormView::enableWhen(QWidget* control, Predicate rule) {
    rules_.push_back({control, std::move(rule), false});
}

void CFormView::showWhen(QWidget* control, Predicate rule) {
    rules_.push_back({control, std::move(rule), true});
}

void CFormView::refresh() {
    loading_ = true;
    for (const auto& b : bindings_) {
        if (b->load) b->load();
        if (b->enabled) b->widget->setEnabled(b->enabled());
    }
    for (const Rule& r : rules_) {
        if (!r.control) continue;
        if (r.visibility)
            r.control->setVisible(r.holds());
        else
            r.control->setEnabled(r.holds());
    }
    loading_ = false;
}

void CFormView::afterCommit(const Binding& binding) {
    refresh();
    emit committed();
    ctx_.recordEdit(binding.label ? binding.label() : windowTitle());
    if (binding.notifiesOthers) emit ctx_.dataChanged();
}

void CFormView::commitPendingEdits() {
    for (const auto& b : bindings_) {
        if (b->isPending && b->isPending()) {
            b->commitPending();
            afterCommit(*b);
        }
    }
}

void CFormView::finishSetup() {
    retranslate();
    refresh();
    installEventFilter(this);
    for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(this);
}

// ---- frame, help and keys ----------------------------------------------------

void CFormView::closeFrame() {
    commitPendingEdits();
    for (QWidget* w = parentWidget(); w; w = w->parentWidget()) {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(w)) {
            sub->close();
            return;
        }
    }
    window()->close();
}

int CFormView::controlIdOf(const QWidget* widget) const {
    for (const QWidget* w = widget; w && w != this; w = w->parentWidget())
        for (const auto& [control, id] : controlIds_)
            if (control == w) return id;
    return templateId_;
}

int CFormView::currentHelpTopic() const {
    const QWidget* focus = QApplication::focusWidget();
    if (!focus || !isAncestorOf(focus)) return help::kTopicBase + templateId_;
    return help::kTopicBase + controlIdOf(focus);
}

void CFormView::openHelp() { help::open(currentHelpTopic(), this); }

bool CFormView::handleKey(QWidget* target, QKeyEvent* key) {
    if (tabs_ && tabs_->handleKey(key)) return true;
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
    switch (key->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        // Store before the focus moves on: the stored value can enable the next
        // control (a receive frequency enables the transmit frequency), and the
        // next control is chosen among the enabled ones.
        commitOnFocusOut(target);
        return false;
    case Qt::Key_F1:
        openHelp();
        return true;
    case Qt::Key_Escape:
        closeFrame();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        for (const auto& keeper : enterKeepers_)
            if (keeper && (keeper == target || keeper->isAncestorOf(target))) return false;
        for (const auto& button : enterClicks_) {
            if (button == target) {
                button->click();
                return true;
            }
        }
        // Enter moves on like Tab; an edit left this way stores its text.
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QApplication::sendEvent(target, &tab);
        return true;
    }
    default:
        return false;
    }
}

void CFormView::commitOnFocusOut(QWidget* widget) {
    for (const auto& b : bindings_) {
        if (!b->isPending || !b->isPending()) continue;
        if (b->widget != widget && !b->widget->isAncestorOf(widget)) continue;
        b->commitPending();
        afterCommit(*b);
        return;
    }
}

bool CFormView::eventFilter(QObject* watched, QEvent* event) {
    if (!watched->isWidgetType() || loading_) return QWidget::eventFilter(watched, event);
    auto* widget = static_cast<QWidget*>(watched);
    // Pop-ups (a combo box's list, a context menu) keep their own keys.
    if (widget->window() != window()) return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress)
        return handleKey(widget, static_cast<QKeyEvent*>(event));
    if (event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
        commitOnFocusOut(widget);
    return QWidget::eventFilter(watched, event);
}

QWidget* CFormView::initialFocusControl() const {
    if (initialFocus_ && initialFocus_->isEnabled() && initialFocus_->isVisibleTo(this))
        return initialFocus_;
    return firstFocusableControl(const_cast<CFormView*>(this));
}

void CFormView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!shown_) {
        shown_ = true;
        if (QWidget* first = initialFocusControl()) first->setFocus(Qt::OtherFocusReason);
    }
}

void CFormView::closeEvent(QCloseEvent* event) {
    commitPendingEdits();
    QWidget::closeEvent(event);
}

} // namespace vrl::gui
