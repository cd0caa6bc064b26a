// Small MDX models built in the tests themselves: one with every chunk kind
// for round trips, and a few rigs for animation cases.
#pragma once

#include "assets/FStructure.h"

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

// A model that fills every chunk and field the loader reads with distinct values.
MdxModel everyChunkModel();

// Writes `model` to `path` (creating its folders).
void writeModel(const std::string& path, const MdxModel& model);

// Linear track helpers.
template <typename V>
TTransformation<V> track(int type, std::vector<std::pair<int, V>> keys)
{
    TTransformation<V> t;
    t.interpolationType = type;
    for (auto& [time, value] : keys) {
        TKey<V> k;
        k.time = time;
        k.value = value;
        t.keys.push_back(k);
    }
    return t;
}

// A geoset of one triangle per vertex triple, every vertex bound to `objectId`.
GeosetChunk boundGeoset(const std::vector<TVec3>& vertices, int objectId, int materialId = 0);

}  // namespace testing_support
