#pragma once

#include <functional>
#include <string>

namespace kz {

class Control;

// Target–action: the selector's name is kept because behaviour compares it
// (a host button found by its action), the handler is what runs.
struct Action {
    std::string selector;
    std::function<void(Control&)> handler;

    bool empty() const { return selector.empty() && !handler; }
};

}  // namespace kz
