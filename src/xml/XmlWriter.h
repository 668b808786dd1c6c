// The text form of a tree.
#pragma once

#include <functional>
#include <string_view>

#include "xml/XmlTree.h"

namespace tasklane::xml {

using ByteSink = std::function<void(std::string_view bytes)>;

// Writes the prolog and the root through a 4096-byte buffer into the sink. Adds the
// default declaration to a prolog that has none.
void WriteTree(XmlTree& tree, const ByteSink& sink);

}  // namespace tasklane::xml
