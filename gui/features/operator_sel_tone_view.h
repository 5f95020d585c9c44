// COperatorSelToneView: the 16 pairs of ST/CST tones the radio's operator can pick
// from, in a grid of row numbers and two tone columns. Enter (or a tone character)
// on a tone cell opens the tone drop-down over it; choosing from its list stores at
// once, Enter stores and moves one cell on, Esc puts the cell back, leaving it any
// other way stores it.
#pragma once

#include "features/field_table.h"
#include "widgets/form_view.h"

class QTableWidget;

namespace vrl::gui {

class CToneCombo;
class GridCellEditing;

class COperatorSelToneView : public CFormView {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 134;
    static constexpr int kGridId = 1306;
    static constexpr int kEditorId = 1455;
    static constexpr int kCloseId = 1456;
    static constexpr int kHelpId = 1307;
    static constexpr int kRowCount = 16;
    // Help topics of the two tone columns.
    static constexpr int kFirstToneTopic = 0x200D2;
    static constexpr int kSecondToneTopic = 0x200D5;

    COperatorSelToneView(AppContext& ctx, QWidget* parent);

    QTableWidget* grid() const { return grid_; }
    GridCellEditing* editing() const { return editing_; }
    // The drop-down editor of tone column 1 or 2.
    CToneCombo* editor(int column) const { return editors_[column - 1]; }
    QPushButton* closeButton() const { return close_; }
    QPushButton* helpButton() const { return help_; }

    // Reloads every tone cell from the image (not while a cell is being edited).
    void refresh();
    int currentHelpTopic() const override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    const Field& cellField(int row, int column) const;
    QString storeCell(int row, int column, const QString& text);
    void reloadCells();
    void retranslateGrid();

    FieldTable fields_; // ost.1.tone_1, ost.1.tone_2, ost.2.tone_1, ...
    QTableWidget* grid_ = nullptr;
    GridCellEditing* editing_ = nullptr;
    CToneCombo* editors_[2] = {};
    QPushButton* close_ = nullptr;
    QPushButton* help_ = nullptr;
};

} // namespace vrl::gui
