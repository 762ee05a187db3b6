#include "platform/registry.h"

namespace platform {

KeyDeletionCall ChooseKeyDeletionCall(RegistryView view, bool has_delete_key_ex) {
  if (view == RegistryView::kDefault || !has_delete_key_ex) return KeyDeletionCall::kPlain;
  return KeyDeletionCall::kWithView;
}

}  // namespace platform
