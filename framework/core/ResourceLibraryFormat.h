#pragma once
// What the resource library exports: one C function that returns its whole resource set in the
// compiled form of ResourceBinary.h. Plain C layout, so the library needs nothing of ours at run
// time and the program finds the symbol with dlsym.
#include <cstddef>

extern "C" {

struct KeloResourceBlob {
    unsigned version; // kKeloResourceFormatVersion of the compiler that wrote it
    const unsigned char* data;
    std::size_t size;
};

typedef const KeloResourceBlob* (*KeloResourceSetFunction)(void);
}

inline constexpr unsigned kKeloResourceFormatVersion = 1;
inline constexpr const char* kKeloResourceSetSymbol = "kelo_resource_set";
