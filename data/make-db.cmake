# cmake -DISQL=... -DSCRIPT=... -DOUT=... -P make-db.cmake
# Creates the Firebird file OUT (embedded, no server) and runs SCRIPT on it.
# The file is made under a temporary name and moved into place only when the
# whole script succeeded, so a failed build never leaves a half-made database.
foreach(var ISQL SCRIPT OUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "make-db.cmake: ${var} is not set")
  endif()
endforeach()

set(tmp "${OUT}.tmp")
file(REMOVE "${tmp}" "${OUT}.sql")
file(READ "${SCRIPT}" body)
file(WRITE "${OUT}.sql"
  "SET SQL DIALECT 3;\nCREATE DATABASE '${tmp}' USER 'SYSDBA' PASSWORD 'masterkey' PAGE_SIZE 8192 DEFAULT CHARACTER SET UTF8;\n${body}\n")
execute_process(COMMAND "${ISQL}" -q -b -i "${OUT}.sql"
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
file(REMOVE "${OUT}.sql")
if(NOT rc EQUAL 0 OR err MATCHES "Statement failed|SQLSTATE")
  file(REMOVE "${tmp}")
  message(FATAL_ERROR "isql-fb failed on ${SCRIPT} (${rc}):\n${out}\n${err}")
endif()
file(RENAME "${tmp}" "${OUT}")
