#include "fleet/fleet_window.h"

#include "app/app_context.h"
#include "app/commands.h"
#include "app/frame_host.h"
#include "app/registries.h"
#include "app/ui_helpers.h"
#include "file/file_dialogs.h"
#include "file/safe_save.h"
#include "history/history_recording.h"
#include "link/link_service.h"
#include "platform/transports.h"
#include "util/text_input.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QThread>
#include <QVBoxLayout>

namespace vrl::gui {

namespace {

constexpr int kPortCount = 20;
constexpr int kRefusedRole = Qt::UserRole + 1;

QString fromStd(const std::string& s) { return QString::fromUtf8(s.c_str()); }

// Hands the workers' news to the window's thread.
class WindowObserver : public fleet::PortObserver {
  public:
    using Progress = std::function<void(QString, int, int)>;
    using Status = std::function<void(QString, QString)>;
    WindowObserver(QObject* receiver, Progress progress, Status status)
        : receiver_(receiver), progress_(std::move(progress)), status_(std::move(status)) {}
    void progress(const std::string& port, int count, int total) override {
        QMetaObject::invokeMethod(receiver_, [p = progress_, port = fromStd(port), count, total] { p(port, count, total); },
                                  Qt::QueuedConnection);
    }
    void status(const std::string& port, const std::string& text) override {
        QMetaObject::invokeMethod(receiver_, [s = status_, port = fromStd(port), text = fromStd(text)] { s(port, text); },
                                  Qt::QueuedConnection);
    }

