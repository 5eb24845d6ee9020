#pragma once
// The parameter block as the JSON that a technician backs up, edits and restores.
#include "ParameterBlock.h"

#include <nlohmann/json.hpp>

#include <string>

namespace tensiq::cli {

nlohmann::ordered_json BlockToJson(const ParameterBlock& block);

// Checks a file without a device: one object, known keys, whole numbers that fit their field.
// False with a message naming the field.
bool CheckJson(const nlohmann::json& json, std::string& error);

// Overlays the fields named in json on the device's block. Keys left out keep the block's
// value; reserved, deviceData and checksum are never taken. A value equal to the block's
// passes as it is; a changed one must lie in the device's range. False with a message naming
// the field; the block is then unchanged.
bool OverlayJson(const nlohmann::json& json, ParameterBlock& block, std::string& error);

// The block as a table for people.
std::string BlockToTable(const ParameterBlock& block);

} // namespace tensiq::cli
