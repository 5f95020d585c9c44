#include "app/registries.h"

namespace vrl::gui {

FunctionWindowRegistry& FunctionWindowRegistry::instance() {
    static FunctionWindowRegistry registry;
    return registry;
}

bool FunctionWindowRegistry::add(int command, WindowFactory factory) {
    factories_[command] = std::move(factory);
    return true;
}

const WindowFactory* FunctionWindowRegistry::find(int command) const {
    auto it = factories_.find(command);
    return it == factories_.end() ? nullptr : &it->second;
}

CommandRegistry& CommandRegistry::instance() {
    static CommandRegistry registry;
    return registry;
}

bool CommandRegistry::add(int command, CommandHandler handler) {
    handlers_[command] = std::move(handler);
    return true;
}

const CommandHandler* CommandRegistry::find(int command) const {
    auto it = handlers_.find(command);
    return it == handlers_.end() ? nullptr : &it->second;
}

} // namespace vrl::gui
