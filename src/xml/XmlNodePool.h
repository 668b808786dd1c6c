// Storage for the nodes of one load. A list of many thousand rows is made of millions of
// small nodes; taking them from large blocks, and giving the blocks back all at once, costs
// a fraction of allocating and freeing each.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

#include "xml/XmlTree.h"

namespace tasklane::xml {

class XmlNodePool {
 public:
  XmlNodePtr Make(XmlNodeKind kind, std::u16string_view name = {}, std::u16string_view value = {});

  // Gives all storage back. No node made here may be alive any more.
  void Reset();

 private:
  static constexpr std::size_t nodesPerBlock = 512;
  struct Slot {
    alignas(XmlElement) std::byte bytes[sizeof(XmlElement)];
  };

  std::vector<std::unique_ptr<Slot[]>> blocks_;
  std::size_t used_ = nodesPerBlock;  // slots taken in the last block
};

}  // namespace tasklane::xml
