#include "dom/window.h"
