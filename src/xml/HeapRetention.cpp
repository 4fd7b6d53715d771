#include "xml/HeapRetention.h"

#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

namespace sorvanta::xml {

void retainFreedMemory() {
#if defined(M_MMAP_THRESHOLD) && defined(M_TRIM_THRESHOLD)
  mallopt(M_MMAP_THRESHOLD, 256 << 20);
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
#endif
}

}  // namespace sorvanta::xml
