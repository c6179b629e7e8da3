#include "dom/mutation.h"

namespace cn::dom {

const char* MutationKindName(MutationKind kind) {
  switch (kind) {
    case MutationKind::kInsert: return "insert";
    case MutationKind::kRemove: return "remove";
    case MutationKind::kContentSet: return "content";
    case MutationKind::kProperty: return "property";
    case MutationKind::kAttribute: return "attribute";
    case MutationKind::kAttributeRemoved: return "attribute-removed";
    case MutationKind::kStyle: return "style";
    case MutationKind::kText: return "text";
    case MutationKind::kFocus: return "focus";
    case MutationKind::kSelect: return "select";
    case MutationKind::kScrollIntoView: return "scroll-into-view";
    case MutationKind::kBehaviorAdded: return "behavior-added";
    case MutationKind::kBehaviorRemoved: return "behavior-removed";
    case MutationKind::kStatus: return "status";
  }
  return "?";
}

}  // namespace cn::dom
