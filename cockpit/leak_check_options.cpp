// Options for the leak checker in sanitized builds. The host program's font, window and desktop
// libraries (fontconfig, SDL, X11) keep caches for the life of the process, some of them in
// libraries that are unloaded before the check runs, so they cannot be told apart from real
// leaks by name. The module, the bridge and the browser are leak-checked by their own tests.
extern "C" const char* __lsan_default_options() { return "detect_leaks=0"; }
