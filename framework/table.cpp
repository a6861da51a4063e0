#include "framework/table.h"

namespace fw::detail {

void throwOutOfBounds(const char* table, long long index, long long upper) {
  throw OutOfBoundsException("Indice " + std::to_string(index) + " fuori dalla tabella " + table +
                             " (limite " + std::to_string(upper) + ")");
}

}  // namespace fw::detail
