// Two small registries that let other parts of the program plug into the main
// frame without the frame knowing them:
//  - function windows: a factory per command, opened at most once each;
//  - commands: a handler per command number (Read/Write Data, Radio Information,
//    Check Sum, Communication Port, ...). A menu item whose command has no handler
//    and no built-in action is shown disabled.
//
// A window or command registers itself from its own .cpp file:
//   VRL_REGISTER_FUNCTION_WINDOW(cmd::kEmbeddedMessage, CEmbeddedMsgView);
//   VRL_REGISTER_COMMAND(cmd::kCheckSum, [](FrameHost& host) { ... });
// (the program and the tests link the whole vrlgui library, so such files are kept).
#pragma once

#include <QWidget>

#include <functional>
#include <map>

namespace vrl::gui {

class AppContext;
class FrameHost;

using CommandHandler = std::function<void(FrameHost&)>;

// How to make a function window, and how to have it reload its fields from the image.
struct WindowFactory {
    std::function<QWidget*(AppContext&, QWidget*)> create;
    std::function<void(QWidget*)> refresh; // may be empty
};

class FunctionWindowRegistry {
  public:
    static FunctionWindowRegistry& instance();
    // Replaces an earlier factory of the same command. Returns true (for the macro).
    bool add(int command, WindowFactory factory);
    void remove(int command) { factories_.erase(command); }
    const WindowFactory* find(int command) const;

  private:
    std::map<int, WindowFactory> factories_;
};

class CommandRegistry {
  public:
    static CommandRegistry& instance();
    bool add(int command, CommandHandler handler);
    void remove(int command) { handlers_.erase(command); }
    const CommandHandler* find(int command) const;

  private:
    std::map<int, CommandHandler> handlers_;
};

template <class View>
WindowFactory windowFactory() {
    WindowFactory f;
    f.create = [](AppContext& ctx, QWidget* parent) -> QWidget* { return new View(ctx, parent); };
    if constexpr (requires(View& v) { v.refresh(); })
        f.refresh = [](QWidget* w) { static_cast<View*>(w)->refresh(); };
    return f;
}

} // namespace vrl::gui

#define VRL_REGISTRY_CONCAT2(a, b) a##b
#define VRL_REGISTRY_CONCAT(a, b) VRL_REGISTRY_CONCAT2(a, b)
#define VRL_REGISTER_FUNCTION_WINDOW(command, View)                                           \
    [[maybe_unused]] static const bool VRL_REGISTRY_CONCAT(vrlWindowRegistered_, __LINE__) = \
        ::vrl::gui::FunctionWindowRegistry::instance().add(command,                          \
                                                           ::vrl::gui::windowFactory<View>())
#define VRL_REGISTER_COMMAND(command, handler)                                                 \
    [[maybe_unused]] static const bool VRL_REGISTRY_CONCAT(vrlCommandRegistered_, __LINE__) = \
        ::vrl::gui::CommandRegistry::instance().add(command, handler)
