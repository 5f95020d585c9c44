// CFleetWindow: Program > Fleet Programming. The open document is the template;
// the units table is loaded from a CSV and edited in place, every cell checked
// with the field rules as it changes; the ports of the port dialog are listed
// with check boxes. Start runs every checked port on its own thread, each with a
// progress bar and a status line; results fill a table as radios finish. Stop
// asks, then lets each port finish or abandon its current block and end
// programming mode.
#pragma once

#include "fleet/fleet_run.h"

#include <QDialog>

#include <atomic>
#include <memory>
#include <optional>

class QCheckBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QThread;

namespace vrl::gui {

class AppContext;
class FrameHost;

class CFleetWindow : public QDialog {
    Q_OBJECT
  public:
    // Makes the line of a port device, on the port's worker thread.
    using LineFactory = fleet::LineFactory;

    CFleetWindow(AppContext& ctx, QWidget* parent, LineFactory makeLine = {});
    ~CFleetWindow() override;

    // Fills the units table from CSV text; false (with the message shown) when it
    // is no CSV.
    bool loadUnitsText(const QString& text);
    // Checks every cell against the template; the number of refusals.
    int checkUnits();
    // Starts the run on the checked ports; false when refused (message shown).
    bool start();
    // Asks, then asks every port to stop.
    void stop();
    bool running() const { return runner_ != nullptr; }
    // The report of the last run as CSV text.
    std::string reportText() const { return fleet::reportCsv(report_); }

    QTableWidget* unitsTable() const { return units_; }
    QListWidget* portList() const { return ports_; }
    QTableWidget* resultsTable() const { return results_; }
    QTableWidget* progressTable() const { return progress_; }
    QLabel* statusLine() const { return status_; }
    QCheckBox* continuousBox() const { return continuous_; }
    QCheckBox* verifyBox() const { return verify_; }
    QPushButton* startButton() const { return start_; }
    QPushButton* stopButton() const { return stopButton_; }
    QPushButton* saveReportButton() const { return save_; }

  signals:
    void runFinished();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

  private:
    void loadUnits();
    void saveReport();
    void fillPorts();
    fleet::UnitsTable tableOfUnits() const;
    void addResult(const fleet::UnitResult& r);
    void showPortProgress(const QString& port, int count, int total);
    void showPortStatus(const QString& port, const QString& text);
    int portRow(const QString& port) const;
    void finished();
    void updateButtons();
    QString outcomeText(fleet::Outcome outcome) const;

    AppContext& ctx_;
    LineFactory makeLine_;
    QTableWidget* units_;
    QListWidget* ports_;
    QCheckBox* continuous_;
    QCheckBox* verify_;
    QTableWidget* progress_;
    QTableWidget* results_;
    QLabel* status_;
    QPushButton* load_;
    QPushButton* start_;
    QPushButton* stopButton_;
    QPushButton* save_;
    QPushButton* close_;
    bool checking_ = false;

    std::unique_ptr<fleet::Plan> plan_;
    std::unique_ptr<fleet::FleetBook> book_;
    std::unique_ptr<fleet::PortObserver> observer_;
    std::atomic<bool> stopRequested_{false};
    QThread* runner_ = nullptr;
    std::vector<fleet::UnitResult> report_;
};

// Program > Fleet Programming: opens the window (one at a time).
void runFleetProgramming(FrameHost& host);

} // namespace vrl::gui
