# Writes OUTPUT, a C++ source that returns the bytes of INPUT as builtinEnglishCatalog().
file(READ "${INPUT}" content HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," content "${content}")
file(WRITE "${OUTPUT}.tmp"
  "// Generated from lang/LangEN.po by cmake/EmbedCatalog.cmake; do not edit.\n"
  "#include \"platform/builtin_catalog.h\"\n"
  "namespace qelto::platform {\n"
  "namespace { constexpr char kBytes[] = {${content} 0}; }\n"
  "std::string_view builtinEnglishCatalog() { return {kBytes, sizeof kBytes - 1}; }\n"
  "}  // namespace qelto::platform\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
