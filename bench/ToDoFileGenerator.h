// Builds to-do lists shaped like the ones the program saves, for measuring the reader and
// the writer on realistic input without shipping large files in the repository.
#pragma once

#include <string>

#include "xml/XmlTree.h"

namespace tasklane::bench {

// Fills `tree` with a list of `rows` tasks and `columns` columns. The same arguments always
// give the same list: the texts come from a fixed-seed generator of our own, not from
// <random>, whose distributions differ between standard libraries.
void BuildToDoList(xml::XmlTree& tree, int rows, int columns);

// The saved form of such a list, exactly as SaveToBytes writes it.
std::string MakeToDoFile(int rows, int columns);

// A short list behind `declarations` declarations that name UTF-8 and ISO-8859-1 in turn,
// the last one ISO-8859-1; its texts hold bytes above 127, so every switch of the charset
// matters to the decoder. Another program's file at its worst, not one we write.
std::string MakeAlternatingDeclarationsFile(int declarations);

// Widens bytes one to one. Enough for our own files, which are plain ASCII because the
// writer turns everything else into character references.
std::u16string WidenLatin1(const std::string& bytes);

}  // namespace tasklane::bench
