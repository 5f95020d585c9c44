// CKeyView: the programmable keys of the current model, one row per key with the
// function it holds. Enter (or a click) on a function opens the drop-down list of
// the functions that key may take on this model; the choice is stored when the list
// is left with Enter (the cursor then moves one row down) or the focus moves on,
// and Esc leaves it unchanged.
//
// Whenever the rows are reloaded and no key holds Home Channel, the home-channel
// reference is cleared, so that no home channel is left behind without a key.
#pragma once

#include "widgets/form_view.h"

class QComboBox;
class QTableWidget;

namespace vrl {
class KeyAssignment;
}

namespace vrl::gui {

class ChannelServices;
class GridCellEditing;

class CKeyView : public CFormView {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 157;
    static constexpr int kTitleText = 309;
    static constexpr int kFunctionHeaderText = 359;

    CKeyView(AppContext& ctx, QWidget* parent);

    QTableWidget* grid() const { return grid_; }
    // The drop-down list placed over a function cell while it is edited.
    QComboBox* list() const { return list_; }
    GridCellEditing* editing() const { return editing_; }

    // Reloads every row from the image and applies the home-channel rule.
    void refresh();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void reloadRows();
    void fitGrid();
    void retranslateGrid();
    void fillList(int row);
    QString storeRow(int row, const QString& text);

    KeyAssignment& keys_;
    QTableWidget* grid_ = nullptr;
    GridCellEditing* editing_ = nullptr;
    QComboBox* list_ = nullptr;
    QPushButton* close_ = nullptr;
    QPushButton* help_ = nullptr;
};

} // namespace vrl::gui
