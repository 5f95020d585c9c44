// CMemoryMapDlg: the raw memory map. Shows the 32768 bytes of radio memory as a hex
// dump with a character block, the highest line on top, and edits single bytes in
// place. Close keeps the edits and makes every window reload; Escape or the close
// box restores the image as it was when the dialog opened.
#pragma once

#include "model/identity.h"

#include <QDialog>

class QLabel;
class QKeyEvent;
class QPushButton;
class QTableWidget;

namespace vrl::gui {

class AppContext;
class GridCellEditing;

class CMemoryMapDlg : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 174;
    static constexpr int kTitleText = 529;
    static constexpr int kCloseText = 61;
    static int titleTextIndex() { return kTitleText; }

    CMemoryMapDlg(AppContext& ctx, QWidget* parent);

    // True when the model identity bytes differ from those at opening.
    bool identityChanged() const;

    // The grid's table coordinates are the map's rows and columns less one (the
    // caption row and the label column are the headers).
    QTableWidget* grid() const { return grid_; }
    GridCellEditing* editing() const { return editing_; }
    QLabel* addressBox() const { return address_; }
    QPushButton* closeButton() const { return close_; }
    // Fills the rows in view; cells that hold text already are kept.
    void fillVisibleRows();

  public slots:
    void accept() override;
    void reject() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void buildGrid();
    void setCell(int row, int column, const QString& text);
    QString commitCell(int row, int column, const QString& text);
    void moveTo(int mapRow, int mapColumn);
    void moveRightAfterEnter(int row, int column);
    bool gridKey(QKeyEvent* key);

    AppContext& ctx_;
    QTableWidget* grid_ = nullptr;
    GridCellEditing* editing_ = nullptr;
    QLabel* address_ = nullptr;
    QPushButton* close_ = nullptr;
    ModelIdentity openedIdentity_;
};

} // namespace vrl::gui
