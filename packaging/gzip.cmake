# SPDX-FileCopyrightText: 2026 The Vantu developers
# SPDX-License-Identifier: MIT
# cmake -DINPUT=FILE -DOUTPUT=FILE.gz -P gzip.cmake: compresses one file with gzip, as man pages
# are shipped. Run it in INPUT's folder: the compressed file keeps INPUT's name as given.
if(NOT DEFINED INPUT OR NOT DEFINED OUTPUT)
    message(FATAL_ERROR "usage: cmake -DINPUT=FILE -DOUTPUT=FILE.gz -P gzip.cmake")
endif()
get_filename_component(output_directory ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${output_directory})
file(ARCHIVE_CREATE OUTPUT ${OUTPUT} PATHS ${INPUT} FORMAT raw COMPRESSION GZip
     COMPRESSION_LEVEL 9)
