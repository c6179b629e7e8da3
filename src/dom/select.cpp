#include "dom/element.h"
