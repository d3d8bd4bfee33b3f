#pragma once
// Symbol visibility. Everything builds with hidden visibility so that each shared library keeps
// its own process-wide state; what must be shared across library boundaries is marked here.
//
// ORVEX_EXPORT marks a library's factory function. ORVEX_INTERFACE marks an abstract interface
// class (and exception classes) so that its type information is one across the process and
// dynamic_pointer_cast and catch work across libraries.

#define ORVEX_EXPORT __attribute__((visibility("default")))
#define ORVEX_INTERFACE __attribute__((visibility("default")))
