// A tiny module for the loader tests: one export, everything else hidden.
extern "C" __attribute__((visibility("default"))) int SampleAnswer() { return 42; }