  private:
    QObject* receiver_;
    Progress progress_;
    Status status_;
};

} // namespace

CFleetWindow::CFleetWindow(AppContext& ctx, QWidget* parent, LineFactory makeLine)
    : QDialog(parent), ctx_(ctx), makeLine_(std::move(makeLine)) {
    if (!makeLine_)
        makeLine_ = [](const std::string& port) { return platform::makeTransport(fromStd(port)); };
    setWindowTitle(ctx.text("fleet.title"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* top = new QVBoxLayout(this);
    const QString model = QString::fromStdString(std::string(ctx.data().model.label()));
    top->addWidget(new QLabel(ctx.text("fleet.template") + QLatin1Char(' ') + model + QLatin1String("  ") +
                              ctx.shownFileName()));

    auto* upper = new QHBoxLayout;
    auto* unitsBox = new QGroupBox(ctx.text("fleet.units"));
    auto* unitsLayout = new QVBoxLayout(unitsBox);
    units_ = new QTableWidget(0, 0);
    units_->setObjectName(QStringLiteral("fleetUnits"));
    unitsLayout->addWidget(units_);
    load_ = new QPushButton(ctx.text("fleet.load_units"));
    unitsLayout->addWidget(load_, 0, Qt::AlignLeft);
    upper->addWidget(unitsBox, 3);

    auto* portsBox = new QGroupBox(ctx.text("fleet.ports"));
    auto* portsLayout = new QVBoxLayout(portsBox);
    ports_ = new QListWidget;
    portsLayout->addWidget(ports_);
    continuous_ = new QCheckBox(ctx.text("fleet.continuous"));
    verify_ = new QCheckBox(ctx.text("fleet.verify"));
    verify_->setChecked(true);
    portsLayout->addWidget(continuous_);
    portsLayout->addWidget(verify_);
    upper->addWidget(portsBox, 1);
    top->addLayout(upper, 3);

    progress_ = new QTableWidget(0, 3);
    progress_->setHorizontalHeaderLabels({ctx.text("fleet.col_port"), ctx.text("fleet.col_progress"),
                                          ctx.text("fleet.col_status")});
    progress_->horizontalHeader()->setStretchLastSection(true);
    progress_->verticalHeader()->hide();
    progress_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    top->addWidget(progress_, 1);

    results_ = new QTableWidget(0, 6);
    results_->setHorizontalHeaderLabels({ctx.text("fleet.col_unit"), ctx.text("fleet.col_serial"),
                                         ctx.text("fleet.col_port"), ctx.text("fleet.col_result"),
                                         ctx.text("fleet.col_seconds"), ctx.text("fleet.col_message")});
    results_->horizontalHeader()->setStretchLastSection(true);
    results_->verticalHeader()->hide();
    results_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    top->addWidget(new QLabel(ctx.text("fleet.results")));
    top->addWidget(results_, 2);

    status_ = new QLabel(ctx.text("fleet.no_units"));
    status_->setWordWrap(true);
    top->addWidget(status_);
    auto* buttons = new QHBoxLayout;
    start_ = new QPushButton(ctx.text("fleet.start"));
    stopButton_ = new QPushButton(ctx.text("fleet.stop"));
    save_ = new QPushButton(ctx.text("fleet.save_report"));
    close_ = new QPushButton(ctx.text(61));
    for (QPushButton* b : {start_, stopButton_, save_}) buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(close_);
    top->addLayout(buttons);

    connect(load_, &QPushButton::clicked, this, &CFleetWindow::loadUnits);
    connect(start_, &QPushButton::clicked, this, [this] { start(); });
    connect(stopButton_, &QPushButton::clicked, this, &CFleetWindow::stop);
    connect(save_, &QPushButton::clicked, this, &CFleetWindow::saveReport);
    connect(close_, &QPushButton::clicked, this, &CFleetWindow::close);
    connect(units_, &QTableWidget::cellChanged, this, [this] {
        if (!checking_) checkUnits();
    });
    fillPorts();
    applyLanguageFont(this, ctx.font());
    resize(900, 640);
    updateButtons();
}

CFleetWindow::~CFleetWindow() {
    if (runner_) {
        stopRequested_ = true;
        runner_->wait();
    }
}

void CFleetWindow::fillPorts() {
    LinkService& service = LinkService::of(ctx_);
    for (int n = 1; n <= kPortCount; ++n) {
        const QString device = service.deviceFor(n);
        if (device.isEmpty()) continue;
        auto* item = new QListWidgetItem(QStringLiteral("%1: %2").arg(n).arg(device), ports_);
        item->setData(Qt::UserRole, device);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
}

bool CFleetWindow::loadUnitsText(const QString& text) {
    std::string error;
    const auto table = fleet::readUnitsCsv(text.toStdString(), error);
    if (!table) {
        status_->setText(fromStd(error));
        ctx_.messages().ask({fromStd(error), ctx_.text(79), MessageService::Icon::Error, MessageService::Buttons::Ok});
        return false;
    }
    checking_ = true;
    units_->clear();
    units_->setColumnCount(static_cast<int>(table->header.size()));
    units_->setRowCount(static_cast<int>(table->rows.size()));
    QStringList header;
    for (const std::string& h : table->header) header << fromStd(h);
    units_->setHorizontalHeaderLabels(header);
    for (size_t r = 0; r < table->rows.size(); ++r)
        for (size_t c = 0; c < table->rows[r].size() && c < table->header.size(); ++c)
            units_->setItem(static_cast<int>(r), static_cast<int>(c), new QTableWidgetItem(fromStd(table->rows[r][c])));
    units_->resizeColumnsToContents();
    checking_ = false;
    checkUnits();
    return true;
}

void CFleetWindow::loadUnits() {
    const QString path = ctx_.fileDialogs().openTable(this, ctx_.text("fleet.load_units").remove('&'),
                                                      ctx_.currentFolder(), {QStringLiteral("CSV (*.csv)")});
    if (path.isEmpty()) return;
    std::string bytes, error;
    if (!readTextInput(path.toStdString(), bytes, error)) {
        ctx_.messages().ask({fromStd(error), ctx_.text(79), MessageService::Icon::Error, MessageService::Buttons::Ok});
        return;
    }
    loadUnitsText(QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

fleet::UnitsTable CFleetWindow::tableOfUnits() const {
    fleet::UnitsTable table;
    for (int c = 0; c < units_->columnCount(); ++c) {
        const QTableWidgetItem* h = units_->horizontalHeaderItem(c);
        table.header.push_back(h ? h->text().toStdString() : std::string());
    }
    for (int r = 0; r < units_->rowCount(); ++r) {
        std::vector<std::string> row;
        for (int c = 0; c < units_->columnCount(); ++c) {
            const QTableWidgetItem* item = units_->item(r, c);
            row.push_back(item ? item->text().toStdString() : std::string());
        }
        table.rows.push_back(std::move(row));
        table.lines.push_back(r + 2);
    }
    return table;
}

int CFleetWindow::checkUnits() {
    checking_ = true;
    const fleet::UnitsTable table = tableOfUnits();
    LanguageTable& lang = ctx_.lang();
    const fleet::Plan plan = fleet::makePlan(ctx_.data().image, table, [&lang](int i) { return lang.text(i); });
    for (int r = 0; r < units_->rowCount(); ++r)
        for (int c = 0; c < units_->columnCount(); ++c) {
            QTableWidgetItem* item = units_->item(r, c);
            if (!item) units_->setItem(r, c, item = new QTableWidgetItem);
            item->setBackground(QBrush());
            item->setToolTip({});
            item->setData(kRefusedRole, false);
        }
    QStringList messages;
    for (const fleet::PlanMessage& m : plan.errors) {
        messages << fromStd(fleet::formatMessage(table, m));
        for (int c = 0; c < units_->columnCount(); ++c) {
            if (m.column >= 0 && c != m.column) continue;
            for (int r = 0; r < units_->rowCount(); ++r) {
                if (m.row >= 0 && r != m.row) continue;
                QTableWidgetItem* item = units_->item(r, c);
                item->setBackground(QColor(255, 200, 200));
                item->setToolTip(fromStd(m.text));
                item->setData(kRefusedRole, true);
            }
        }
    }
    checking_ = false;
    if (units_->columnCount() == 0)
        status_->setText(ctx_.text("fleet.no_units"));
    else if (plan.ok())
        status_->setText(ctx_.text("fleet.units_ready").arg(plan.units.size()));
    else
        status_->setText(ctx_.text("fleet.units_refused").arg(plan.errors.size()) + QLatin1Char('\n') +
                         messages.mid(0, 3).join(QLatin1Char('\n')));
    updateButtons();
    return static_cast<int>(plan.errors.size());
}

int CFleetWindow::portRow(const QString& port) const {
    for (int r = 0; r < progress_->rowCount(); ++r)
        if (progress_->item(r, 0) && progress_->item(r, 0)->text() == port) return r;
    return -1;
}

bool CFleetWindow::start() {
    if (runner_) return false;
    auto refuse = [this](const QString& text) {
        status_->setText(text);
        ctx_.messages().ask({text, ctx_.text(79), MessageService::Icon::Error, MessageService::Buttons::Ok});
        return false;
    };
    std::vector<std::string> ports;
    for (int i = 0; i < ports_->count(); ++i)
        if (ports_->item(i)->checkState() == Qt::Checked)
            ports.push_back(ports_->item(i)->data(Qt::UserRole).toString().toStdString());
    if (units_->columnCount() == 0) return refuse(ctx_.text("fleet.no_units"));
    if (const int refused = checkUnits()) return refuse(ctx_.text("fleet.units_refused").arg(refused));
    if (ports.empty()) return refuse(ctx_.text("fleet.no_ports"));
    { CommitFocus commit; }
    LanguageTable& lang = ctx_.lang();
    plan_ = std::make_unique<fleet::Plan>(
        fleet::makePlan(ctx_.data().image, tableOfUnits(), [&lang](int i) { return lang.text(i); }));
    if (!plan_->ok()) return refuse(ctx_.text("fleet.units_refused").arg(plan_->errors.size()));

    progress_->setRowCount(0);
    for (const std::string& port : ports) {
        const int r = progress_->rowCount();
        progress_->insertRow(r);
        progress_->setItem(r, 0, new QTableWidgetItem(fromStd(port)));
        auto* bar = new QProgressBar;
        bar->setRange(0, 1);
        bar->setValue(0);
        progress_->setCellWidget(r, 1, bar);
        progress_->setItem(r, 2, new QTableWidgetItem);
    }
    progress_->resizeColumnToContents(0);
    results_->setRowCount(0);
    report_.clear();
    stopRequested_ = false;
    book_ = std::make_unique<fleet::FleetBook>(*plan_);
    QPointer<CFleetWindow> self(this);
    book_->onResult = [self](const fleet::UnitResult& r) {
        if (self) QMetaObject::invokeMethod(self, [self, r] { if (self) self->addResult(r); }, Qt::QueuedConnection);
    };
    observer_ = std::make_unique<WindowObserver>(
        this, [this](QString port, int c, int t) { showPortProgress(port, c, t); },
        [this](QString port, QString text) { showPortStatus(port, text); });
    fleet::Options options;
    options.continuous = continuous_->isChecked();
    options.verify = verify_->isChecked();
    options.yes = true; // the window's user chose the template and the radios
    runner_ = QThread::create([this, ports, options] {
        report_ = fleet::runFleet(*plan_, ports, makeLine_, options, [this] { return stopRequested_.load(); },
                                  observer_.get(), *book_, platform::runOnQThreads);
    });
    connect(runner_, &QThread::finished, this, &CFleetWindow::finished, Qt::QueuedConnection);
    status_->setText(ctx_.text("fleet.running"));
    runner_->start();
    updateButtons();
    return true;
}

void CFleetWindow::showPortProgress(const QString& port, int count, int total) {
    const int r = portRow(port);
    if (r < 0) return;
    if (auto* bar = qobject_cast<QProgressBar*>(progress_->cellWidget(r, 1))) {
        bar->setRange(0, std::max(total, 1));
        bar->setValue(std::min(count, std::max(total, 1)));
    }
}

void CFleetWindow::showPortStatus(const QString& port, const QString& text) {
    const int r = portRow(port);
    if (r >= 0 && progress_->item(r, 2)) progress_->item(r, 2)->setText(text);
}

QString CFleetWindow::outcomeText(fleet::Outcome outcome) const {
    switch (outcome) {
    case fleet::Outcome::Programmed: return ctx_.text("fleet.result_programmed");
    case fleet::Outcome::Failed: return ctx_.text("fleet.result_failed");
    case fleet::Outcome::Incomplete: return ctx_.text("fleet.result_incomplete");
    case fleet::Outcome::NotProgrammed: return ctx_.text("fleet.result_not_programmed");
    case fleet::Outcome::NoRadio: return ctx_.text("fleet.result_no_radio");
    }
    return {};
}

void CFleetWindow::addResult(const fleet::UnitResult& r) {
    if (auto event = fleet::historyEventOf(r, ctx_.data(), ctx_.currentFilePath().toStdString()))
        recordEvent(ctx_, parentWidget(), *event);
    const int row = results_->rowCount();
    results_->insertRow(row);
    const QStringList cells{fromStd(r.unit), fromStd(r.serial), fromStd(r.port), outcomeText(r.outcome),
                            r.outcome == fleet::Outcome::NotProgrammed ? QString() : QString::number(r.seconds, 'f', 1),
                            fromStd(r.message)};
    for (int c = 0; c < cells.size(); ++c) results_->setItem(row, c, new QTableWidgetItem(cells[c]));
    results_->resizeColumnToContents(2);
    if (r.failed())
        for (int c = 0; c < cells.size(); ++c) results_->item(row, c)->setForeground(QColor(170, 0, 0));
}

void CFleetWindow::finished() {
    if (!runner_) return;
    runner_->wait();
    runner_->deleteLater();
    runner_ = nullptr;
    // The units no radio came for close the list.
    for (const fleet::UnitResult& r : report_)
        if (r.outcome == fleet::Outcome::NotProgrammed) addResult(r);
    int counts[5] = {};
    for (const fleet::UnitResult& r : report_) ++counts[static_cast<int>(r.outcome)];
    status_->setText(ctx_.text("fleet.summary").arg(counts[0]).arg(counts[1]).arg(counts[2]).arg(counts[3]));
    updateButtons();
    emit runFinished();
}

void CFleetWindow::stop() {
    if (!runner_ || stopRequested_) return;
    const auto answer = ctx_.messages().ask({ctx_.text("fleet.stop_question"), ctx_.text(78),
                                             MessageService::Icon::Warning, MessageService::Buttons::OkCancel, true});
    if (answer != QMessageBox::Ok) return;
    stopRequested_ = true;
    status_->setText(ctx_.text("fleet.stopping"));
    updateButtons();
}

void CFleetWindow::saveReport() {
    int filter = 0;
    const QString path = ctx_.fileDialogs().saveTable(this, ctx_.text("fleet.save_report").remove('&'),
                                                      ctx_.currentFolder() + QStringLiteral("/fleet-report.csv"),
                                                      {QStringLiteral("CSV (*.csv)")}, filter);
    if (path.isEmpty()) return;
    const std::string csv = reportText();
    const SaveOutcome saved = saveFileSafely(
        path.toStdString(), {std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(csv.data()), csv.size())});
    if (!saved.ok)
        ctx_.messages().ask({fromStd(saved.detail), ctx_.text(79), MessageService::Icon::Error, MessageService::Buttons::Ok});
}

void CFleetWindow::updateButtons() {
    const bool busy = runner_ != nullptr;
    start_->setEnabled(!busy && units_->columnCount() > 0);
    stopButton_->setEnabled(busy && !stopRequested_);
    save_->setEnabled(!busy && !report_.empty());
    load_->setEnabled(!busy);
    units_->setEnabled(!busy);
    ports_->setEnabled(!busy);
    continuous_->setEnabled(!busy);
    verify_->setEnabled(!busy);
    close_->setEnabled(!busy);
}

void CFleetWindow::closeEvent(QCloseEvent* event) {
    // Radios are being written: Stop first.
    if (runner_) {
        event->ignore();
        stop();
        return;
    }
    QDialog::closeEvent(event);
}

void CFleetWindow::reject() {
    if (runner_) {
        stop();
        return;
    }
    QDialog::reject();
}

void runFleetProgramming(FrameHost& host) {
    static QPointer<CFleetWindow> shown;
    if (shown) {
        shown->raise();
        shown->activateWindow();
        return;
    }
    { CommitFocus commit; }
    shown = new CFleetWindow(host.context(), host.mainWindow());
    shown->show();
}

VRL_REGISTER_COMMAND(cmd::kFleetProgramming, runFleetProgramming);

} // namespace vrl::gui
