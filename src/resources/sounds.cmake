# Turns the embedded sounds into byte arrays (they stay outside the memory
# file system, where the XRC documents and images live).
#
#   cmake -DRES_DIR=... -DOUT=... -P sounds.cmake
set(text "// Generated from src/resources/gfx/*.wav; do not edit.\n#include \"resources/sounds.h\"\n")
foreach(pair "click;gfx_click.wav" "notify;gfx_notify.wav")
  list(GET pair 0 name)
  list(GET pair 1 file)
  file(READ ${RES_DIR}/gfx/${file} hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "((0x..,){24})" "\\1\n" bytes "${bytes}")
  string(APPEND text "\nconst unsigned char wavdata_${name}[] = {\n${bytes}\n};\n")
  string(APPEND text "const size_t wavdata_${name}_size = ${size};\n")
endforeach()
file(WRITE ${OUT}.tmp "${text}")
file(COPY_FILE ${OUT}.tmp ${OUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUT}.tmp)
