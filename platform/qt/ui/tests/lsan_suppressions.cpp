// Fontconfig keeps the font patterns that Qt's font database asked for until the process ends;
// the leak checker would report them after every test that draws text.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
