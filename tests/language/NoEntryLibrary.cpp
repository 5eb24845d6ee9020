// A loadable library that is not a language library: it exports no resource module.

extern "C" __attribute__((visibility("default"))) int tensiq_something_else() {
    return 1;
}
