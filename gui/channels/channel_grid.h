// CChannelGrid: the channels of one group as rows, one column per channel field.
// It only shows texts; the window around it does the editing.
#pragma once

#include "channels/channel_record.h"

#include <QTableWidget>
#include <vector>

namespace vrl {
class ChannelStore;
}

namespace vrl::gui {

class AppContext;

class CChannelGrid : public QTableWidget {
    Q_OBJECT
  public:
    CChannelGrid(AppContext& ctx, ChannelStore& store, QWidget* parent = nullptr);

    // Column kinds 0-8 of the columns 1.. of the current model.
    const std::vector<int>& columnKinds() const { return kinds_; }
    static ChannelField fieldOfKind(int kind);
    // Field of a grid column; nullopt for the header column.
    std::optional<ChannelField> fieldOfColumn(int column) const;
    int columnOfField(ChannelField f) const; // -1 when not shown

    // Group g (0-based) shown: one row per channel number, or on the small
    // models with single-channel groups one row per group.
    void showGroup(int g);
    int group() const { return group_; }
    bool listsGroups() const { return listsGroups_; }
    // The (group, channel) a row stands for.
    std::pair<int, int> channelOfRow(int row) const;
    int rowOf(int g, int c) const;
    // Rows of trunking groups in the list of groups: read-only.
    bool isTrunkingRow(int row) const;

    void refreshCell(int row, int column);
    void refreshRow(int row);
    void refreshAll();

    // Wide enough for every column and tall enough for up to 16 rows, so the
    // window opens showing the whole grid width.
    QSize sizeHint() const override;

  protected:
    void changeEvent(QEvent* event) override;

  private:
    void buildColumns();
    void fitColumnWidths();

    AppContext& ctx_;
    ChannelStore& store_;
    std::vector<int> kinds_;
    int group_ = 0;
    bool listsGroups_ = false;
};

} // namespace vrl::gui
