// events: implemented with the interaction part of the document model.
#include "dom/events.h"
