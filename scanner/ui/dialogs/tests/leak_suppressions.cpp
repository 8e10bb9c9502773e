// Leak-checker suppressions for the offscreen window tests.

// The font library keeps a cache the leak checker cannot see freed; the
// sanitizer build reads these suppressions (ignored elsewhere).
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
