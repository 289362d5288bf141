// Fontconfig and pango keep their font caches until the process ends and never free them; the leak
// checker would report them at every exit of a program that drew text. Programs that draw and run
// under the leak checker (the tests) link this in.
extern "C" __attribute__((visibility("default"), used)) const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\nleak:libpango-1.0.so\nleak:libpangoft2-1.0.so\nleak:libcairo.so\n";
}
