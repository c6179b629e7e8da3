#include "dom/document.h"
