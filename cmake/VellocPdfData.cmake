# The PDF import's data beside the plug-in, built from the Debian package poppler-data (not kept
# in the tree): the Adobe-Japan1 CMaps in "VellocData/Pdf/cMap/" and the CID-to-Unicode table
# "VellocData/Pdf/CidToUnicode.dat" (one hexadecimal Unicode value per CID, one line each).
set(VT_POPPLER_DATA /usr/share/poppler CACHE PATH "Installed poppler-data")
set(VT_PDF_DATA_DIR ${VT_BIN_DIR}/VellocData/Pdf)
if(EXISTS ${VT_POPPLER_DATA}/cidToUnicode/Adobe-Japan1)
  add_custom_command(OUTPUT ${VT_PDF_DATA_DIR}/CidToUnicode.dat
    COMMAND ${CMAKE_COMMAND} -E make_directory ${VT_PDF_DATA_DIR}/cMap
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${VT_POPPLER_DATA}/cMap/Adobe-Japan1 ${VT_PDF_DATA_DIR}/cMap
    COMMAND ${CMAKE_COMMAND} -E copy ${VT_POPPLER_DATA}/cidToUnicode/Adobe-Japan1 ${VT_PDF_DATA_DIR}/CidToUnicode.dat
    DEPENDS ${VT_POPPLER_DATA}/cidToUnicode/Adobe-Japan1
    COMMENT "Copying the Adobe-Japan1 CMaps and CID table from poppler-data")
  add_custom_target(VellocPdfData ALL DEPENDS ${VT_PDF_DATA_DIR}/CidToUnicode.dat)
else()
  message(WARNING "poppler-data is not installed (scripts/setup-machine): the PDF import has no CMaps")
  add_custom_target(VellocPdfData)
endif()
