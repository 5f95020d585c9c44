// CTrunkingView: the trunking board's settings on three pages: the settings
// (codes, system tone and ID, decode blocks, busy channel detect, radio-kill, the
// subscriber options and the Access Code button), the speed-dial memories (0-9 and
// A-D, only on models that have them: elsewhere the page cannot be selected) and
// the code list. Every field is the field table's "trunking" area; the grids are
// edited in place.
#pragma once

#include "features/trunking.h"
#include "widgets/form_view.h"

#include <string>
#include <vector>

class QTabWidget;
class QTableWidget;

namespace vrl::gui {

class GridCellEditing;
class TabPageList;

class CTrunkingView : public CFormView {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 145;
    static constexpr int kTitleText = 435;
    static constexpr int kTabId = 1418;
    static constexpr int kCloseId = 1452;
    static constexpr int kHelpId = 1219;
    static constexpr int kAccessCodeId = 1266;
    static constexpr int kCodeGridId = 1449;
    static constexpr int kSpeedDialGridId = 1450;
    static constexpr int kSpeedDialAdGridId = 1451;
    enum Page { kSettingsPage = 0, kSpeedDialPage = 1, kCodeListPage = 2 };

    CTrunkingView(AppContext& ctx, QWidget* parent);

    QTabWidget* tabWidget() const;
    TabPageList* pages() const { return pages_; }
    QTableWidget* codeGrid() const { return codeGrid_.grid; }
    QTableWidget* speedDialGrid() const { return speedGrid_.grid; }
    QTableWidget* speedDialAdGrid() const { return speedAdGrid_.grid; }
    GridCellEditing* codeEditing() const { return codeGrid_.editing; }
    GridCellEditing* speedDialEditing() const { return speedGrid_.editing; }
    QPushButton* accessCodeButton() const { return accessCode_; }
    QPushButton* closeButton() const { return close_; }
    // The control of a field of the page of settings, by key.
    QWidget* control(std::string_view key) const { return fieldControl(key); }

    // Reloads every field and every grid cell from the image.
    void refresh();
    // Runs the access-code dialog; the code is stored when it ends with OK.
    void runAccessCodeDialog();

  private:
    struct Grid {
        QTableWidget* grid = nullptr;
        GridCellEditing* editing = nullptr;
        std::vector<std::string> keys; // the field of each row
    };
    Grid makeGrid(int gridId, int headerText, const std::vector<std::string>& keys);
    QString storeCell(const Grid& grid, int row, const QString& text);
    void reloadGrid(const Grid& grid);
    const Field* field(std::string_view key) const;
    void pageSelected(int page);
    void commitGrids();

    FieldTable table_;
    TabPageList* pages_ = nullptr;
    Grid codeGrid_;
    Grid speedGrid_;
    Grid speedAdGrid_;
    QPushButton* accessCode_ = nullptr;
    QPushButton* close_ = nullptr;
    QPushButton* help_ = nullptr;
    int page_ = kSettingsPage;
};

} // namespace vrl::gui
