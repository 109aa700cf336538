// Sanitizer settings baked into the test programs, so that running one by hand behaves like
// the CTest run: stop at the first error, report leaks, check string functions strictly.
// Only the sanitizer runtimes call these; in an uninstrumented build they are unused.
extern "C" const char *__asan_default_options(void)
{
    return "halt_on_error=1:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1";
}

extern "C" const char *__ubsan_default_options(void)
{
    return "halt_on_error=1:print_stacktrace=1";
}
