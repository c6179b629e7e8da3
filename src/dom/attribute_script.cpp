// attribute_script: implemented with the interaction part of the document model.
#include "dom/attribute_script.h"
