#pragma once
// The register map window's tree: 18 groups, each a key, a caption and the names of its
// registers in the order shown. Every record of RegisterTable stands under exactly one group;
// a register that has an alias record therefore appears twice, once under each name.

#include <string_view>
#include <vector>

namespace RegMapStuff {

struct RegisterGroup {
    std::string_view key;
    std::string_view text;
    std::vector<std::string_view> names;
};

const std::vector<RegisterGroup>& RegisterTreeGroups();

}  // namespace RegMapStuff
