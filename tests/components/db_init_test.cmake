# Runs `covernote db` against a database in WORK and checks what the user sees.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
set(db "${WORK}/sample.db")

function(run expected_result expected_output)
  execute_process(COMMAND "${COVERNOTE}" ${ARGN}
                  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(expected_result STREQUAL "0" AND NOT result EQUAL 0)
    message(FATAL_ERROR "covernote ${ARGN} failed (${result}): ${out}${err}")
  elseif(NOT expected_result STREQUAL "0" AND result EQUAL 0)
    message(FATAL_ERROR "covernote ${ARGN} succeeded but should not have: ${out}")
  endif()
  if(NOT "${out}${err}" MATCHES "${expected_output}")
    message(FATAL_ERROR "covernote ${ARGN} said \"${out}${err}\", expected /${expected_output}/")
  endif()
endfunction()

run(0 "Created .*sample.db \\(schema version [0-9]+, 0 cover notes; no user can log in: add one with \"covernote user add\"\\)"
    db init --db "${db}")
if(NOT EXISTS "${db}")
  message(FATAL_ERROR "db init left no database")
endif()
run(1 "already here; add --force" db init --db "${db}")
run(0 "Created .*[1-9][0-9]* cover notes; 1 user with a password, to be changed at the first login" db init --db "${db}" --force --sample)
run(0 "0 step\\(s\\) applied" db migrate --db "${db}")
run(0 "already holds data" db seed --db "${db}")
run(1 "does not exist" db init --db "${WORK}/missing/folder/x.db")
run(1 "no database here" db migrate --db "${WORK}/none.db")
run(1 "is a folder" db init --db "${WORK}")

# A fresh database lets nobody in: no user has a password.
run(0 "Created" db init --db "${WORK}/empty.db")
run(0 "^user +agent +role +state +last login +MFA\n$" user list --db "${WORK}/empty.db")

# The database and its companions are their owner's only (the -wal and -shm files are there while
# a connection is open; SQLite gives them the database file's mode, and the modes are read here
# of the files left by the last command's connection, or of the file alone).
foreach(file "${db}" "${WORK}/empty.db")
  execute_process(COMMAND stat -c "%a" "${file}" OUTPUT_VARIABLE mode OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT mode STREQUAL "600")
    message(FATAL_ERROR "${file} was created with mode ${mode}, not 600")
  endif()
endforeach()

# `serve` never makes a database it is named and cannot find, nor the default one where one was
# made before (its marker is left beside the settings file).
run(1 "no database here; make one with \"covernote db init --db .*missing.db\"" serve --db "${WORK}/missing.db" --port 0)
run(1 "--metrics wants ADDRESS:PORT" serve --db "${db}" --port 0 --metrics 127.0.0.1:notaport)
file(MAKE_DIRECTORY "${WORK}/config/covernote")
file(WRITE "${WORK}/config/covernote/database.marker" "made before\n")
set(ENV{XDG_CONFIG_HOME} "${WORK}/config")
set(ENV{XDG_DATA_HOME} "${WORK}/data")
run(1 "the database is missing, though one was made here before .*covernote db init" serve --port 0)
if(EXISTS "${WORK}/data/covernote/covernote.db")
  message(FATAL_ERROR "serve made a database where one had been")
endif()
