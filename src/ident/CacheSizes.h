#pragma once

#include <cstdint>

namespace veltrane::ident {

class ProcessorIdentity;

struct CacheSizes {
    std::int32_t l1DataKB = 0;
    std::int32_t l1CodeKB = 0;
    std::int32_t l2KB = 0;
};

// The sizes the identity keeps, read from its processor's cache leaves. An
// AMD processor without leaf 0x80000006 has l2KB -1. Leaf 2 is read at fixed
// bytes of EDX, and a descriptor its short list does not know stays as its
// raw value. A unified first level counts as both data and code.
CacheSizes cacheSizes(const ProcessorIdentity& identity);

}  // namespace veltrane::ident
