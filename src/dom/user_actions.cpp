// user_actions: implemented with the interaction part of the document model.
#include "dom/user_actions.h"
