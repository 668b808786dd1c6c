#include "xml/Charsets.h"
#include "xml/XmlTree.h"

namespace tasklane::xml {

XmlError::XmlError(std::u16string message)
    : std::runtime_error(ToUtf8(message)), message_(std::move(message)) {}

}  // namespace tasklane::xml
