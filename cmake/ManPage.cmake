# Writes the man page from the program's own --help texts, so it cannot drift from them:
# help2man makes the page from the top-level help, and every command's help is added as
# a subsection of COMMANDS.
# cmake -DEXE=program -DHELP2MAN=help2man -DGZIP=gzip -DOUT=page.1.gz -P ManPage.cmake

execute_process(COMMAND "${EXE}" --help OUTPUT_VARIABLE top COMMAND_ERROR_IS_FATAL ANY)

# The commands are the lines "  name   description" under "Subcommands:".
string(REGEX REPLACE ".*\nSubcommands:\n" "" listing "${top}")
string(REGEX MATCHALL "(^|\n)  [a-z][a-z-]*" names "${listing}")

set(include_text "[COMMANDS]\n")
foreach(name IN LISTS names)
  string(STRIP "${name}" name)
  execute_process(COMMAND "${EXE}" ${name} --help OUTPUT_VARIABLE help COMMAND_ERROR_IS_FATAL ANY)
  # Shown as typed: roff's escape character and control lines must not act.
  string(REPLACE "\\" "\\e" help "${help}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" help "${help}")
  string(APPEND include_text ".SS ${name}\n.nf\n${help}.fi\n")
endforeach()

string(REGEX REPLACE "\\.gz$" "" page "${OUT}")
file(WRITE "${page}.include" "${include_text}")
execute_process(
  COMMAND "${HELP2MAN}" --no-info --section 1
          --name "compile a train-driving simulator's scenario into its binary files"
          --include "${page}.include" --output "${page}" "${EXE}"
  COMMAND_ERROR_IS_FATAL ANY)
# -n: no name or time stamp in the header, so the same page compresses to the same bytes.
execute_process(COMMAND "${GZIP}" -9nf "${page}" COMMAND_ERROR_IS_FATAL ANY)
