// The standard library's error paths, without their messages.
//
// The C++ runtime raises its errors (a vector grown past its limit, a string
// index out of range) through these functions. Its own versions build the
// exceptions with message strings, and pulling them in links the whole
// narrow, wide and old-ABI string machinery into the library: about a quarter
// of its size, in a file mapped into every process. Nothing here ever reads
// an exception's message: every callback of the library catches all and
// falls back silently. So the same failures raise message-free exceptions.
// Should the runtime need one of its versions after all, the link fails on a
// duplicate symbol instead of quietly growing the library again.
#include <bits/functexcept.h>

#include <exception>
#include <new>
#include <string>
#include <typeinfo>

namespace std {

void __throw_bad_exception() { throw bad_exception(); }
void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_alloc(); }
void __throw_bad_cast() { throw bad_cast(); }
void __throw_bad_typeid() { throw bad_typeid(); }
void __throw_logic_error(const char*) { throw bad_exception(); }
void __throw_domain_error(const char*) { throw bad_exception(); }
void __throw_invalid_argument(const char*) { throw bad_exception(); }
void __throw_length_error(const char*) { throw bad_alloc(); }
void __throw_out_of_range(const char*) { throw bad_exception(); }
void __throw_out_of_range_fmt(const char*, ...) { throw bad_exception(); }
void __throw_runtime_error(const char*) { throw bad_exception(); }
void __throw_range_error(const char*) { throw bad_exception(); }
void __throw_overflow_error(const char*) { throw bad_exception(); }
void __throw_underflow_error(const char*) { throw bad_exception(); }

}  // namespace std

// The wide string's members, instantiated here one function to a section:
// the link keeps those the library calls. The runtime's own instantiation is
// one block of every member, which the first call brings in whole (35 KB on
// i686 with its unwind tables).
template class std::basic_string<wchar_t>;
