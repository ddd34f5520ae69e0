# Writes a C++ source that holds the given files as byte arrays and a table
# that finds them by file name.
# cmake -DOUTPUT=out.cpp -DFILES="a.png;b.png" -P EmbedFiles.cmake
set(body "// Generated from the pictures in resources/; do not edit.\n#include \"resources/VantelorResources.h\"\n\n#include <cstring>\n\nnamespace {\n")
set(table "")
set(index 0)
foreach(file IN LISTS FILES)
  file(READ "${file}" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "((0x..,){20})" "\\1\n" bytes "${bytes}")
  get_filename_component(name "${file}" NAME)
  string(APPEND body "const uint8_t kData${index}[] = {\n${bytes}\n};\n")
  string(APPEND table "    {\"${name}\", kData${index}, sizeof(kData${index})},\n")
  math(EXPR index "${index} + 1")
endforeach()
string(APPEND body "
struct Entry
{
    const char* name;
    const uint8_t* data;
    size_t size;
};
const Entry kEntries[] = {
${table}};

} // namespace

bool findVantelorResource(const char* name, VSTGUI::CResourceData& out)
{
    if (!name)
        return false;
    for (const Entry& e : kEntries) {
        if (std::strcmp(e.name, name) == 0) {
            out.data = e.data;
            out.size = e.size;
            return true;
        }
    }
    return false;
}
")
file(WRITE "${OUTPUT}.tmp" "${body}")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
