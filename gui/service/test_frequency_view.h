// CTestFrequencyView: the 16 test channels of the data, a receive and a transmit
// frequency each, in a grid with an in-place frequency edit. Typing a frequency
// character in a cell opens the edit with it; Enter stores it, Esc puts the cell
// back. Enter on the grid moves on (receive to transmit, transmit to the next
// row's receive). When every frequency is blank after an edit, the default test
// frequencies of the data's band come back. Close reminds the user that Test Mode
// needs the radio written with these frequencies.
#pragma once

#include "service/test_frequency.h"
#include "widgets/form_view.h"

class QTableWidget;

namespace vrl::gui {

class GridCellEditing;
class FilteredEdit;

class CTestFrequencyView : public CFormView {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 148;
    static constexpr int kGridId = 1403;
    static constexpr int kEditId = 1453;
    static constexpr int kCloseId = 1454;
    static constexpr int kHelpId = 1302;
    static constexpr int kHelpTopic = 0x20094;

    CTestFrequencyView(AppContext& ctx, QWidget* parent);

    QTableWidget* grid() const { return grid_; }
    GridCellEditing* editing() const { return editing_; }
    FilteredEdit* edit() const { return edit_; }
    QPushButton* closeButton() const { return close_; }

    // Reloads every cell from the image.
    void refresh();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void reloadCells();
    void retranslateGrid();
    QString store(int row, int column, const QString& text);
    void warnOutOfBand();
    void closeWithReminder();

    TestFrequencyTable table_;
    QTableWidget* grid_ = nullptr;
    GridCellEditing* editing_ = nullptr;
    FilteredEdit* edit_ = nullptr;
    QPushButton* close_ = nullptr;
    QPushButton* help_ = nullptr;
};

} // namespace vrl::gui
