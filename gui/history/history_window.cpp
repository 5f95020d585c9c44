#include "history/history_window.h"

#include "app/app_context.h"
#include "app/commands.h"
#include "app/frame_host.h"
#include "app/registries.h"
#include "app/ui_helpers.h"
#include "compare/compare_window.h"
#include "file/data_file.h"
#include "file/file_commands.h"
#include "file/file_dialogs.h"
#include "history/history_recording.h"
#include "platform/history_store.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vrl::gui {

namespace {

constexpr int kTextCompareFile = 486; // the compare window's title

QString qs(const std::string& s) { return QString::fromStdString(s); }

} // namespace

CHistoryWindow::CHistoryWindow(FrameHost& host, QWidget* parent)
    : QDialog(parent), host_(host), ctx_(host.context()) {
    setWindowTitle(ctx_.text("history.title"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);

    auto* where = new QHBoxLayout;
    where->addWidget(new QLabel(ctx_.text("history.database"), this));
    location_ = new QLineEdit(historySetting(), this);
    location_->setPlaceholderText(qs(history::redactLocation(platform::historyLocation().toStdString())));
    where->addWidget(location_, 1);
    auto* use = new QPushButton(ctx_.text("history.use"), this);
    where->addWidget(use);
    layout->addLayout(where);

    auto* split = new QSplitter(Qt::Vertical, this);
    radios_ = new QTreeWidget(split);
    radios_->setRootIsDecorated(false);
    radios_->setHeaderLabels({ctx_.text("history.serial"), ctx_.text("history.model"),
                              ctx_.text("history.last_event"), ctx_.text("history.events")});
    events_ = new QTreeWidget(split);
    events_->setRootIsDecorated(false);
    events_->setHeaderLabels({"ID", ctx_.text("history.time"), ctx_.text("history.operation"),
                              ctx_.text("history.result"), ctx_.text("history.port"), ctx_.text("history.file"),
                              ctx_.text("history.message")});
    layout->addWidget(split, 1);
    status_ = new QLabel(this);
    layout->addWidget(status_);

    auto* buttons = new QDialogButtonBox(this);
    open_ = buttons->addButton(ctx_.text("history.open"), QDialogButtonBox::ActionRole);
    compare_ = buttons->addButton(ctx_.text("history.compare"), QDialogButtonBox::ActionRole);
    export_ = buttons->addButton(ctx_.text("history.export"), QDialogButtonBox::ActionRole);
    buttons->addButton(QDialogButtonBox::Close);
    layout->addWidget(buttons);
    resize(760, 520);

    connect(use, &QPushButton::clicked, this, [this] {
        setHistorySetting(location_->text().trimmed());
        reload();
    });
    connect(radios_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        showEventsOf(item ? item->text(0) : QString());
    });
    connect(events_, &QTreeWidget::currentItemChanged, this, [this] { updateButtons(); });
    connect(open_, &QPushButton::clicked, this, [this] { openSelected(); });
    connect(compare_, &QPushButton::clicked, this, [this] { compareSelected(); });
    connect(export_, &QPushButton::clicked, this, [this] {
        const auto event = selectedEvent();
        if (!event) return;
        const QString path = ctx_.fileDialogs().saveFile(
            this, ctx_.currentFolder() + FileCommands::proposedName(qs(event->model), qs(event->serial)));
        if (!path.isEmpty()) exportSelected(path);
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    reload();
}

// Every column as wide as its widest text, so times and model labels are read whole;
// the last column takes what is left.
void CHistoryWindow::fitColumns(QTreeWidget* list) {
    for (int c = 0; c + 1 < list->columnCount(); ++c) list->resizeColumnToContents(c);
}

void CHistoryWindow::reload() {
    radios_->clear();
    events_->clear();
    std::string error;
    history::HistoryStore* store = platform::programHistory(error);
    const auto radios = store ? store->radios(error) : std::nullopt;
    if (!radios) {
        status_->setText(ctx_.text("history.unavailable") + qs(error));
        updateButtons();
        return;
    }
    status_->setText(qs(store->displayName()));
    for (const history::RadioSummary& r : *radios)
        new QTreeWidgetItem(radios_, {qs(r.serial), qs(r.model), qs(r.lastTime + "  " + r.lastOperation),
                                      QString::number(r.events)});
    fitColumns(radios_);
    if (radios_->topLevelItemCount() > 0) radios_->setCurrentItem(radios_->topLevelItem(0));
    updateButtons();
}

void CHistoryWindow::showEventsOf(const QString& serial) {
    events_->clear();
    std::string error;
    history::HistoryStore* store = platform::programHistory(error);
    if (!store || serial.isEmpty()) return updateButtons();
    const auto events = store->list({serial.toStdString(), "", ""}, error);
    for (const history::Event& e : events.value_or(std::vector<history::Event>{})) {
        auto* item = new QTreeWidgetItem(events_, {QString::number(e.id), qs(e.time), qs(e.operation), qs(e.result),
                                                   qs(e.port), qs(e.file), qs(e.message)});
        item->setData(0, Qt::UserRole, QVariant::fromValue<qlonglong>(e.id));
        item->setData(1, Qt::UserRole, !e.sha256.empty());
    }
    fitColumns(events_);
    if (events_->topLevelItemCount() > 0) events_->setCurrentItem(events_->topLevelItem(0));
    updateButtons();
}

void CHistoryWindow::updateButtons() {
    const QTreeWidgetItem* item = events_->currentItem();
    const bool image = item && item->data(1, Qt::UserRole).toBool();
    for (QPushButton* b : {open_, compare_, export_}) b->setEnabled(image);
}

std::optional<history::Event> CHistoryWindow::selectedEvent() {
    const QTreeWidgetItem* item = events_->currentItem();
    if (!item) return std::nullopt;
    std::string error;
    history::HistoryStore* store = platform::programHistory(error);
    auto event = store ? store->event(item->data(0, Qt::UserRole).toLongLong(), error) : std::nullopt;
    if (!event || event->image.size() != CDataImage::kSize) {
        status_->setText(ctx_.text("history.no_image") + qs(error));
        return std::nullopt;
    }
    return event;
}

bool CHistoryWindow::openSelected() {
    const auto event = selectedEvent();
    if (!event || !host_.promptToSaveChanges()) return false;
    CDataImage& image = ctx_.data().image;
    const ModelIdentity before = image.identity();
    std::copy(event->image.begin(), event->image.end(), image.bytes().begin());
    ctx_.data().model.refresh();
    if (image.identity().bytes != before.bytes) host_.closeAllFunctionWindows();
    image.takeSnapshot();
    // As after a read: the image belongs to no file yet.
    ctx_.setUntitled(FileCommands::proposedName(qs(event->model), qs(event->serial)));
    emit ctx_.dataReplaced();
    emit ctx_.modelChanged();
    host_.refreshAllWindows();
    host_.openDefaultWindow();
    return true;
}

bool CHistoryWindow::compareSelected() {
    const auto event = selectedEvent();
    if (!event) return false;
    auto other = std::make_unique<RadioData>();
    std::copy(event->image.begin(), event->image.end(), other->image.bytes().begin());
    other->model.refresh();
    CCompareWindow::showFor(host_, {std::move(other), kTextCompareFile,
                                    QString("history:%1 (%2)").arg(event->id).arg(qs(event->serial))});
    return true;
}

bool CHistoryWindow::exportSelected(const QString& path) {
    const auto event = selectedEvent();
    if (!event) return false;
    const DataFileStatus status = writeDataFile(path.toStdString(), event->image);
    status_->setText(status.result == kFileOk ? ctx_.text("history.exported") + path : qs(status.detail));
    return status.result == kFileOk;
}

void runRadioHistory(FrameHost& host) {
    auto* window = new CHistoryWindow(host, host.mainWindow());
    window->show();
}

VRL_REGISTER_COMMAND(cmd::kRadioHistory, runRadioHistory);

} // namespace vrl::gui
