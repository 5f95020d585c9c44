// Where the channel and key accessors get their words: a function from a language
// text index to the text in the language chosen by the caller.
#pragma once

#include <functional>
#include <string>

namespace vrl {

using TextSource = std::function<std::string(int index)>;

} // namespace vrl
