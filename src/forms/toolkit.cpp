#include "forms/toolkit.h"

#include <algorithm>

namespace tw::forms {

void Toolkit::formUnloaded(Form& form) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), &form), forms_.end());
}

}  // namespace tw::forms
