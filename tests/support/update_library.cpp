// A shared library of this machine, for the update tests to offer as the new version: it loads,
// but nothing in it starts a program.

extern "C" int kestrova_update_library_version() {
    return 32;
}
