#include "dom/style.h"
