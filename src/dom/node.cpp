#include "dom/node.h"
