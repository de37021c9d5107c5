// A VTP2 polygon's texture choice found in, or added to, the writer's list of texture sets.
#include "generation/vtp2_groups.h"

namespace {

constexpr int32_t Texture_List_Growth = 3;

bool Has_Names(int16_t kind) { return kind != Texture_Kind_Land_Class && kind != Texture_Kind_Type; }

}  // namespace

std::string API_Join_Texture_Names(const std::array<std::string, 6>& names) {
    if (names[0].empty()) return Default_Vtp2_Texture;
    std::string joined = names[0];
    size_t i = 0;
    while (true) {
        size_t j = i + 1;
        while (j < names.size() && names[j].empty()) ++j;
        if (j >= names.size()) break;
        for (size_t gap = i + 1; gap < j; ++gap) joined += ";" + names[i];
        joined += ";" + names[j];
        i = j;
    }
    return joined;
}

void API_Find_Texture_Set(const Texture_Set_Candidate& candidate, Vb_Array<Texture_Set_Rec>& list,
                          int32_t& count, int32_t& capacity, int32_t& result) {
    Texture_Set_Rec wanted{candidate.Kind, candidate.Code,
                           Has_Names(candidate.Kind) ? API_Join_Texture_Names(candidate.Names) : std::string(),
                           candidate.Size};
    for (int32_t k = 1; k <= count; ++k) {
        if (list(k) == wanted) {
            result = k;
            return;
        }
    }
    if (count >= capacity) {
        capacity = count + Texture_List_Growth;
        list.ReDim_Preserve(capacity);
    }
    list(++count) = std::move(wanted);
    result = count;
}
