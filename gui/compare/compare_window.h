// CCompareWindow: a modeless window that lists what differs between the current
// data and other data (a file or a radio's memory): one branch per area (the
// window's title), one row per difference with its label and the text on each
// side. Enter or a double click on a row opens the window that shows it. The
// list follows every change of the current data; the other side is a copy taken
// when the command ran and is never written.
#pragma once

#include "features/compare.h"

#include <QDialog>

#include <memory>

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace vrl::gui {

class AppContext;
class FrameHost;

// The other side of a comparison: its data and how the window names it.
struct CompareSide {
    std::unique_ptr<RadioData> data;
    int titleText = 0;   // the command's menu text: the window title without '&' and "..."
    QString name;        // after the title: a file name or the radio's model
    int headerText = -1; // the third column's header; -1: `name`
};

class CCompareWindow : public QDialog {
    Q_OBJECT
  public:
    CCompareWindow(FrameHost& host, CompareSide other, QWidget* parent);
    ~CCompareWindow() override;

    // The window of the frame (one at a time): a new comparison replaces the shown one.
    static CCompareWindow* showFor(FrameHost& host, CompareSide other);

    // Compares again and refills the list, keeping the selected row where it still is.
    void refresh();
    // Compares again once the events now waiting have been handled (every change of
    // the current data asks for this).
    void scheduleRefresh();
    // Opens the window of a row's difference (a branch: its area's window).
    void openItem(QTreeWidgetItem* item);

    QTreeWidget* tree() const { return tree_; }
    QLabel* summary() const { return summary_; }
    QLabel* note() const { return note_; }
    const Comparison& comparison() const { return result_; }

  private:
    void setOther(CompareSide other);
    QString areaTitle(const std::string& area) const;

    FrameHost& host_;
    AppContext& ctx_;
    CompareSide other_;
    Comparison result_;
    QLabel* note_;
    QTreeWidget* tree_;
    QLabel* summary_;
    QPushButton* close_;
    bool refreshPending_ = false;
};

// Opens the window that shows a difference: the settings window of its area, the
// channel grid at its group and channel (the group edit window for a group
// setting), the key assignment window at its key, the memory map. Areas the
// current model has no window for open nothing.
void openDifference(FrameHost& host, const Difference& difference);

} // namespace vrl::gui
