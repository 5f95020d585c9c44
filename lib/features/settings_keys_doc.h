// The list of every settings key over all models, as Markdown: what
// docs/settings-keys.md holds. Generated from the field tables so it cannot drift.
#pragma once

#include "channels/text_source.h"

#include <string>

namespace vrl {

std::string settingsKeysMarkdown(const TextSource& texts);

} // namespace vrl
