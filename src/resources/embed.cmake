# Compiles the XRC documents and the images they name into one C++ source.
# wxrc names every embedded file "XRC_resource/<output>$<path with / as _>";
# the documents are staged flat next to their images (gfx/: artwork,
# toolgfx/: tool-bar icons) so that the names come out as
# "XRC_resource/resource$gfx_....png" and "...$resource.xrc".
#
#   cmake -DRES_DIR=... -DSTAGE=... -DOUT=... -DDOCS=resource.xrc,images.xrc -P embed.cmake
string(REPLACE "," ";" DOCS "${DOCS}")
file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${STAGE})
file(GLOB images ${RES_DIR}/gfx/gfx_* ${RES_DIR}/toolgfx/gfx_*)
foreach(img ${images})
  file(COPY ${img} DESTINATION ${STAGE})
endforeach()
foreach(doc ${DOCS})
  file(READ ${RES_DIR}/${doc} text)
  # wxrc embeds nothing for a missing picture and still succeeds
  string(REGEX MATCHALL ">(gfx|toolgfx)/[^<]+<" refs "${text}")
  foreach(ref ${refs})
    string(REGEX REPLACE "^>(.*)<$" "\\1" path "${ref}")
    if(NOT EXISTS ${RES_DIR}/${path})
      message(FATAL_ERROR "${doc} names ${path}, which does not exist")
    endif()
  endforeach()
  string(REPLACE ">gfx/" ">" text "${text}")
  string(REPLACE ">toolgfx/" ">" text "${text}")
  file(WRITE ${STAGE}/${doc} "${text}")
endforeach()
execute_process(COMMAND wxrc -c -o resource ${DOCS}
  WORKING_DIRECTORY ${STAGE} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "wxrc failed (${rc})")
endif()
file(COPY_FILE ${STAGE}/resource ${OUT} ONLY_IF_DIFFERENT)
