// The system clipboard, as plain text.
#pragma once

#include <string>
#include <string_view>

namespace tasklane::platform {

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // The clipboard's text; empty when it holds none.
  virtual std::u16string Text() = 0;
  virtual void SetText(std::u16string_view text) = 0;
};

}  // namespace tasklane::platform
