#pragma once

namespace ornet5 {

// One visitor made of several lambdas, one per alternative of a variant:
// std::visit(TOverloaded{[](const A&) {...}, [](const B&) {...}}, value).
template <class... TCases>
struct TOverloaded : TCases... {
    using TCases::operator()...;
};
// Spelled out for the compilers that do not yet deduce an aggregate's
// arguments from its bases.
template <class... TCases>
TOverloaded(TCases...) -> TOverloaded<TCases...>;

}  // namespace ornet5
