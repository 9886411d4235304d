// Linked into the test programs of a sanitized build. Some tests ask on purpose for pictures
// that memory cannot hold: the allocator answers null, as the normal one would.
extern "C" const char* __asan_default_options() {
    return "allocator_may_return_null=1";
}
