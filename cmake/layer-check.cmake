# Refuses an include by a relative path ("../") in the product's files: the
# compiler would find such a header beside the including file, past the
# include roots that keep each layer to the layers under it.
#   cmake -DLIST=files.txt -P layer-check.cmake   (one file name a line)
file(STRINGS "${LIST}" files)
set(wrong)
foreach(file ${files})
    file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<][^\">]*\\.\\./")
    foreach(line ${lines})
        list(APPEND wrong "${file}: ${line}")
    endforeach()
endforeach()
if(wrong)
    list(JOIN wrong "\n  " listed)
    message(FATAL_ERROR "an include by a relative path reaches past the layers:\n  ${listed}")
endif()
