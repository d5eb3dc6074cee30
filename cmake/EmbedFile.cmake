# Turns a file into C++ source: the bytes as one array and a function that returns them.
#   cmake -DINPUT=file -DOUTPUT=file.cpp -DHEADER=Name.h -DNAMESPACE=ns -DFUNCTION=Name
#         [-DSTRIP=strip-program] -P EmbedFile.cmake
# With STRIP, the copy that is embedded leaves out the debug information: nobody reads
# symbols from the written-out image, and it is written at every start of the program.
foreach(var INPUT OUTPUT HEADER NAMESPACE FUNCTION)
  if(NOT DEFINED ${var} OR "${${var}}" STREQUAL "")
    message(FATAL_ERROR "EmbedFile: ${var} not given")
  endif()
endforeach()

set(source "${INPUT}")
if(STRIP)
  set(source "${OUTPUT}.stripped")
  execute_process(COMMAND "${STRIP}" --strip-debug -o "${source}" "${INPUT}"
                  RESULT_VARIABLE strip_result)
  if(NOT strip_result EQUAL 0)
    message(FATAL_ERROR "EmbedFile: ${STRIP} failed on ${INPUT}")
  endif()
endif()

file(READ "${source}" hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
if(size EQUAL 0)
  message(FATAL_ERROR "EmbedFile: ${INPUT} is empty")
endif()

# A string literal of \x escapes compiles far faster than a list of integers. Every escape
# has exactly two digits and is followed by a backslash or a quote, so none runs on.
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "\\\\x\\1" escaped "${hex}")
# 64 bytes to a line.
string(REPEAT "." 256 line_pattern)
string(REGEX REPLACE "(${line_pattern})" "\\1\"\n    \"" escaped "${escaped}")

file(WRITE "${OUTPUT}.new" "// Generated from ${INPUT} by EmbedFile.cmake; do not edit.
#include \"${HEADER}\"

namespace ${NAMESPACE} {
namespace {

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored \"-Woverlength-strings\"
// The literal's own terminating zero is not part of the image.
const unsigned char kImage[${size} + 1] =
    \"${escaped}\";
#pragma GCC diagnostic pop

}  // namespace

std::span<const std::uint8_t> ${FUNCTION}() { return {kImage, ${size}}; }

}  // namespace ${NAMESPACE}
")
# Only a changed image touches the output, so an unchanged one is not compiled again.
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
