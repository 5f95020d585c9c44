// CHistoryWindow (Tools > Radio History): the radios of the history (serial number,
// model, last event, number of events) and the events of the one selected. An
// event's image can be opened as a new untitled document, compared with the current
// data in the compare window, or exported as a data file. The history's location
// (an SQLite file or a PostgreSQL URI; empty for the default) can be changed here.
#pragma once

#include "history/history.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace vrl::gui {

class AppContext;
class FrameHost;

class CHistoryWindow : public QDialog {
    Q_OBJECT
  public:
    CHistoryWindow(FrameHost& host, QWidget* parent);

    // Reads the radios again and selects the first.
    void reload();

    QTreeWidget* radios() const { return radios_; }
    QTreeWidget* events() const { return events_; }
    QPushButton* openButton() const { return open_; }
    QPushButton* compareButton() const { return compare_; }
    QPushButton* exportButton() const { return export_; }
    QLabel* status() const { return status_; }

    // The actions of the buttons on the selected event; false when it has no image
    // or the user stopped (the data unchanged).
    bool openSelected();
    bool compareSelected();
    bool exportSelected(const QString& path);

  private:
    void showEventsOf(const QString& serial);
    static void fitColumns(QTreeWidget* list);
    void updateButtons();
    std::optional<history::Event> selectedEvent();

    FrameHost& host_;
    AppContext& ctx_;
    QLineEdit* location_;
    QLabel* status_;
    QTreeWidget* radios_;
    QTreeWidget* events_;
    QPushButton* open_;
    QPushButton* compare_;
    QPushButton* export_;
};

} // namespace vrl::gui
