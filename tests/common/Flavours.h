// The machines a contract test runs against: the simulated one everywhere, the real one in
// the Windows build. Each test file defines its own environment types over an Env base.
#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <type_traits>
#include <vector>

template <class Env>
struct TFlavour {
    std::string Name;
    std::function<std::unique_ptr<Env>()> Make;
    friend void PrintTo(const TFlavour& f, std::ostream* out) { *out << f.Name; }
};

// Sim always; Win only where it is a real type (the Windows build), else void.
template <class Env, class Sim, class Win = void>
std::vector<TFlavour<Env>> FlavoursOf() {
    std::vector<TFlavour<Env>> all{{"Sim", [] { return std::unique_ptr<Env>(new Sim); }}};
    if constexpr (!std::is_void_v<Win>) all.push_back({"Win32", [] { return std::unique_ptr<Env>(new Win); }});
    return all;
}
