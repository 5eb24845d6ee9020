#pragma once
// The parameter block as the JSON that a technician backs up, edits and restores.
#include "ParameterBlock.h"

#include <nlohmann/json.hpp>

#include <string>

namespace tensiq::cli {

nlohmann::ordered_json BlockToJson(const ParameterBlock& block);

// Overlays the fields named in json on block. Keys left out keep the block's value; reserved,
// deviceData and checksum are never taken. False with a message naming the field for an
// unknown key, a value that is not a whole number or one outside the device's range; the
// block is then unchanged.
bool OverlayJson(const nlohmann::json& json, ParameterBlock& block, std::string& error);

// The block as a table for people.
std::string BlockToTable(const ParameterBlock& block);

} // namespace tensiq::cli
