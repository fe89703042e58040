// A shared library that exports no pane factory.
extern "C" __attribute__((visibility("default"))) int kzSomethingElse() { return 1; }
