# Writes a C++ source that holds every file of art/ as bytes, so the program needs no picture
# files beside it. Run at build time by src/art/CMakeLists.txt:
#   cmake -DART_FILES=<file|file|...> -DOUTPUT=<source> -P EmbedArt.cmake
# ART_FILES separates the paths by "|", as a ";" would split the argument on its way here.
# Each file becomes an array of char literals ('\x89', ...): a string literal would be shorter
# but meets the length limits of some compilers, and the literals need no cast and no warning.
cmake_minimum_required(VERSION 3.25)

if(NOT DEFINED ART_FILES OR NOT DEFINED OUTPUT)
  message(FATAL_ERROR "EmbedArt.cmake needs -DART_FILES=... and -DOUTPUT=...")
endif()
string(REPLACE "|" ";" files "${ART_FILES}")
list(SORT files)

string(REPEAT "[0-9a-f]" 32 sixteen_bytes)
set(arrays "")
set(entries "")
set(index 0)
foreach(path IN LISTS files)
  get_filename_component(name "${path}" NAME)
  if(NOT name MATCHES "^[A-Za-z0-9_.-]+$")
    # The name goes into a string literal as it is.
    message(FATAL_ERROR "EmbedArt.cmake: \"${name}\" needs a plain file name (letters, digits, _ . -)")
  endif()
  file(READ "${path}" hex HEX)
  string(LENGTH "${hex}" hex_length)
  math(EXPR size "${hex_length} / 2")
  if(size EQUAL 0)
    # An empty file still needs one element; its view below has length 0.
    set(body "0")
  else()
    # Sixteen bytes to a line, then every byte as a character literal.
    string(REGEX REPLACE "(${sixteen_bytes})" "\\1\n    " body "${hex}")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," body "${body}")
  endif()
  string(APPEND arrays "// ${name}, ${size} bytes\nconst char kFile${index}[] = {\n    ${body}\n};\n")
  string(APPEND entries "    {\"${name}\", std::string_view(kFile${index}, ${size})},\n")
  math(EXPR index "${index} + 1")
endforeach()

if(index EQUAL 0)
  # No pictures at all: the table keeps one empty entry, as an array cannot be empty, and
  # counts none.
  set(entries "    {std::string_view(), std::string_view()},\n")
endif()

set(source "// Written by cmake/EmbedArt.cmake from the files of art/ at build time; do not edit.
#include <cstddef>
#include <string_view>

#include \"art/Art.h\"

namespace tasklane::art {
namespace {

${arrays}
}  // namespace

constinit const EmbeddedFile files[] = {
${entries}};
constinit const std::size_t fileCount = ${index};

}  // namespace tasklane::art
")

file(WRITE "${OUTPUT}" "${source}")
