#include "state/ParameterTable.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "link/ProtocolLimits.h"
#include "state/ParameterRows.h"

namespace sonoria {
namespace {

using parameter_rows::kParamRows;
using enum Encoding;
constexpr const auto& kParams = kParamRows;

constexpr std::size_t kCount = kParams.size();
constexpr std::int16_t kNoParam = -1;

constexpr bool AddressBefore(ParamAddress a, ParamAddress b) {
    return a.block != b.block ? a.block < b.block : a.index < b.index;
}

static_assert(std::ranges::is_sorted(kParams, AddressBefore, &ParamInfo::address),
              "rows must stay in block and index order");

// Table position of the entry at each (block, index), via its address or twin.
// Claiming a slot twice stops compilation (a throw is not a constant expression).
constexpr auto kSlotOwner = [] {
    std::array<std::array<std::int16_t, kMaxBlockSize>, kLastBlock + 1> grid{};
    for (auto& row : grid) row.fill(kNoParam);
    auto claim = [&grid](ParamAddress at, std::size_t owner) {
        if (!IsParamAddress(at.block, at.index)) throw "address outside its block";
        auto& slot = grid[at.block][at.index];
        if (slot != kNoParam) throw "two parameters at one address";
        slot = static_cast<std::int16_t>(owner);
    };
    for (std::size_t i = 0; i < kCount; ++i) {
        claim(kParams[i].address, i);
        if (kParams[i].twin) claim(*kParams[i].twin, i);
    }
    return grid;
}();

// Table positions ordered by name, for binary search; duplicate names stop compilation.
constexpr auto kByName = [] {
    std::array<std::int16_t, kCount> order{};
    for (std::size_t i = 0; i < kCount; ++i) order[i] = static_cast<std::int16_t>(i);
    std::ranges::sort(order, {}, [](std::int16_t i) { return kParams[i].name; });
    for (std::size_t i = 1; i < kCount; ++i) {
        if (kParams[order[i - 1]].name == kParams[order[i]].name) throw "duplicate parameter name";
    }
    return order;
}();

}  // namespace

std::string_view EncodingName(Encoding encoding) {
    switch (encoding) {
        case S7: return "S7";
        case S7Star: return "S7*";
        case W15: return "W15";
        case B2: return "B2";
        case MTR: return "MTR";
        case RAW: return "RAW";
    }
    return "?";
}

std::span<const ParamInfo> AllParams() { return kParams; }

const ParamInfo* FindParam(std::string_view name) {
    auto it = std::ranges::lower_bound(kByName, name, {}, [](std::int16_t i) { return kParams[i].name; });
    if (it == kByName.end() || kParams[*it].name != name) return nullptr;
    return &kParams[*it];
}

const ParamInfo* ParamAt(int block, int index) {
    if (!IsParamAddress(block, index)) return nullptr;
    const std::int16_t owner = kSlotOwner[block][index];
    return owner == kNoParam ? nullptr : &kParams[owner];
}

int DecodeValue(Encoding encoding, std::uint8_t first, std::uint8_t second) {
    switch (encoding) {
        case S7:
        case S7Star: return first;
        case B2:
        case MTR: return second;
        case W15:
        case RAW: break;
    }
    return (first << 8) | second;
}

}  // namespace sonoria
