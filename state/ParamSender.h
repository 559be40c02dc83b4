// The one routine every parameter change goes through: store the new raw
// value in the image under the parameter's encoding, then send it to the
// device with command 9 (unless the device is in its upgrade mode).
#pragma once

#include <span>
#include <string_view>

// EditGroup: the sends of one user edit, kept and sent whole while the device is busy.
#include "link/EditLane.h"
#include "state/ParameterTable.h"

namespace sonoria {

// Stores and sends one address. Blocks 7 and 8 use the active copy.
void SendEncoded(ParamAddress address, Encoding encoding, int value);

// Stores and sends a parameter: its address, then its twin if it has one.
void SendParam(const ParamInfo& param, int value);

// The parameter of that name; the name must be in the table (a programming
// error otherwise, caught by the tests of every sender).
const ParamInfo& RequireParam(std::string_view name);

// Band-indexed senders: the k-th name of the list, nothing for another k.
void SendBand(std::span<const std::string_view> names, int band, int value);

// Sends what the image holds for an S7 value (first byte), the way its sender would.
void ResendS7(int block, int index);
inline void ResendS7(ParamAddress at) { ResendS7(at.block, at.index); }

// Sends two raw bytes to an address without storing them.
void SendRawBytes(int block, int index, int first, int second);
inline void SendRawBytes(ParamAddress at, int first, int second) { SendRawBytes(at.block, at.index, first, second); }

}  // namespace sonoria
