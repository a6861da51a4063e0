#include "core/finestra.h"
