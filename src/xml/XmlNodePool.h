// Storage for the nodes of one load. A list of many thousand rows is made of millions of
// small nodes; taking them from large blocks, and giving the blocks back all at once, costs
// a fraction of allocating and freeing each.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "xml/XmlTree.h"

namespace tasklane::xml {

class XmlNodePool {
 public:
  XmlNodePtr Make(XmlNodeKind kind, std::u16string_view name = {}, std::u16string_view value = {});
  // A node made here refers to a name and a value that live in the pool's storage (Store,
  // Keep) without a copy of its own; any other node keeps a copy.
  void SetName(XmlElement& node, std::u16string_view name);
  void SetValue(XmlElement& node, std::u16string_view value);

  // A copy of the text that lives as long as the pool's storage.
  std::u16string_view Store(std::u16string_view text);
  // Keeps a whole text, which nodes then refer into.
  void Keep(std::unique_ptr<std::u16string> text);

  // Gives all storage back. No node made here may be alive any more.
  void Reset();

 private:
  static constexpr std::size_t unitsPerTextBlock = 32 * 1024;

  static constexpr std::size_t nodesPerBlock = 512;
  struct Slot {
    alignas(XmlElement) std::byte bytes[sizeof(XmlElement)];
  };

  std::vector<std::unique_ptr<Slot[]>> blocks_;
  std::size_t used_ = nodesPerBlock;  // slots taken in the last block
  std::vector<std::unique_ptr<char16_t[]>> textBlocks_;
  char16_t* textNext_ = nullptr;  // the first free unit of the last text block
  std::size_t textRoom_ = 0;      // and how many are free
  std::vector<std::unique_ptr<std::u16string>> keptTexts_;
};

}  // namespace tasklane::xml
