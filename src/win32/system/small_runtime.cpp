// Typewell.exe links the C++ runtime statically; a few of its parts that only report a broken
// invariant would make the program a third larger, and are replaced here (in the exe alone).
//
// The default handler of an escaped exception prints its type's demangled name, and the
// demangler alone is a sixth of the program. Window procedures catch everything at their edge,
// so it only runs on a broken invariant, where ending at once is all there is to do.
//
// The containers report a broken precondition (an index out of range, a size beyond any memory)
// by throwing exceptions that carry a message in a string type of their own, whose code is more
// than a quarter of the program. Typewell checks its indexes itself and catches none of these:
// they end the program at once, as an escaped exception would. Running out of memory still
// throws std::bad_alloc.
#include <cstdlib>
#include <new>

namespace __gnu_cxx {
void __verbose_terminate_handler() {
  std::abort();
}
}  // namespace __gnu_cxx

namespace std {
void __throw_bad_alloc() {
  throw bad_alloc();
}
void __throw_bad_array_new_length() {
  throw bad_alloc();
}
void __throw_bad_cast() {
  abort();
}
void __throw_bad_typeid() {
  abort();
}
void __throw_bad_exception() {
  abort();
}
void __throw_bad_function_call() {
  abort();
}
void __throw_logic_error(const char*) {
  abort();
}
void __throw_domain_error(const char*) {
  abort();
}
void __throw_invalid_argument(const char*) {
  abort();
}
void __throw_length_error(const char*) {
  abort();
}
void __throw_out_of_range(const char*) {
  abort();
}
void __throw_out_of_range_fmt(const char*, ...) {
  abort();
}
void __throw_runtime_error(const char*) {
  abort();
}
void __throw_range_error(const char*) {
  abort();
}
void __throw_overflow_error(const char*) {
  abort();
}
void __throw_underflow_error(const char*) {
  abort();
}
}  // namespace std
