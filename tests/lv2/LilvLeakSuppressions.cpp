// lilv keeps a node it duplicates while instantiating a plug-in until the
// process ends; the allocation is the library's, not the plug-in's, and does
// not grow with the number of instances.
extern "C" __attribute__((visibility("default"), used)) const char* __lsan_default_suppressions()
{
    return "leak:liblilv-0.so\n";
}
