# Joins the renderer program and the two model files into the data package and writes the
# front end's table of where each piece lies, from the sizes of the files joined, so that the
# package and the program that unpacks it always agree.
#   cmake -DRENDERER=... -DFISH_MODEL=... -DTERRAIN_MODEL=... -DPACKAGE=... -DHEADER=... -P JoinDataPackage.cmake
foreach(variable RENDERER FISH_MODEL TERRAIN_MODEL PACKAGE HEADER)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "${variable} is not set")
  endif()
endforeach()

set(offset 0)
set(entries "")
foreach(piece "Tavren.pex;${RENDERER}" "Tavren.pp1;${FISH_MODEL}" "Tavren.pp2;${TERRAIN_MODEL}")
  list(GET piece 0 name)
  list(GET piece 1 file)
  file(SIZE "${file}" length)
  string(APPEND entries "    {\"${name}\", ${offset}, ${length}},\n")
  math(EXPR offset "${offset} + ${length}")
endforeach()

execute_process(
  COMMAND ${CMAKE_COMMAND} -E cat "${RENDERER}" "${FISH_MODEL}" "${TERRAIN_MODEL}"
  OUTPUT_FILE "${PACKAGE}.part"
  RESULT_VARIABLE result)
file(SIZE "${PACKAGE}.part" joined)
if(NOT result EQUAL 0 OR NOT joined EQUAL offset)
  file(REMOVE "${PACKAGE}.part")
  message(FATAL_ERROR "joining the data package failed (${joined} of ${offset} bytes)")
endif()
file(RENAME "${PACKAGE}.part" "${PACKAGE}")

file(WRITE "${HEADER}.part"
  "// Made by the build from the sizes of the files joined into the data package.\n"
  "#pragma once\n\n"
  "#include \"saver/Tavren_B.h\"\n\n"
  "namespace tavren::saver {\n\n"
  "inline constexpr uint64_t DataPackageSize = ${offset};\n\n"
  "inline constexpr PackagePiece DataPackagePieces[] = {\n"
  "${entries}"
  "};\n\n"
  "} // namespace tavren::saver\n")
file(RENAME "${HEADER}.part" "${HEADER}")
