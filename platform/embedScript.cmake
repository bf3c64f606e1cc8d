# Writes the preprocessed resource script as a C++ string the layer parses at start-up.
file(READ ${INPUT} SCRIPT_HEX HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," SCRIPT_BYTES "${SCRIPT_HEX}")
file(WRITE ${OUTPUT}
    "// Generated from resources/skerrow.rc; do not edit.\n"
    "extern const char g_resourceScript[];\n"
    "const char g_resourceScript[] = {${SCRIPT_BYTES} 0x00};\n")
