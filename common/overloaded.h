#pragma once

namespace ornet5 {

// One visitor made of several lambdas, one per alternative of a variant:
// std::visit(TOverloaded{[](const A&) {...}, [](const B&) {...}}, value).
template <class... TCases>
struct TOverloaded : TCases... {
    using TCases::operator()...;
};

}  // namespace ornet5
