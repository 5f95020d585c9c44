// CGrEditView: the two settings of the channel grid's current group, its name and
// its group-scan membership. It holds only the group it shows: both fields are read
// and written through the channel store, and it follows the grid's group.
#pragma once

#include "widgets/form_view.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace vrl {
class ChannelStore;
}

namespace vrl::gui {

class FilteredEdit;

class CGrEditView : public CFormView {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 152;
    static constexpr int kTitleText = 232;

    CGrEditView(AppContext& ctx, QWidget* parent);

    // Group shown, 0-based.
    int group() const { return group_; }
    FilteredEdit* nameEdit() const { return name_; }
    QCheckBox* scanAdd() const { return scanAdd_; }

  public slots:
    // The grid's current group changed: show it.
    void loadGroup(int g);

  private:
    ChannelStore& store_;
    int group_ = 0;
    QLabel* nameLabel_;
    FilteredEdit* name_;
    QCheckBox* scanAdd_;
    QPushButton* close_;
    QPushButton* help_;
};

} // namespace vrl::gui
