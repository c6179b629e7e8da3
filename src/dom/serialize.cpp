#include "dom/serialize.h"
