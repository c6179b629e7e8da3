#include "dom/mutation.h"
