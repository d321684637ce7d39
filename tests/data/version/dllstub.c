/* A library with one export and no C runtime. */
int __stdcall DllEntry(void* module, unsigned long reason, void* reserved)
{
    (void)module; (void)reason; (void)reserved;
    return 1;
}
__declspec(dllexport) int Answer(void) { return 42; }
