// fontconfig keeps a few process-wide caches from its first use until the
// process ends; they are the library's, not the editor's, and do not grow
// with the number of windows opened.
extern "C" __attribute__((visibility("default"), used)) const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
