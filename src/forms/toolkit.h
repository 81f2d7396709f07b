// The toolkit: the backend in use and the collection of loaded forms.
#pragma once

#include <vector>

#include "forms/backend.h"
#include "forms/form.h"

namespace tw::forms {

class Toolkit {
 public:
  explicit Toolkit(Backend& backend) : backend_(backend) {}
  Toolkit(const Toolkit&) = delete;
  Toolkit& operator=(const Toolkit&) = delete;

  Backend& backend() const { return backend_; }

  // Loaded forms in the order of loading; each has its window handle.
  int formCount() const { return static_cast<int>(forms_.size()); }
  Form& formAt(int position) const { return *forms_.at(position); }

  double twipsPerPixelX() const { return backend_.twipsPerPixelX(); }
  double twipsPerPixelY() const { return backend_.twipsPerPixelY(); }
  Twips screenWidth() const { return backend_.screenWidth(); }
  Twips screenHeight() const { return backend_.screenHeight(); }

  // Called by Form.
  void formLoaded(Form& form) { forms_.push_back(&form); }
  void formUnloaded(Form& form);

 private:
  Backend& backend_;
  std::vector<Form*> forms_;
};

}  // namespace tw::forms
