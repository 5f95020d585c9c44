// The channel store and key families of one AppContext, created on first use and
// living as long as the context. Also registers the store as the model change's
// channel-plan editor.
#pragma once

#include "channels/channel_store.h"
#include "channels/keys.h"

#include <QObject>

namespace vrl::gui {

class AppContext;

class ChannelServices : public QObject {
    Q_OBJECT
  public:
    static ChannelServices& of(AppContext& ctx);

    ChannelStore& store() { return store_; }
    KeyAssignment& keys() { return keys_; }

  signals:
    // The grid's current group or channel changed (the edit window follows).
    void currentChanged(int group, int channel);

  private:
    explicit ChannelServices(AppContext& ctx);

    KeyAssignment keys_;
    ChannelStore store_;
};

} // namespace vrl::gui
