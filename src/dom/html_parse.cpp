#include "dom/html_parse.h"
