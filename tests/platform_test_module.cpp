// A tiny resource module for the module tests: two strings.
extern "C" __attribute__((visibility("default"))) const char16_t* kxtResourceString(unsigned id) {
    switch (id) {
        case 101: return u"Milled";
        case 32965: return u"Material Cost \u00C9";
        default: return nullptr;
    }
}
