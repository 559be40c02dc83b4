// Reads a parameter's value from the device image by its encoding. Sub and
// centre values (blocks 7 and 8) come from the copy in use: the rear copy
// while rear routing is on.
#pragma once

#include "state/ParameterTable.h"

namespace sonoria {

// The value the parameter's bytes carry under its encoding.
int ReadParam(const ParamInfo& param);

// (first << 8) | second.
int ReadParamW15(int block, int index);
// The first byte.
int ReadParamS7(int block, int index);
// The second byte.
int ReadParamB2(int block, int index);
inline int ReadParamB2(ParamAddress at) { return ReadParamB2(at.block, at.index); }

// Microphone parametric bands by number 0..3 (bands 0 and 1 live in block 1,
// 2 and 3 in block 2). 0 for any other band number.
int MicBandGain(int band);
int MicBandQ(int band);
int MicBandFreq(int band);

}  // namespace sonoria
