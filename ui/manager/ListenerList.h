#pragma once

#include <functional>
#include <utility>
#include <vector>

namespace Vellum {

// An ordered list of callbacks. Running it calls them in order and yields false as soon as one
// returns false; true otherwise, also when the list is empty.
template <typename Arg>
class ListenerList {
 public:
  using Listener = std::function<bool(Arg)>;

  void Add(Listener listener) { listeners_.push_back(std::move(listener)); }
  bool empty() const { return listeners_.empty(); }
  bool Run(Arg arg) const {
    for (const Listener& listener : listeners_) {
      if (!listener(arg)) return false;
    }
    return true;
  }

 private:
  std::vector<Listener> listeners_;
};

}  // namespace Vellum
