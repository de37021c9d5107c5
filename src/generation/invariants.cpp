#include "generation/invariants.h"

#include <utility>

namespace {
std::vector<std::string> Broken;
}

void Invariant_Broken(std::string what) { Broken.push_back(std::move(what)); }

std::vector<std::string> Take_Broken_Invariants() { return std::exchange(Broken, {}); }
