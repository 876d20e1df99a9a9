// A shared library that loads fine but does not offer the skin engine's function.

extern "C" __attribute__((visibility("default"))) int SkinProbeAnswer() { return 42; }
