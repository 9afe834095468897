# Checks a Windows DLL of Pendrel from outside, as the converter's runtime will see it:
#   cmake -DDLL=oleacc.dll -DOBJDUMP=<prefix>-objdump -DWINDRES=<prefix>-windres
#         -DSTDCALL=ON|OFF -P CheckWindowsDll.cmake
# the export table (plain names at ordinals 1 to 3), the imported DLLs (system ones only),
# the version resource and, on 32-bit Windows (STDCALL), that each export removes its own
# arguments from the stack.

set(failures "")
macro(fail message)
    list(APPEND failures "${message}")
endmacro()

function(run output)
    execute_process(COMMAND ${ARGN} OUTPUT_VARIABLE text ERROR_VARIABLE errors RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "${ARGN} failed (${result}): ${errors}")
    endif()
    set(${output} "${text}" PARENT_SCOPE)
endfunction()

# The part of text from the line that starts with heading up to the next empty line.
function(section output text heading)
    string(FIND "${text}" "${heading}" start)
    if(start EQUAL -1)
        set(${output} "" PARENT_SCOPE)
        return()
    endif()
    string(SUBSTRING "${text}" ${start} -1 rest)
    string(FIND "${rest}" "\n\n" end)
    string(SUBSTRING "${rest}" 0 ${end} rest)
    set(${output} "${rest}" PARENT_SCOPE)
endfunction()

run(headers ${OBJDUMP} -p ${DLL})

# Exports: objdump numbers the names by ordinal less the ordinal base.
string(REGEX MATCH "Ordinal Base[ \t]+([0-9]+)" _ "${headers}")
set(base "${CMAKE_MATCH_1}")
if(NOT base STREQUAL "1")
    fail("ordinal base is '${base}', not 1")
endif()
string(REGEX MATCH "\nName[ \t]+[0-9a-fA-F]+ ([^\n]+)" _ "${headers}")
if(NOT CMAKE_MATCH_1 STREQUAL "oleacc.dll")
    fail("export table names the module '${CMAKE_MATCH_1}', not oleacc.dll")
endif()
section(names "${headers}" "[Ordinal/Name Pointer] Table")
string(REGEX MATCHALL "\\[ *[0-9]+\\] [^\n]+" entries "${names}")
set(exports "")
foreach(entry ${entries})
    string(REGEX MATCH "\\[ *([0-9]+)\\] (.+)" _ "${entry}")
    math(EXPR ordinal "${CMAKE_MATCH_1} + ${base}")
    list(APPEND exports "${ordinal} ${CMAKE_MATCH_2}")
endforeach()
set(expected_exports "1 AccessibleObjectFromWindow;2 CreateStdAccessibleObject;3 LresultFromObject")
if(NOT exports STREQUAL expected_exports)
    string(REPLACE ";" ", " exports "${exports}")
    string(REPLACE ";" ", " expected_exports "${expected_exports}")
    fail("exports are '${exports}', not '${expected_exports}'")
endif()

# Imports: the DLL has to load beside the converter without the compiler's runtime DLLs.
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${headers}")
foreach(import ${imports})
    string(REPLACE "DLL Name: " "" import "${import}")
    string(TOLOWER "${import}" name)
    if(NOT name MATCHES "^(kernel32|msvcrt)\\.dll$")
        fail("imports ${import}")
    endif()
endforeach()

# Version resource, as windres writes it back (letters beyond ASCII as \x escapes).
run(resources ${WINDRES} -i ${DLL} -O rc)
foreach(line
        "LANGUAGE 21, 1"
        " FILEVERSION 1, 0, 0, 0"
        " PRODUCTVERSION 1, 0, 0, 0"
        "    BLOCK \"041504B0\""
        "      VALUE \"FileVersion\", \"1.00\""
        [[      VALUE "FileDescription", L"Biblioteka imituj\x0105ca brakuj\x0105c\x0105 bibliotek\x0119 systemow\x0105 oleacc.dll (Active Accessibility)"]]
        "    VALUE \"Translation\", 0x415, 1200")
    string(FIND "${resources}" "\n${line}\n" found)
    if(found EQUAL -1)
        fail("no line '${line}' in the resources")
    endif()
endforeach()

# On 32-bit Windows the called function removes its arguments (ret with their size): a
# caller compiled against the platform's declarations finds its stack as it left it.
if(STDCALL)
    foreach(function AccessibleObjectFromWindow@16 CreateStdAccessibleObject@16 LresultFromObject@12)
        string(REGEX MATCH "[0-9]+$" size "${function}")
        math(EXPR size "${size}" OUTPUT_FORMAT HEXADECIMAL)
        run(code ${OBJDUMP} -d --no-show-raw-insn --disassemble=_${function} ${DLL})
        string(FIND "${code}" "\tret    $${size}\n" found)
        if(found EQUAL -1)
            fail("_${function} has no ret $${size}")
        endif()
        if(code MATCHES "\tret *\n")
            fail("_${function} leaves its arguments to the caller")
        endif()
    endforeach()
endif()

if(failures)
    list(JOIN failures "\n  " report)
    message(FATAL_ERROR "${DLL}:\n  ${report}")
endif()
message(STATUS "${DLL}: exports, imports, version resource and calling convention as expected")
