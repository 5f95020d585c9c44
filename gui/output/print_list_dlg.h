// The Print Out List dialog: which sections to print and the group range of the
// channel section. Its state (ticks, range, place, focus) is kept for the whole
// run and restored each time it opens.
#pragma once

#include "output/print_engine.h"

#include <QDialog>
#include <QPoint>
#include <QSize>

#include <array>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace vrl::gui {

class AppContext;

struct PrintListState {
    bool initialised = false; // the end group is set from the data at first opening
    std::array<bool, kPrintSectionCount> ticks{};
    QString start = QStringLiteral("1");
    QString end;
    QPoint position{100, 100};
    QSize size;
    int focusId = 1094; // the control that had the focus
};

class CPrintOutListDlg : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 171;
    static constexpr int kStartId = 1379;
    static constexpr int kEndId = 1044;
    enum class Outcome { Cancel, Print, Preview };

    CPrintOutListDlg(AppContext& ctx, PrintListState& state, QWidget* parent);

    Outcome outcome() const { return outcome_; }
    // The job of the dialog's ticks and range (valid after Print or Preview).
    PrintJob job() const;

    QCheckBox* sectionBox(PrintSection s) const { return boxes_[static_cast<size_t>(s)]; }
    QLineEdit* startEdit() const { return start_; }
    QLineEdit* endEdit() const { return end_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* previewButton() const { return preview_; }
    QPushButton* clearAllButton() const { return clearAll_; }
    QPushButton* selectAllButton() const { return selectAll_; }
    QPushButton* setupButton() const { return setup_; }

  signals:
    void printSetupRequested();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

  private:
    void applyRules();
    void fixStart();
    void fixEnd();
    void finish(Outcome outcome);
    void remember();
    int groupsInUse() const;

    AppContext& ctx_;
    PrintListState& state_;
    std::array<QCheckBox*, kPrintSectionCount> boxes_{};
    QLineEdit* start_;
    QLineEdit* end_;
    QPushButton* ok_;
    QPushButton* cancel_;
    QPushButton* help_;
    QPushButton* setup_;
    QPushButton* preview_;
    QPushButton* clearAll_;
    QPushButton* selectAll_;
    Outcome outcome_ = Outcome::Cancel;
};

} // namespace vrl::gui
