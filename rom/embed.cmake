# Writes OUTPUT, a C++ source that defines the arrays declared in open_rom.h from
# the files BASIC, KERNAL and DEMO. Run with cmake -P at build time.

foreach(var OUTPUT BASIC KERNAL DEMO)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "embed.cmake: ${var} is not set")
  endif()
endforeach()

# byte_array(<file> <size var> <text var>): the file as "0x.., " lines of 16 bytes.
function(byte_array file size_var text_var)
  file(SIZE ${file} size)
  file(READ ${file} hex HEX)
  string(REGEX REPLACE "(................................)" "\\1\n" hex "${hex}")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," hex "${hex}")
  string(REGEX REPLACE "\n$" "" hex "${hex}")
  string(REPLACE "\n" "\n    " hex "${hex}")
  set(${size_var} ${size} PARENT_SCOPE)
  set(${text_var} "    ${hex}" PARENT_SCOPE)
endfunction()

byte_array(${BASIC} basic_size basic_bytes)
byte_array(${KERNAL} kernal_size kernal_bytes)
byte_array(${DEMO} demo_size demo_bytes)
foreach(image basic kernal)
  if(NOT ${image}_size EQUAL 16384)
    message(FATAL_ERROR "embed.cmake: the ${image} image is ${${image}_size} bytes, not 16384")
  endif()
endforeach()
if(demo_size LESS 3)
  message(FATAL_ERROR "embed.cmake: the demo is ${demo_size} bytes, too short for a program")
endif()

set(text "// Generated at build time from the open ROM's assembled images; do not edit.
#include \"rom/open_rom.h\"

const uint8_t openBasicImage[openRomImageSize] = {
${basic_bytes}
};

const uint8_t openKernalImage[openRomImageSize] = {
${kernal_bytes}
};

const uint8_t demoProgram[] = {
${demo_bytes}
};

const size_t demoProgramSize = sizeof demoProgram;
")

file(WRITE ${OUTPUT} "${text}")
